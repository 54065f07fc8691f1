// The multi-threaded ranged downloader: measures a remote file, fetches it in parallel byte
// ranges written in place into one local file, retries each range across the WinHTTP and
// WinINet back-ends, and reports start, size, progress and end to a callback.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

#include "common/WinHandle.h"
#include "http/RangePlan.h"
#include "http/RangeResponse.h"
#include "http/tool/BaseRequest.h"

// Events: 0 start (0, 0); 1 size known (size, 0), sent again when the download starts over
// because the file changed on the server; 2 progress (bytes so far, size), never smaller than
// the one before since the last event 1, sent on a download thread
// with the downloader's lock held, so it must not wait for the calling thread; 3 end (result
// code, elapsed whole seconds).
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
    // How long a connection may stay silent before its request fails and is tried again.
    unsigned receiveTimeoutMs = kDefaultReceiveTimeoutMs;
    // Every wait between attempts (the retry pause, a busy server's Retry-After) goes through
    // this; empty: a real wait, cut short when the download is abandoned.
    PauseFunction pause;
};

// The file is started over at most this often when it changes on the server.
constexpr int kMaxDownloadRestarts = 2;

// One content download over one version of the file: the output stream, who fetches which
// bytes, and the stop signal. Lives on the coordinating thread's stack until every range
// thread has ended; everything but the flags is used under |lock|.
struct DownloadPass {
    DownloadPass(const DownloadPlan& plan, FILE* output, bool whole);
    ~DownloadPass();
    DownloadPass(const DownloadPass&) = delete;
    DownloadPass& operator=(const DownloadPass&) = delete;

    // Ends every range thread's work at its next step, and every pause.
    void Stop();
    bool Stopped() const { return stopped.load(); }

    RangeTable table;
    FILE* file;
    CRITICAL_SECTION lock;
    bool wholeBody;  // one request without Range for the whole file
    std::atomic<bool> stopped{false};
    std::atomic<bool> fileChanged{false};
    std::atomic<bool> rangeIgnored{false};
    UniqueHandle stopEvent;
};

class CHttpDownload;

// One thread's first range; owned by the coordinating thread. The thread may take over parts
// of other ranges once its own is done.
struct DownloadRange {
    bool success = false;
    CHttpDownload* owner = nullptr;
    int64_t start = 0;
    int64_t length = 0;
    int index = 0;
    DownloadPass* pass = nullptr;  // the output stream, the lock and the range table
};

class CHttpDownload {
  public:
    CHttpDownload(DownloadParam param, DownloadCallback callback);
    CHttpDownload(const CHttpDownload&) = delete;
    CHttpDownload& operator=(const CHttpDownload&) = delete;

    // Runs the whole download and returns its result code; sends events 0 and 3.
    int Download();

    // Its steps, in calling order.
    enum class ContentResult { kComplete, kFailed, kFileChanged };
    int DownloadImp();
    bool CheckParam();
    bool GetDownloadFileSize();
    ContentResult DownLoadContent();
    void DownloadThreadProc(DownloadRange* range);
    // Reads the accepted answer for segment |segment| into place; true when the segment is
    // complete (up to its end, which another thread may have lowered meanwhile).
    bool ReadUrlContent(CBaseRequest* request, DownloadRange* range, size_t segment);

  private:
    ContentResult RunPass(const DownloadPlan& plan, FILE* file, bool wholeBody);
    bool FetchSegment(DownloadRange* range, size_t segment);
    // Judges the answer; false when the attempt cannot go on. |waitMs| is set for a busy server.
    bool CheckAnswer(CBaseRequest* request, DownloadRange* range, int64_t first, int64_t end,
                     int64_t& waitMs);
    int TakeOverPart(DownloadRange* range);
    void Pause(DownloadPass* pass, int64_t ms);
    void Notify(int event, int64_t valueA, int64_t valueB);

    const DownloadParam param_;
    DownloadCallback callback_;
    std::wstring savePath_;  // the normalised save path
    RemoteFileInfo remote_;  // what the size query saw; every range must match it
    int64_t fileSize_ = 0;
    int64_t downloaded_ = 0;  // shared by all range threads, under the pass's lock
};

// Blocks until every range thread has ended; true exactly when the result code is 0.
bool StartHttpDownload(const DownloadParam& param, DownloadCallback callback);
