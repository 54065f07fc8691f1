// The multi-threaded ranged downloader: measures a remote file, fetches it in parallel byte
// ranges written in place into one local file, retries each range across the WinHTTP and
// WinINet back-ends, and reports start, size, progress and end to a callback.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>

class CBaseRequest;

// Events: 0 start (0, 0); 1 size known (size, 0); 2 progress (bytes so far, size), sent on a
// download thread with the downloader's lock held, so it must not wait for the calling thread;
// 3 end (result code, elapsed whole seconds).
enum DownloadEvent {
    kDownloadEventStart = 0,
    kDownloadEventSize = 1,
    kDownloadEventProgress = 2,
    kDownloadEventEnd = 3
};
enum DownloadResult {
    kDownloadOk = 0,
    kDownloadBadParam = -1,
    kDownloadSizeFailed = -3,
    kDownloadContentFailed = -4
};

using DownloadCallback = void (*)(int event, int64_t valueA, int64_t valueB, void* userData);

struct DownloadParam {
    int nDownloadThread = 0;
    void* pUserData = nullptr;  // handed back unchanged with every event
    std::wstring strDownloadUrl;
    std::wstring strSavePath;
};

class CHttpDownload;

// One thread's share of the file; owned by the coordinating thread.
struct DownloadRange {
    bool success = false;
    CHttpDownload* owner = nullptr;
    int64_t start = 0;
    int64_t length = 0;
    int index = 0;
    FILE* file = nullptr;
    CRITICAL_SECTION* lock = nullptr;
};

class CHttpDownload {
  public:
    CHttpDownload(const DownloadParam& param, DownloadCallback callback);
    CHttpDownload(const CHttpDownload&) = delete;
    CHttpDownload& operator=(const CHttpDownload&) = delete;

    // Runs the whole download and returns its result code; sends events 0 and 3.
    int Download();

    // Its steps, in calling order.
    int DownloadImp();
    bool CheckParam();
    bool GetDownloadFileSize();
    bool DownLoadContent();
    void DownloadThreadProc(DownloadRange* range);
    bool ReadUrlContent(CBaseRequest* request, DownloadRange* range);

  private:
    void Notify(int event, int64_t valueA, int64_t valueB);

    const DownloadParam& param_;
    DownloadCallback callback_;
    std::wstring savePath_;  // the normalised save path
    int64_t fileSize_ = 0;
    int64_t downloaded_ = 0;  // shared by all range threads, under the range lock
};

// Blocks until every range thread has ended; true exactly when the result code is 0.
bool StartHttpDownload(const DownloadParam& param, DownloadCallback callback);

// The process-wide failure counts that steer the back-end choice (never reset).
void GetDownloadFailureCounts(int& winHttpFailures, int& internetFailures);
