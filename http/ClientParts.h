// Pieces that the three clients of the family share: the caller-facing state (request fields,
// observer, last error) with the interface's accessors over it, malloc'ed body buffers, and an
// output file that a failed download removes again.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "common/WinHandle.h"
#include "http/HttpBase.h"
#include "http/HttpHeader.h"

// The state behind SetProgressCallback, AddRequestHeader and GetLastErrorCode.
struct HttpClientState {
    // Null or empty texts are ignored; a name already present keeps its value.
    void AddRequestHeader(const char* name, const char* value);
    void SetObserver(IDownloadObserver* newObserver, int newContext);
    void Notify(int event, double total, double done) const;
    // Stores |code|, tells the observer that the download failed and gives false.
    bool FailDownload(HttpInterfaceError code);

    CHttpHeader header;  // the fields of every request the client sends
    int context = 0;
    IDownloadObserver* observer = nullptr;
    int lastError = 0;
};

// The accessors that every client implements alike, over its HttpClientState and last status.
// |Interface| is the client's interface; the destructor stays the first virtual function after
// the interface's own.
template <typename Interface>
class HttpClient : public Interface {
  public:
    void SetProgressCallback(IDownloadObserver* observer, int context) override {
        state_.SetObserver(observer, context);
    }
    void Release() override { delete this; }
    int GetLastErrorCode() override { return state_.lastError; }
    void AddRequestHeader(const char* name, const char* value) override {
        state_.AddRequestHeader(name, value);
    }
    int GetStatusCode() override { return statusCode_; }

  protected:
    HttpClient() = default;
    virtual ~HttpClient() = default;

    int statusCode_ = 0;
    HttpClientState state_;
};

// Body buffers are handed to callers, who release them with free().
struct FreeDeleter {
    void operator()(char* p) const { std::free(p); }
};
using BodyBuffer = std::unique_ptr<char, FreeDeleter>;
// Code 12 when the memory is not there.
BodyBuffer AllocateBody(size_t size);

// A download's output file ("wb+"): deleted again unless the download commits it.
class DownloadFile {
  public:
    explicit DownloadFile(std::wstring path) : path_(std::move(path)) {}
    ~DownloadFile() { Discard(); }
    DownloadFile(const DownloadFile&) = delete;
    DownloadFile& operator=(const DownloadFile&) = delete;

    // Replaces any file of that name; code 7 when it cannot be created.
    FILE* Create();
    // Code 15 when a write fails.
    void Write(const char* data, size_t size);
    // Closes the file for good; code 15 when its last bytes cannot be written.
    void Commit();
    // Closes and deletes a file this object created and has not committed.
    void Discard();

  private:
    std::wstring path_;
    UniqueFile file_;
};
