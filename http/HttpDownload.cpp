#include "http/HttpDownload.h"

#include <process.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include "common/FileUtil.h"
#include "common/Log.h"
#include "common/PathUtil.h"
#include "common/WinHandle.h"
#include "http/RangePlan.h"
#include "http/tool/BaseRequest.h"

namespace {

constexpr int kReadBufferSize = 102400;
constexpr uint32_t kMaxConnectionsPerServer = 50;

// Only steer the back-end choice; a lost update would merely shift one choice.
std::atomic<int> g_winHttpFailures{0};
std::atomic<int> g_internetFailures{0};

class CriticalSection {
  public:
    CriticalSection() { ::InitializeCriticalSection(&section_); }
    ~CriticalSection() { ::DeleteCriticalSection(&section_); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    CRITICAL_SECTION* get() { return &section_; }

  private:
    CRITICAL_SECTION section_;
};

class SectionLock {
  public:
    explicit SectionLock(CRITICAL_SECTION* section) : section_(section) {
        ::EnterCriticalSection(section_);
    }
    ~SectionLock() { ::LeaveCriticalSection(section_); }
    SectionLock(const SectionLock&) = delete;
    SectionLock& operator=(const SectionLock&) = delete;

  private:
    CRITICAL_SECTION* section_;
};

unsigned __stdcall RangeThreadEntry(void* argument) {
    auto* range = static_cast<DownloadRange*>(argument);
    range->owner->DownloadThreadProc(range);
    return 0;
}

int ElapsedSeconds(ULONGLONG startTick) {
    return static_cast<int>((::GetTickCount64() - startTick) / 1000);
}

}  // namespace

CHttpDownload::CHttpDownload(const DownloadParam& param, DownloadCallback callback)
    : param_(param), callback_(callback), savePath_(param.strSavePath) {}

void CHttpDownload::Notify(int event, int64_t valueA, int64_t valueB) {
    if (callback_ != nullptr) {
        callback_(event, valueA, valueB, param_.pUserData);
    }
}

int CHttpDownload::Download() {
    TLOG("CHttpDownload::Download", "Download....");
    const ULONGLONG startTick = ::GetTickCount64();
    Notify(kDownloadEventStart, 0, 0);
    const int result = DownloadImp();
    const int seconds = ElapsedSeconds(startTick);
    // The unit is the GBK form of the Chinese word for "second", as the log's readers expect.
    TLOG("CHttpDownload::Download", "HttpDownload,ret = %d (time = %d \xC3\xEB)", result, seconds);
    Notify(kDownloadEventEnd, result, seconds);
    return result;
}

int CHttpDownload::DownloadImp() {
    if (!CheckParam()) {
        TLOG("CHttpDownload::DownloadImp", "ERR:CheckParam fail!");
        return kDownloadBadParam;
    }
    if (!GetDownloadFileSize()) {
        TLOG("CHttpDownload::DownloadImp", "ERR:GetDownloadFileSize fail!");
        return kDownloadSizeFailed;
    }
    Notify(kDownloadEventSize, fileSize_, 0);
    if (!DownLoadContent()) {
        TLOG("CHttpDownload::DownloadImp", "ERR:DownLoadContent fail!");
        return kDownloadContentFailed;
    }
    return kDownloadOk;
}

bool CHttpDownload::CheckParam() {
    if (param_.nDownloadThread <= 0) {
        TLOG("CHttpDownload::CheckParam", "ERR:invalid param (nDownloadThread = %d)",
             param_.nDownloadThread);
        return false;
    }
    if (param_.strDownloadUrl.empty()) {
        TLOG("CHttpDownload::CheckParam", "ERR:invalid param (strDownloadUrl)");
        return false;
    }
    savePath_ = param_.strSavePath;
    NormalizePath(savePath_);
    const size_t slash = savePath_.rfind(L'\\');
    const std::wstring folder =
        slash == std::wstring::npos ? std::wstring() : savePath_.substr(0, slash);
    if (!PathExists(folder)) {
        CreateFolderTree(folder);
        if (!PathExists(folder)) {
            TLOGW("CHttpDownload::CheckParam", L"ERR:make dir (%s) fail!", folder.c_str());
            return false;
        }
    }
    return true;
}

bool CHttpDownload::GetDownloadFileSize() {
    TLOG("CHttpDownload::GetDownloadFileSize", "GetDownloadFileSize....");
    return QueryRemoteFileSize(param_.strDownloadUrl, fileSize_);
}

bool CHttpDownload::DownLoadContent() {
    const DownloadPlan plan = PlanDownloadRanges(fileSize_, param_.nDownloadThread);
    if (plan.threadCount == param_.nDownloadThread) {
        TLOG("CHttpDownload::DownLoadContent", "DownLoadContent: ThreadNum = %d", plan.threadCount);
    } else {
        TLOG("CHttpDownload::DownLoadContent",
             "DownLoadContent: ThreadNum = %d (request thread num = %d)", plan.threadCount,
             param_.nDownloadThread);
    }

    UniqueFile file(::_wfopen(savePath_.c_str(), L"wb"));
    if (!file) {
        TLOGW("CHttpDownload::DownLoadContent", L"ERR:Open file fail! (%s)", savePath_.c_str());
        return false;
    }

    CriticalSection lock;
    std::vector<std::unique_ptr<DownloadRange>> ranges;
    std::vector<UniqueHandle> threads;
    std::vector<DownloadRange*> notStarted;
    for (const PlannedRange& planned : plan.ranges) {
        auto range = std::make_unique<DownloadRange>();
        range->owner = this;
        range->start = planned.start;
        range->length = planned.length;
        range->index = planned.index;
        range->file = file.get();
        range->lock = lock.get();
        UniqueHandle thread(reinterpret_cast<HANDLE>(
            ::_beginthreadex(nullptr, 0, &RangeThreadEntry, range.get(), 0, nullptr)));
        if (thread) {
            threads.push_back(std::move(thread));
        } else {
            TLOG("CHttpDownload::DownLoadContent", "ERR:start thread %d fail! errno=%d",
                 planned.index, errno);
            notStarted.push_back(range.get());
        }
        DebugTrace("[%d] %I64d ~ %I64d,length = %I64d\n", planned.index, planned.start,
                   planned.start + planned.length - 1, planned.length);
        ranges.push_back(std::move(range));
    }
    // A range whose thread could not start is fetched here, alongside the running ones.
    for (DownloadRange* range : notStarted) {
        DownloadThreadProc(range);
    }

    std::vector<HANDLE> handles;
    for (const UniqueHandle& thread : threads) {
        handles.push_back(thread.get());
    }
    TLOG("CHttpDownload::DownLoadContent", "WaitForMultipleObjects...\n");
    DWORD waitResult = WAIT_OBJECT_0;
    if (!handles.empty()) {
        waitResult = ::WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(),
                                              TRUE, INFINITE);
    }
    TLOG("CHttpDownload::DownLoadContent", "WaitForMultipleObjects end! WaitRet=%d\n",
         static_cast<int>(waitResult));
    if (waitResult == WAIT_FAILED) {
        // The records and the stream must outlive every thread that uses them.
        for (HANDLE handle : handles) {
            ::WaitForSingleObject(handle, INFINITE);
        }
    }

