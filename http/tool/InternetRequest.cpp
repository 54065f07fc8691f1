#include "http/tool/InternetRequest.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <string>

#include "http/stdafx.h"
#include "http/tool/ContentLength.h"

namespace {

constexpr char kErrorModule[] = "wininet.dll";
// Longest header value read; longer ones are treated as absent.
constexpr DWORD kMaxHeaderChars = 8192;

// RELOAD | SECURE | KEEP_CONNECTION | NO_COOKIES | NO_AUTH | IGNORE_REDIRECT_TO_HTTP | NO_UI.
constexpr DWORD kRequestFlags = 0x80CC8200;
static_assert(kRequestFlags ==
                  (INTERNET_FLAG_RELOAD | INTERNET_FLAG_SECURE | INTERNET_FLAG_KEEP_CONNECTION |
                   INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH |
                   INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP | INTERNET_FLAG_NO_UI),
              "request flags");

}  // namespace

void InternetHandleTraits::Close(Type handle) {
    ::InternetCloseHandle(handle);
}

CInternetRequest::~CInternetRequest() {
    CloseHandles();
}

void CInternetRequest::CloseHandles() {
    request_.reset();
    connection_.reset();
    session_.reset();
}

bool CInternetRequest::OpenSession() {
    const DWORD access = IsUseProxyConnect() ? INTERNET_OPEN_TYPE_PRECONFIG
                                             : INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
    session_.reset(::InternetOpenW(L"", access, nullptr, nullptr, 0));
    if (!session_) {
        ShowApiError("InternetOpen", ::GetLastError(), kErrorModule,
                     "CInternetRequest::OpenSession");
        return false;
    }
    return true;
}

bool CInternetRequest::ConnectSession(bool /*secure*/) {
    connection_.reset(::InternetConnectW(session_.get(), host_.c_str(), INTERNET_DEFAULT_HTTPS_PORT,
                                         nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection_) {
        ShowApiError("InternetConnect", ::GetLastError(), kErrorModule,
                     "CInternetRequest::ConnectSession");
        return false;
    }
    return true;
}

bool CInternetRequest::OpenRequest(bool /*secure*/) {
    LPCWSTR acceptTypes[] = {L"*/*", nullptr};
    request_.reset(::HttpOpenRequestW(connection_.get(), verb_.c_str(), objectPath_.c_str(),
                                      L"HTTP/1.1", nullptr, acceptTypes, kRequestFlags, 0));
    if (!request_) {
        ShowApiError("HttpOpenRequest", ::GetLastError(), kErrorModule,
                     "CInternetRequest::OpenRequest");
        return false;
    }
    // A silent connection must end the request rather than hold its thread for ever.
    DWORD timeout = receiveTimeoutMs_;
    for (DWORD option : {INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
        if (!::InternetSetOptionW(request_.get(), option, &timeout, sizeof(timeout))) {
            ShowApiError("InternetSetOption", ::GetLastError(), kErrorModule,
                         "CInternetRequest::OpenRequest");
            return false;
        }
    }
    return true;
}

bool CInternetRequest::SendRequest() {
    if (!extraHeaders_.empty() &&
        !::HttpAddRequestHeadersW(request_.get(), extraHeaders_.c_str(), static_cast<DWORD>(-1),
                                  HTTP_ADDREQ_FLAG_ADD)) {
        ShowApiError("\"HttpAddRequestHeaders\"", ::GetLastError(), kErrorModule,
                     "CInternetRequest::SendRequest");
        return false;
    }
    if (!::HttpSendRequestW(request_.get(), nullptr, 0, nullptr, 0)) {
        ShowApiError("HttpSendRequest", ::GetLastError(), kErrorModule,
                     "CInternetRequest::SendRequest");
        return false;
    }
    return true;
}

bool CInternetRequest::GetUrlFileSize(int64_t& size) {
    if (!request_) {
        return false;
    }
    wchar_t text[260] = {};  // 520 bytes
    DWORD bytes = sizeof(text);
    if (!::HttpQueryInfoW(request_.get(), HTTP_QUERY_CONTENT_LENGTH, text, &bytes, nullptr)) {
        ShowApiError("HttpQueryInfo", ::GetLastError(), kErrorModule,
                     "CInternetRequest::GetUrlFileSize");
        return false;
    }
    return ParseContentLength(text, size);
}

int CInternetRequest::GetStatusCode() {
    if (!request_) {
        return 0;
    }
    DWORD status = 0;
    DWORD bytes = sizeof(status);
    if (!::HttpQueryInfoW(request_.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                          &bytes, nullptr)) {
        return 0;
    }
    return static_cast<int>(status);
}

bool CInternetRequest::QueryHeader(const wchar_t* name, std::string& value) {
    value.clear();
    if (!request_) {
        return false;
    }
    // The buffer carries the header's name in and its value out.
    std::wstring text(name);
    if (text.size() >= kMaxHeaderChars) {
        return false;
    }
    text.resize(kMaxHeaderChars, L'\0');
    DWORD bytes = kMaxHeaderChars * sizeof(wchar_t);
    // An absent header is an answer, not a failure: nothing is logged.
    if (!::HttpQueryInfoW(request_.get(), HTTP_QUERY_CUSTOM, &text[0], &bytes, nullptr)) {
        return false;
    }
    value =
        NarrowHeaderValue(text.data(), std::min<DWORD>(bytes / sizeof(wchar_t), kMaxHeaderChars));
    return true;
}

int CInternetRequest::HttpRead(void* buffer, int capacity) {
    DWORD read = 0;
    if (!::InternetReadFile(request_.get(), buffer, static_cast<DWORD>(capacity), &read)) {
        ShowApiError("InternetReadFile", ::GetLastError(), kErrorModule,
                     "CInternetRequest::HttpRead");
        return -1;
    }
    return static_cast<int>(read);
}
