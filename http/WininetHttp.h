// The WinINet member of the simple HTTP client family: synchronous GET and POST requests and
// downloads; each operation opens its own handles. wininet.h stays in the .cpp (it cannot
// meet winhttp.h).
#pragma once

#include <cstdint>
#include <string>

#include "http/HttpBase.h"
#include "http/ClientParts.h"
#include "http/tool/InternetRequest.h"

class CWininetHttp : public HttpClient<IWininetHttp> {
  public:
    CWininetHttp() = default;

    bool DownloadToFile(const wchar_t* url, const wchar_t* path) override;
    bool DownloadToBuffer(const wchar_t* url, char** buffer, int* length) override;
    // A 404 gives an empty text and code 5; any other status gives the body.
    std::string Request(const wchar_t* url, int post, const char* body,
                        const wchar_t* headers) override;
    std::string Request(const char* url, int post, const char* body, const char* headers) override;

  protected:
    virtual ~CWininetHttp();

  private:
    void CloseHandles();
    // Opens, sends and reads the status (a 404 raises code 5); TLS exactly when the port is 443.
    // Redirects are followed, at most kMaxHttpRedirects of them (then code 16).
    void SendRequest(const std::wstring& url, const wchar_t* verb, const char* body,
                     const wchar_t* headers);
    void SendOnce(const std::wstring& url, const wchar_t* verb, const char* body,
                  const wchar_t* headers);
    // True with |next| set when the response is a redirect with a usable "Location".
    bool RedirectTarget(const std::wstring& url, std::wstring& next);
    // "Content-Length" as a number: false when the server sent none; code 4 when it cannot be
    // read, code 12 when it is not a usable length.
    bool AnnouncedLength(int64_t& length);
    // One read of at most |capacity| bytes: 0 at the end of the body; code 8 when it fails.
    size_t ReadPiece(char* buffer, size_t capacity);

    // Declared in opening order, so they close in reverse.
    UniqueInternetHandle session_;
    UniqueInternetHandle connection_;
    UniqueInternetHandle request_;
};
