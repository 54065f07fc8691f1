// The WinHTTP member of the simple HTTP client family: synchronous GET and POST requests and
// downloads; each operation opens its own session, connection and request. The analytics
// sender's client. winhttp.h stays in the .cpp (it cannot meet wininet.h).
#pragma once

#include <cstdint>
#include <string>

#include "http/HttpBase.h"
#include "http/ClientParts.h"
#include "http/tool/WinHttpRequest.h"

class CWinHttp : public HttpClient<IWinHttp> {
  public:
    // Opens a first session with the default time-outs (a failure records code 1).
    CWinHttp();

    bool DownloadToFile(const wchar_t* url, const wchar_t* path) override;
    bool DownloadToBuffer(const wchar_t* url, char** buffer, int* length) override;
    // A 404 gives an empty text and code 5; any other status gives the body.
    std::string Request(const wchar_t* url, int post, const char* body,
                        const wchar_t* headers) override;
    std::string Request(const char* url, int post, const char* body, const char* headers) override;
    void SetTimeouts(int connectMs, int sendMs, int receiveMs) override;

  protected:
    virtual ~CWinHttp();

  private:
    void CloseHandles();
    void OpenSession();
    // Opens, sends and receives the response header; TLS exactly when the port is 443.
    void SendRequest(const std::wstring& url, bool post, const char* body, const wchar_t* headers);
    // Status of the response into statusCode_; a 404 raises code 5.
    void ReadStatus();
    // "Content-Length" as a number; code 4 when it is missing or not a number.
    int64_t AnnouncedLength();
    struct BodyLimits {
        HttpInterfaceError firstQueryFailure;  // the first data-available query failed
        uint64_t maxBytes;                     // more than this raises |overLimit|, unread
        HttpInterfaceError overLimit;
    };
    // Hands the body to |sink| piece by piece; later failures raise code 8.
    template <typename Sink>
    void ReadBody(Sink&& sink, const BodyLimits& limits);

    // Declared in opening order, so they close in reverse.
    UniqueWinHttpHandle session_;
    UniqueWinHttpHandle connection_;
    UniqueWinHttpHandle request_;
    int connectTimeoutMs_ = 5000;
    int sendTimeoutMs_ = 5000;
    int receiveTimeoutMs_ = 5000;
};
