#include "http/tool/WinHttpRequest.h"

#include <windows.h>
#include <winhttp.h>

#include <algorithm>
#include <string>

#include "http/stdafx.h"
#include "http/tool/ContentLength.h"

namespace {

constexpr char kErrorModule[] = "wininet.dll";
// Longest header value read; longer ones are treated as absent.
constexpr DWORD kMaxHeaderChars = 8192;
// The platform's defaults for the other steps: no limit on name resolution, 60 s to connect,
// 30 s to send.
constexpr int kResolveTimeoutMs = 0;
constexpr int kConnectTimeoutMs = 60000;
constexpr int kSendTimeoutMs = 30000;

}  // namespace

void WinHttpHandleTraits::Close(Type handle) {
    ::WinHttpCloseHandle(handle);
}

CWinHttpRequest::~CWinHttpRequest() {
    CloseHandles();
}

void CWinHttpRequest::CloseHandles() {
    request_.reset();
    connection_.reset();
    session_.reset();
}

bool CWinHttpRequest::OpenSession() {
    const DWORD access =
        IsUseProxyConnect() ? WINHTTP_ACCESS_TYPE_DEFAULT_PROXY : WINHTTP_ACCESS_TYPE_NO_PROXY;
    session_.reset(
        ::WinHttpOpen(nullptr, access, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session_) {
        ShowApiError("WinHttpOpen", ::GetLastError(), kErrorModule, "CWinHttpRequest::OpenSession");
        return false;
    }
    // A silent connection must end the request rather than hold its thread for ever.
    if (!::WinHttpSetTimeouts(session_.get(), kResolveTimeoutMs, kConnectTimeoutMs, kSendTimeoutMs,
                              static_cast<int>(receiveTimeoutMs_))) {
        ShowApiError("WinHttpSetTimeouts", ::GetLastError(), kErrorModule,
                     "CWinHttpRequest::OpenSession");
        return false;
    }
    return true;
}

bool CWinHttpRequest::ConnectSession(bool secure) {
    const INTERNET_PORT port = secure ? INTERNET_DEFAULT_HTTPS_PORT : INTERNET_DEFAULT_HTTP_PORT;
    connection_.reset(::WinHttpConnect(session_.get(), host_.c_str(), port, 0));
    if (!connection_) {
        ShowApiError("WinHttpConnect", ::GetLastError(), kErrorModule,
                     "CWinHttpRequest::ConnectSession");
        return false;
    }
    return true;
}

bool CWinHttpRequest::OpenRequest(bool secure) {
    LPCWSTR acceptTypes[] = {L"*/*", nullptr};
    const DWORD flags =
        secure ? (WINHTTP_FLAG_SECURE | WINHTTP_FLAG_REFRESH) : WINHTTP_FLAG_REFRESH;
    request_.reset(::WinHttpOpenRequest(connection_.get(), verb_.c_str(), objectPath_.c_str(),
                                        L"HTTP/1.1", WINHTTP_NO_REFERER, acceptTypes, flags));
    if (!request_) {
        ShowApiError("WinHttpOpenRequest", ::GetLastError(), kErrorModule,
                     "CWinHttpRequest::OpenRequest");
        return false;
    }
    // Waiting for the response header has a limit of its own (90 s by default).
    DWORD timeout = receiveTimeoutMs_;
    if (!::WinHttpSetOption(request_.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &timeout,
                            sizeof(timeout))) {
        ShowApiError("WinHttpSetOption", ::GetLastError(), kErrorModule,
                     "CWinHttpRequest::OpenRequest");
        return false;
    }
    return true;
}

bool CWinHttpRequest::SendRequest() {
    if (!extraHeaders_.empty() &&
        !::WinHttpAddRequestHeaders(request_.get(), extraHeaders_.c_str(), static_cast<DWORD>(-1),
                                    WINHTTP_ADDREQ_FLAG_ADD)) {
        ShowApiError("WinHttpAddRequestHeaders", ::GetLastError(), kErrorModule,
                     "CWinHttpRequest::SendRequest");
        return false;
    }
    if (!::WinHttpSendRequest(request_.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0,
                              WINHTTP_NO_REQUEST_DATA, 0, 0, 0)) {
        ShowApiError("WinHttpSendRequest", ::GetLastError(), kErrorModule,
                     "CWinHttpRequest::SendRequest");
        return false;
    }
    if (!::WinHttpReceiveResponse(request_.get(), nullptr)) {
        ShowApiError("WinHttpReceiveResponse", ::GetLastError(), kErrorModule,
                     "CWinHttpRequest::SendRequest");
        return false;
    }
    return true;
}

bool CWinHttpRequest::GetUrlFileSize(int64_t& size) {
    if (!request_) {
        return false;
    }
    // Read as text rather than WINHTTP_QUERY_FLAG_NUMBER, whose 32 bits cannot hold a length
    // beyond 4 GiB.
    wchar_t text[260] = {};
    DWORD bytes = sizeof(text);
    if (!::WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_CONTENT_LENGTH,
                               WINHTTP_HEADER_NAME_BY_INDEX, text, &bytes,
                               WINHTTP_NO_HEADER_INDEX)) {
        ShowApiError("WinHttpQueryHeaders", ::GetLastError(), kErrorModule,
                     "CWinHttpRequest::GetUrlFileSize");
        return false;
    }
    return ParseContentLength(text, size);
}

int CWinHttpRequest::GetStatusCode() {
    if (!request_) {
        return 0;
    }
    DWORD status = 0;
    DWORD bytes = sizeof(status);
    if (!::WinHttpQueryHeaders(
            request_.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
            WINHTTP_HEADER_NAME_BY_INDEX, &status, &bytes, WINHTTP_NO_HEADER_INDEX)) {
        return 0;
    }
    return static_cast<int>(status);
}

bool CWinHttpRequest::QueryHeader(const wchar_t* name, std::string& value) {
    value.clear();
    if (!request_) {
        return false;
    }
    std::wstring text(kMaxHeaderChars, L'\0');
    DWORD bytes = kMaxHeaderChars * sizeof(wchar_t);
    // An absent header is an answer, not a failure: nothing is logged.
    if (!::WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_CUSTOM, name, &text[0], &bytes,
                               WINHTTP_NO_HEADER_INDEX)) {
        return false;
    }
    value =
        NarrowHeaderValue(text.data(), std::min<DWORD>(bytes / sizeof(wchar_t), kMaxHeaderChars));
    return true;
}

int CWinHttpRequest::HttpRead(void* buffer, int capacity) {
    DWORD read = 0;
    if (!::WinHttpReadData(request_.get(), buffer, static_cast<DWORD>(capacity), &read)) {
        ShowApiError("WinHttpReadData", ::GetLastError(), kErrorModule,
                     "CWinHttpRequest::HttpRead");
        return -1;
    }
    return static_cast<int>(read);
}
