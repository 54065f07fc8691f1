#include "http/ClientParts.h"

#include <windows.h>

void HttpClientState::AddRequestHeader(const char* name, const char* value) {
    if (name != nullptr && value != nullptr) {
        header.AddHeader(name, value);
    }
}

void HttpClientState::SetObserver(IDownloadObserver* newObserver, int newContext) {
    observer = newObserver;
    context = newContext;
}

void HttpClientState::Notify(int event, double total, double done) const {
    if (observer != nullptr) {
        observer->OnProgress(context, event, total, done);
    }
}

bool HttpClientState::FailDownload(HttpInterfaceError code) {
    lastError = code;
    Notify(kHttpEventFailed, 0, 0);
    return false;
}

BodyBuffer AllocateBody(size_t size) {
    BodyBuffer buffer(static_cast<char*>(std::malloc(size > 0 ? size : 1)));
    if (!buffer) {
        throw kHttpErrorTooLarge;
    }
    return buffer;
}

FILE* DownloadFile::Create() {
    Discard();
    ::DeleteFileW(path_.c_str());
    file_.reset(::_wfopen(path_.c_str(), L"wb+"));
    if (!file_) {
        throw kHttpErrorCreateFile;
    }
    return file_.get();
}

void DownloadFile::Write(const char* data, size_t size) {
    if (size > 0 && std::fwrite(data, 1, size, file_.get()) != size) {
        throw kHttpErrorWriteFile;
    }
}

void DownloadFile::Commit() {
    if (file_ && std::fclose(file_.release()) != 0) {
        ::DeleteFileW(path_.c_str());
        throw kHttpErrorWriteFile;
    }
}

void DownloadFile::Discard() {
    if (file_) {
        file_.reset();
        ::DeleteFileW(path_.c_str());
    }
}
