// The simple HTTP client family: one interface over raw sockets, WinINet and WinHTTP, their
// failure codes, the download observer and the factory. Not the ranged downloader (tool/).
#pragma once

#include <string>

// Failure codes of the clients, kept as the last error code of the object. A failing step
// throws one of these values; the operation that ran it catches it and stores it.
enum HttpInterfaceError {
    kHttpErrorNone = 0,
    kHttpErrorOpen = 1,         // session or request could not be opened, or no response
    kHttpErrorConnect = 2,      // no connection to the server
    kHttpErrorSend = 3,         // the request could not be sent
    kHttpErrorQueryLength = 4,  // body length or first data-available query failed
    kHttpErrorNotFound = 5,     // 404 (the socket client: 400 and 404)
    kHttpErrorEmptyUrl = 6,     // empty URL for a file or buffer download
    kHttpErrorCreateFile = 7,   // the local file could not be created
    kHttpErrorReadBody = 8,     // reading the body failed or it was incomplete
    kHttpErrorResolve = 9,      // host name lookup failed
    kHttpErrorSocket = 10,      // socket creation or receive failed (time-out included)
    kHttpErrorCancelled = 11,   // the observer cancelled the download
    kHttpErrorTooLarge = 12,    // over kMaxHttpBufferBytes, or an unusable length
    kHttpErrorNoHeader = 13,    // no complete response header
    kHttpErrorEmptyRequestUrl = 14,
    kHttpErrorWriteFile = 15,  // writing the local file failed
    kHttpErrorTooManyRedirects = 16,
};

// Largest body a buffer download (or a Request's text) accepts.
constexpr int kMaxHttpBufferBytes = 8388608;
// Redirects a client follows for one operation before it gives up.
constexpr int kMaxHttpRedirects = 10;

// Observer events.
enum HttpDownloadEvent { kHttpEventProgress = 0, kHttpEventFailed = 1, kHttpEventFinished = 2 };

// Progress of file downloads. Owned by the caller; the client only keeps the pointer.
class IDownloadObserver {
  public:
    // |total| is the announced body size (0 when unknown), |done| the bytes received so far.
    virtual void OnProgress(int context, int event, double total, double done) = 0;
    // Asked by the socket client before each receive; true stops the download (code 11).
    virtual bool IsCancelled() = 0;

  protected:
    ~IDownloadObserver() = default;
};

// Every client deletes itself in Release; the destructor is not part of the interface.
class IHttpBase {
  public:
    virtual void SetProgressCallback(IDownloadObserver* observer, int context) = 0;
    // True when the whole body was written to |path|.
    virtual bool DownloadToFile(const wchar_t* url, const wchar_t* path) = 0;
    // On success |*buffer| comes from malloc (the caller frees it) and holds |*length| bytes.
    virtual bool DownloadToBuffer(const wchar_t* url, char** buffer, int* length) = 0;
    virtual void Release() = 0;
    // The HttpInterfaceError of the last failure; a later success does not reset it.
    virtual int GetLastErrorCode() = 0;
    // Ignored when either text is null or empty; a name already present keeps its value.
    virtual void AddRequestHeader(const char* name, const char* value) = 0;
    // Status of the last response, 0 before any.
    virtual int GetStatusCode() = 0;

  protected:
    ~IHttpBase() = default;
};

class ISocketHttp : public IHttpBase {
  public:
    // Dotted-quad IPv4 address of the last resolved server.
    virtual std::wstring GetServerAddress() = 0;

  protected:
    ~ISocketHttp() = default;
};

class IWininetHttp : public IHttpBase {
  public:
    // Sends a GET, or a POST when |post| is nonzero, and returns the body (narrow bytes).
    // |body| and |headers| (extra "Name: value\r\n" lines) may be null.
    virtual std::string Request(const wchar_t* url, int post, const char* body,
                                const wchar_t* headers) = 0;
    virtual std::string Request(const char* url, int post, const char* body,
                                const char* headers) = 0;

  protected:
    ~IWininetHttp() = default;
};

class IWinHttp : public IWininetHttp {
  public:
    // Milliseconds, applied to the sessions opened from now on.
    virtual void SetTimeouts(int connectMs, int sendMs, int receiveMs) = 0;

  protected:
    ~IWinHttp() = default;
};

enum HttpClientKind { kHttpClientSocket = 0, kHttpClientWininet = 1, kHttpClientWinHttp = 2 };

// Kind 0 socket, 1 WinINet, 2 WinHTTP. |*client| is always written: null for any other kind
// (or when memory runs out), and the result says whether it is set. End it with Release.
bool CreateHttpInstance(IHttpBase** client, int kind);

// For std::unique_ptr: ends a client with Release on every path, also when a request throws.
struct HttpClientReleaser {
    void operator()(IHttpBase* client) const { client->Release(); }
};
