#include "http/HttpDownload.h"

#include <process.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "common/FileUtil.h"
#include "common/Log.h"
#include "common/PathUtil.h"
#include "http/tool/RemoteFile.h"

namespace {

unsigned __stdcall RangeThreadEntry(void* argument) {
    auto* range = static_cast<DownloadRange*>(argument);
    range->owner->DownloadThreadProc(range);
    return 0;
}

int ElapsedSeconds(ULONGLONG startTick) {
    return static_cast<int>((::GetTickCount64() - startTick) / 1000);
}

}  // namespace

DownloadPass::DownloadPass(const DownloadPlan& plan, FILE* output, bool whole)
    : table(plan),
      file(output),
      wholeBody(whole),
      stopEvent(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    ::InitializeCriticalSection(&lock);
}

DownloadPass::~DownloadPass() {
    ::DeleteCriticalSection(&lock);
}

void DownloadPass::Stop() {
    stopped.store(true);
    if (stopEvent) {
        ::SetEvent(stopEvent.get());
    }
}

CHttpDownload::CHttpDownload(DownloadParam param, DownloadCallback callback)
    : param_(std::move(param)), callback_(callback), savePath_(param_.strSavePath) {}

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
    for (int restart = 0;; ++restart) {
        if (!GetDownloadFileSize()) {
            TLOG("CHttpDownload::DownloadImp", "ERR:GetDownloadFileSize fail!");
            return kDownloadSizeFailed;
        }
        Notify(kDownloadEventSize, fileSize_, 0);
        const ContentResult result = DownLoadContent();
        if (result == ContentResult::kComplete) {
            return kDownloadOk;
        }
        if (result != ContentResult::kFileChanged) {
            break;
        }
        if (restart == kMaxDownloadRestarts) {
            TLOG("CHttpDownload::DownloadImp", "ERR:the file keeps changing on the server");
            break;
        }
        // Ranges of two versions must never be stitched together: all of it is fetched again.
        TLOG("CHttpDownload::DownloadImp",
             "the file changed on the server: starting over (%d of %d)", restart + 1,
             kMaxDownloadRestarts);
    }
    TLOG("CHttpDownload::DownloadImp", "ERR:DownLoadContent fail!");
    return kDownloadContentFailed;
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
    SizeQueryOptions options;
    options.receiveTimeoutMs = param_.receiveTimeoutMs;
    options.pause = param_.pause;
    RemoteFileInfo info;
    if (!QueryRemoteFile(param_.strDownloadUrl, options, info)) {
        return false;
    }
    remote_ = info;
    fileSize_ = info.size;
    return true;
}

CHttpDownload::ContentResult CHttpDownload::DownLoadContent() {
    const DownloadPlan plan = PlanDownloadRanges(fileSize_, param_.nDownloadThread);
    if (plan.threadCount == param_.nDownloadThread) {
        TLOG("CHttpDownload::DownLoadContent", "DownLoadContent: ThreadNum = %d", plan.threadCount);
    } else {
        TLOG("CHttpDownload::DownLoadContent",
             "DownLoadContent: ThreadNum = %d (request thread num = %d)", plan.threadCount,
             param_.nDownloadThread);
    }

    // Truncated: nothing of an earlier attempt survives.
    UniqueFile file(::_wfopen(savePath_.c_str(), L"wb"));
    if (!file) {
        TLOGW("CHttpDownload::DownLoadContent", L"ERR:Open file fail! (%s)", savePath_.c_str());
        return ContentResult::kFailed;
    }
    downloaded_ = 0;
    const ContentResult result = RunPass(plan, file.get(), false);
    // A failed close can lose buffered bytes; the file is then not complete.
    if (std::fclose(file.release()) != 0) {
        TLOGW("CHttpDownload::DownLoadContent", L"ERR:Close file fail! (%s)", savePath_.c_str());
        return ContentResult::kFailed;
    }
    return result;
}

CHttpDownload::ContentResult CHttpDownload::RunPass(const DownloadPlan& plan, FILE* file,
                                                    bool wholeBody) {
    DownloadPass pass(plan, file, wholeBody);
    std::vector<std::unique_ptr<DownloadRange>> ranges;
    std::vector<UniqueHandle> threads;
    std::vector<DownloadRange*> notStarted;
    for (const PlannedRange& planned : plan.ranges) {
        auto range = std::make_unique<DownloadRange>();
        range->owner = this;
        range->start = planned.start;
        range->length = planned.length;
        range->index = planned.index;
        range->pass = &pass;
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
        // The records, the pass and the stream must outlive every thread that uses them.
        for (HANDLE handle : handles) {
            ::WaitForSingleObject(handle, INFINITE);
        }
    }

    if (pass.fileChanged.load()) {
        return ContentResult::kFileChanged;
    }
    if (pass.rangeIgnored.load() && !wholeBody) {
        TLOG("CHttpDownload::DownLoadContent",
             "the server ignores Range: one connection reads the whole file");
        return RunPass(PlanDownloadRanges(fileSize_, 1), file, true);
    }
    const bool complete =
        std::all_of(ranges.begin(), ranges.end(), [](const auto& range) { return range->success; });
    return complete ? ContentResult::kComplete : ContentResult::kFailed;
}

bool StartHttpDownload(const DownloadParam& param, DownloadCallback callback) {
    CHttpDownload download(param, callback);
    return download.Download() == kDownloadOk;
}
