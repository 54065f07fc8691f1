#include "Window/RedirectQuery.h"

#include <windows.h>
#include <winhttp.h>

#include <cwchar>
#include <cwctype>
#include <vector>

#include "common/Log.h"
#include "http/tool/WinHttpRequest.h"

namespace {

constexpr int kRedirectFound = 302;

// A response header as text; false when the response has no such header.
bool QueryHeader(HINTERNET request, DWORD query, std::wstring& value) {
    DWORD bytes = 0;
    ::WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                          &bytes, WINHTTP_NO_HEADER_INDEX);
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0) {
        return false;
    }
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    if (!::WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, buffer.data(), &bytes,
                               WINHTTP_NO_HEADER_INDEX)) {
        return false;
    }
    value.assign(buffer.data(), bytes / sizeof(wchar_t));
    return true;
}

int QueryStatusCode(HINTERNET request) {
    std::wstring text;
    return QueryHeader(request, WINHTTP_QUERY_STATUS_CODE, text)
               ? std::wcstol(text.c_str(), nullptr, 10)
               : 0;
}

// True when |location| starts with "<scheme>://".
bool HasScheme(const std::wstring& location) {
    const size_t end = location.find(L"://");
    if (end == 0 || end == std::wstring::npos) {
        return false;
    }
    for (size_t i = 0; i < end; ++i) {
        const wchar_t c = location[i];
        if (!std::iswalnum(c) && c != L'+' && c != L'-' && c != L'.') {
            return false;
        }
    }
    return true;
}

// The address a non-empty location names, seen from "http://<host>/<path>".
std::wstring ResolveLocation(const std::wstring& host, const std::wstring& path,
                             const std::wstring& location) {
    if (HasScheme(location)) {
        return location;
    }
    if (location.compare(0, 2, L"//") == 0) {
        return L"http:" + location;
    }
    const std::wstring origin = L"http://" + host;
    if (location[0] == L'/') {
        return origin + location;
    }
    // Relative to the folder of the requested path (without its query).
    const std::wstring resource = path.substr(0, path.find(L'?'));
    const size_t slash = resource.rfind(L'/');
    return origin + (slash == std::wstring::npos ? L"/" : resource.substr(0, slash + 1)) + location;
}

}  // namespace

bool GetRedirectUrl(const std::wstring& host, const std::wstring& path, std::wstring& url) {
    UniqueWinHttpHandle session(::WinHttpOpen(nullptr, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                              WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) {
        return false;
    }
    // The answer itself is wanted, not the file it points to.
    DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    if (!::WinHttpSetOption(session.get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy,
                            sizeof(policy))) {
        return false;
    }
    // Always plain HTTP on port 80, whatever scheme the configured address had.
    UniqueWinHttpHandle connection(
        ::WinHttpConnect(session.get(), host.c_str(), INTERNET_DEFAULT_HTTP_PORT, 0));
    if (!connection) {
        return false;
    }
    const std::wstring object = (!path.empty() && path[0] == L'/') ? path : L"/" + path;
    UniqueWinHttpHandle request(::WinHttpOpenRequest(connection.get(), L"GET", object.c_str(),
                                                     nullptr, WINHTTP_NO_REFERER,
                                                     WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
    if (!request) {
        return false;
    }
    if (!::WinHttpSendRequest(request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                              WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
        return false;
    }
    if (!::WinHttpReceiveResponse(request.get(), nullptr)) {
        TLOG("GetRedirectUrl", "Error %d has occurred.\n", static_cast<int>(::GetLastError()));
        return true;
    }
    if (QueryStatusCode(request.get()) != kRedirectFound) {
        return false;
    }
    std::wstring location;
    if (!QueryHeader(request.get(), WINHTTP_QUERY_LOCATION, location) || location.empty()) {
        return false;
    }
    url = ResolveLocation(host, object, location);
    return true;
}
