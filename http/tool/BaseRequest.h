// One HTTP request on one thread, with its body read piece by piece: the transport of the
// ranged downloader and of the remote size query. Two back-ends (WinHTTP, WinINet) stand behind
// this base; no platform network header is included here, so either back-end can use it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "http/RangeResponse.h"

// No response may keep a request waiting longer than this for its next bytes.
constexpr unsigned kDefaultReceiveTimeoutMs = 30000;

// Waits the given milliseconds; callers inject shorter or interruptible waits.
using PauseFunction = std::function<void(unsigned ms)>;

class CBaseRequest {
  public:
    enum RequestType { kWinHttp = 0, kInternet = 1 };

    // Type 0 gives a CWinHttpRequest, 1 a CInternetRequest; any other type reports an assertion
    // and gives null. The caller owns the object.
    static CBaseRequest* CreateInstance(int type);

    CBaseRequest() = default;
    // Closes request, connection and session handles, in that order (done by the back-end).
    virtual ~CBaseRequest() = default;
    CBaseRequest(const CBaseRequest&) = delete;
    CBaseRequest& operator=(const CBaseRequest&) = delete;

    // "WinHttp" or "Internet".
    virtual const char* GetTypeName() const = 0;
    // True when the response's "Content-Length" was read as a decimal number into |size|.
    virtual bool GetUrlFileSize(int64_t& size) = 0;
    // Bytes read into |buffer| (0 at the end of the body), -1 when the read call failed.
    virtual int HttpRead(void* buffer, int capacity) = 0;
    virtual bool OpenSession() = 0;
    virtual bool ConnectSession(bool secure) = 0;
    virtual bool OpenRequest(bool secure) = 0;
    // Sent and, for WinHTTP, the response received.
    virtual bool SendRequest() = 0;
    // The response's status code; 0 before a response or when it cannot be read.
    virtual int GetStatusCode() = 0;
    // The value of the response header |name| (non-ASCII characters become '?'); false when
    // the response has no such header.
    virtual bool QueryHeader(const wchar_t* name, std::string& value) = 0;

    // Status and the headers that tell which bytes of which version of the file follow.
    ResponseHead ReadResponseHead();

    // Splits the URL, then opens and sends with TLS. Only an "http://" URL is tried once more
    // without TLS when that fails: an "https://" URL is never fetched in the clear.
    bool RequestUrl(const std::wstring& url);
    bool OpenAndSend(bool secure, const std::wstring& host, const std::wstring& path);

    // "http://host/path" or "https://host/path" -> host and path (without the "/"). The scheme
    // counts only as the URL's prefix, in any letter case. A URL with neither prefix gives true
    // with both empty; a host without a following "/" gives false.
    static bool SplitRequestUrl(const std::wstring& url, std::wstring& host, std::wstring& path);

    // Process-wide WinINet state shared by both back-ends (defined in InternetOptions.cpp).
    static bool IsUseProxyConnect();
    // The option's current value; false when it cannot be read.
    static bool QueryInternetOpt(unsigned long option, std::string& bytes);
    static bool QueryInternetOpt(unsigned long option, unsigned long& value);
    // Sets a 4-byte option and reads it back; true when it then holds |value|.
    static bool InternetSetOpt(unsigned long option, unsigned long value);

    void SetVerb(const std::wstring& verb) { verb_ = verb; }
    void SetExtraHeaders(const std::wstring& headers) { extraHeaders_ = headers; }
    // Nonzero: applied process-wide before connecting.
    void SetMaxConnections(uint32_t count) { maxConnections_ = count; }
    // How long a response may stay silent (headers or body) before the call fails.
    void SetReceiveTimeout(unsigned ms) { receiveTimeoutMs_ = ms; }

    const std::wstring& GetVerb() const { return verb_; }
    const std::wstring& GetExtraHeaders() const { return extraHeaders_; }
    const std::wstring& GetObjectPath() const { return objectPath_; }
    const std::wstring& GetHost() const { return host_; }

  protected:
    // Closes the back-end's request, connection and session handles, in that order, so that a
    // second attempt never leaves the first one's connection open.
    virtual void CloseHandles() = 0;

    std::wstring verb_ = L"GET";
    std::wstring extraHeaders_;
    std::wstring objectPath_;
    std::wstring host_;
    uint32_t maxConnections_ = 0;
    unsigned receiveTimeoutMs_ = kDefaultReceiveTimeoutMs;
};

// Narrows a header value: ASCII stays, anything else becomes '?'.
std::string NarrowHeaderValue(const wchar_t* text, size_t length);

// The remote size query (http/tool/RemoteFile.h) with its default options: the size alone.
bool QueryRemoteFileSize(const std::wstring& url, int64_t& size);
// The size in bytes, 0 when unknown.
int64_t GetRemoteFileSize(const std::wstring& url);