    bool result = std::all_of(ranges.begin(), ranges.end(),
                              [](const std::unique_ptr<DownloadRange>& r) { return r->success; });
    // A failed close can lose buffered bytes; the file is then not complete.
    if (std::fclose(file.release()) != 0) {
        TLOGW("CHttpDownload::DownLoadContent", L"ERR:Close file fail! (%s)", savePath_.c_str());
        result = false;
    }
    return result;
}

void CHttpDownload::DownloadThreadProc(DownloadRange* range) {
    const std::wstring url = param_.strDownloadUrl;
    const std::wstring rangeLine = FormatRangeLine(range->start, range->length);
    const DWORD threadId = ::GetCurrentThreadId();
    TLOGW("CHttpDownload::DownloadThreadProc", L"[Thread][%d][%d][%s] beging...", threadId,
          range->index, rangeLine.c_str());

    bool success = false;
    for (int attempt = 0;;) {
        const int type =
            ChooseRequestType(attempt, g_winHttpFailures.load(), g_internetFailures.load());
        std::unique_ptr<CBaseRequest> request(CBaseRequest::CreateInstance(type));
        if (!request) {
            TLOG("CHttpDownload::DownloadThreadProc", "ERR:CBaseRequest::CreateInstance fail!");
            continue;
        }
        request->SetMaxConnections(kMaxConnectionsPerServer);
        request->SetExtraHeaders(rangeLine);
        if (request->RequestUrl(url) && ReadUrlContent(request.get(), range)) {
            success = true;
            break;
        }
        std::atomic<int>& failures =
            type == CBaseRequest::kWinHttp ? g_winHttpFailures : g_internetFailures;
        failures.fetch_add(1);
        TLOG("CHttpDownload::DownloadThreadProc",
             "[Thread][%d][%d][%s] Request fail,  retry %d...(WinHttp fail:%d, Internet fail:%d)",
             static_cast<int>(threadId), range->index, request->GetTypeName(), attempt,
             g_winHttpFailures.load(), g_internetFailures.load());
        request.reset();
        if (attempt >= kMaxRangeAttempts - 1) {
            break;
        }
        ::Sleep(kRangeRetryPauseMs);
        ++attempt;
    }
    range->success = success;
    if (success) {
        TLOGW("CHttpDownload::DownloadThreadProc", L"[Thread][%d][%d] SUCCCESS!", threadId,
              range->index);
    }
}

