#include "http/tool/BaseRequest.h"

#include <memory>
#include <new>

#include "common/Log.h"
#include "common/StringUtil.h"
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
    return SplitHostAndPath(url, host, path);
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

namespace {

// The length of a successful response; an error page's length is not the file's size.
bool ReadFileSize(CBaseRequest& request, const std::wstring& url, int64_t& size) {
    int64_t length = 0;
    if (!request.RequestUrl(url) || !request.GetUrlFileSize(length)) {
        return false;
    }
    const int status = request.GetStatusCode();
    if (status < 200 || status > 299) {
        TLOG("QueryRemoteFileSize", "ERR:[%s] status %d, no file size", request.GetTypeName(),
             status);
        return false;
    }
    size = length;
    return true;
}

}  // namespace

bool QueryRemoteFileSize(const std::wstring& url, int64_t& size) {
    {
        CWinHttpRequest request;
        request.SetVerb(L"HEAD");
        if (ReadFileSize(request, url, size)) {
            return true;
        }
    }
    // Some servers answer HEAD without a length; WinINet's GET reads only the header and the
    // object (with the unread body) is closed right after.
    CInternetRequest request;
    return ReadFileSize(request, url, size);
}

int64_t GetRemoteFileSize(const std::wstring& url) {
    int64_t size = 0;
    return QueryRemoteFileSize(url, size) ? size : 0;
}
