// The plain-TCP member of the simple HTTP client family: HTTP/1.1 GET over one Winsock stream
// socket, with its own response reading and redirects. No TLS: port 443 is refused.
#pragma once

#include <cstdint>
#include <string>

#include "common/WinHandle.h"
#include "http/HttpBase.h"
#include "http/ClientParts.h"

// Winsock SOCKETs (UINT_PTR, INVALID_SOCKET when absent), closed with closesocket; defined
// with the client so that winsock2.h stays out of this header.
struct SocketTraits {
    using Type = uintptr_t;
    static Type Invalid() { return ~static_cast<uintptr_t>(0); }
    static void Close(Type socket);
};
using UniqueSocket = UniqueHandleT<SocketTraits>;

class CHttpSocket : public HttpClient<ISocketHttp> {
  public:
    CHttpSocket();

    bool DownloadToFile(const wchar_t* url, const wchar_t* path) override;
    bool DownloadToBuffer(const wchar_t* url, char** buffer, int* length) override;
    std::wstring GetServerAddress() override { return serverAddress_; }

  protected:
    virtual ~CHttpSocket();

  private:
    enum class Next { kDone, kNewServer, kSamePath };
    struct Target {
        std::string host;
        uint16_t port = 0;
        std::string path;
    };

    // Splits |url|, connects and sets "Host"; false for port 443 (refused before any network
    // access). Connection failures raise codes 9, 10 or 2.
    bool OpenServer(const std::wstring& url, Target& target);
    void Connect(const std::string& host, uint16_t port);
    void SendGet(const std::string& path);
    // One receive after asking the observer; 0 when the server closed the connection.
    int ReceiveBlock(char* buffer, int capacity);
    // Reads until the blank line; |bodyStart| gets the body bytes that came with the header.
    void ReceiveHeader(CHttpHeader& response, std::string& bodyStart);
    // 400 and 404 raise code 5; a 3xx with a usable "Location" gives the redirect.
    Next CheckStatus(const CHttpHeader& response, const std::string& path, std::string& location);
    // Moves |target| to a redirect's destination: a new server, or a new path on this one (on
    // the same connection when the redirect's own body can be skipped). False when refused.
    bool FollowRedirect(Next next, const CHttpHeader& response, size_t bodyReceived,
                        const std::string& location, Target& target);
    // Sends the request and follows redirects (at most kMaxHttpRedirects) until a final
    // response; false when a redirect leads to a refused server.
    bool Fetch(const wchar_t* url, CHttpHeader& response, std::string& bodyStart);

    UniqueSocket socket_;
    std::wstring serverAddress_;
    // The "Host" this client put in the request fields (a caller's own "Host" is never replaced).
    std::string ownHost_;
    // Set while connecting, so that a buffer download can report the failure as code 1.
    bool connecting_ = false;
};