bool CHttpDownload::ReadUrlContent(CBaseRequest* request, DownloadRange* range) {
    // Only the partial content asked for may be written: an error page or a whole file sent by
    // a server that ignored "Range" would land on bytes that belong elsewhere.
    const int status = request->GetStatusCode();
    const bool wholeFile = range->start == 0 && range->length == fileSize_;
    if (status != 206 && !(status == 200 && wholeFile)) {
        TLOG("CHttpDownload::ReadUrlContent", "ERR:[%s] unexpected status %d for range %d",
             request->GetTypeName(), status, range->index);
        return false;
    }

    std::unique_ptr<char[]> buffer(new char[kReadBufferSize]);
    int64_t written = 0;
    int64_t received = 0;
    bool writeFailed = false;
    for (;;) {
        // Never more than the range still needs; once it is full, one more read must find the
        // end of the body, or the body is longer than the range and the attempt fails.
        const int64_t remaining = range->length - written;
        const int capacity = remaining > 0
                                 ? static_cast<int>(std::min<int64_t>(remaining, kReadBufferSize))
                                 : kReadBufferSize;
        const int count = request->HttpRead(buffer.get(), capacity);
        if (count <= 0) {
            break;
        }
        received += count;
        if (remaining == 0) {
            break;
        }
        {
            SectionLock lock(range->lock);
            const bool ok =
                _fseeki64(range->file, range->start + written, SEEK_SET) == 0 &&
                std::fflush(range->file) == 0 &&
                std::fwrite(buffer.get(), 1, count, range->file) == static_cast<size_t>(count) &&
                std::fflush(range->file) == 0;
            if (!ok) {
                writeFailed = true;
            } else {
                downloaded_ += count;
                Notify(kDownloadEventProgress, downloaded_, fileSize_);
            }
        }
        if (writeFailed) {
            TLOG("CHttpDownload::ReadUrlContent", "ERR:write file fail! errno=%d", errno);
            break;
        }
        written += count;
    }

    if (!writeFailed && received == range->length) {
        return true;
    }
    {
        SectionLock lock(range->lock);
        downloaded_ -= written;
    }
    TLOG("CHttpDownload::ReadUrlContent",
         "ERR:[%s] download Fail ,dstSize: %I64d !=  downloadingSize: %I64d)",
         request->GetTypeName(), range->length, received);
    return false;
}

bool StartHttpDownload(const DownloadParam& param, DownloadCallback callback) {
    CHttpDownload download(param, callback);
    return download.Download() == kDownloadOk;
}

void GetDownloadFailureCounts(int& winHttpFailures, int& internetFailures) {
    winHttpFailures = g_winHttpFailures.load();
    internetFailures = g_internetFailures.load();
}
