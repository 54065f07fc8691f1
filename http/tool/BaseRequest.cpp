#include "http/tool/BaseRequest.h"

#include <new>

#include "common/Log.h"
#include "common/StringUtil.h"
#include "http/tool/ContentLength.h"
#include "http/tool/InternetRequest.h"
#include "http/tool/WinHttpRequest.h"

namespace {

// WinINet's INTERNET_OPTION_MAX_CONNS_PER_SERVER and INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER:
// this file must not include wininet.h (it meets winhttp.h through the back-ends).
constexpr unsigned long kOptionMaxConnsPerServer = 73;
constexpr unsigned long kOptionMaxConnsPer10Server = 74;

}  // namespace

CBaseRequest* CBaseRequest::CreateInstance(int type) {
    switch (type) {
        case kWinHttp:
            return new (std::nothrow) CWinHttpRequest();
        case kInternet:
            return new (std::nothrow) CInternetRequest();
        default:
            AssertCheckFormat(false, "false", "CBaseRequest::CreateInstance", __LINE__,
                              "ERR:un support type %d", type);
            return nullptr;
    }
}

bool CBaseRequest::SplitRequestUrl(const std::wstring& url, std::wstring& host,
                                   std::wstring& path) {
    host.clear();
    path.clear();
    // Without a scheme both stay empty: the connect step fails and says so.
    if (!SplitHostAndPath(url, host, path)) {
        host.clear();
        return false;
    }
    return true;
}

bool CBaseRequest::RequestUrl(const std::wstring& url) {
    std::wstring host;
    std::wstring path;
    if (!SplitRequestUrl(url, host, path)) {
        return false;
    }
    if (OpenAndSend(true, host, path)) {
        return true;
    }
    if (!StartsWithNoCase(url, "http://")) {
        return false;
    }
    CloseHandles();
    return OpenAndSend(false, host, path);
}

bool CBaseRequest::OpenAndSend(bool secure, const std::wstring& host, const std::wstring& path) {
    objectPath_ = path;
    host_ = host;
    if (!OpenSession()) {
        return false;
    }
    if (maxConnections_ != 0) {
        // Process-wide and sticky; a failure only means the platform's default limit applies.
        InternetSetOpt(kOptionMaxConnsPerServer, maxConnections_);
        InternetSetOpt(kOptionMaxConnsPer10Server, maxConnections_);
    }
    return ConnectSession(secure) && OpenRequest(secure) && SendRequest();
}

ResponseHead CBaseRequest::ReadResponseHead() {
    ResponseHead head;
    head.status = GetStatusCode();
    std::string length;
    if (QueryHeader(L"Content-Length", length)) {
        head.hasContentLength = ParseContentLength(length.c_str(), head.contentLength);
    }
    QueryHeader(L"Content-Range", head.contentRange);
    QueryHeader(L"ETag", head.etag);
    QueryHeader(L"Last-Modified", head.lastModified);
    QueryHeader(L"Accept-Ranges", head.acceptRanges);
    QueryHeader(L"Retry-After", head.retryAfter);
    return head;
}

std::string NarrowHeaderValue(const wchar_t* text, size_t length) {
    std::string value;
    value.reserve(length);
    for (size_t i = 0; i < length && text[i] != L'\0'; ++i) {
        value += (text[i] >= 0x20 && text[i] < 0x7F) ? static_cast<char>(text[i]) : '?';
    }
    return value;
}
