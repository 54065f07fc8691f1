// The range threads of CHttpDownload: each fetches its range with retries across the two
// back-ends, resumes where a failed attempt stopped, checks that every answer belongs to the
// measured version of the file, and takes over half of a slow range once its own is done.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <ctime>
#include <memory>

#include "common/Log.h"
#include "http/HttpDownload.h"

namespace {

constexpr int kReadBufferSize = 102400;
constexpr uint32_t kMaxConnectionsPerServer = 50;
// A connection's speed is noted once it has been read for this long.
constexpr ULONGLONG kMinRateMeasureMs = 200;

// Only steer the back-end choice; a lost update would merely shift one choice.
std::atomic<int> g_winHttpFailures{0};
std::atomic<int> g_internetFailures{0};

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

// The range line, tied to the measured version with If-Range when there is a validator: a
// server whose file has changed then answers with the whole new file instead of a range.
std::wstring RangeHeaders(int64_t first, int64_t end, const RemoteFileInfo& remote) {
    std::wstring headers = FormatRangeLine(first, end - first);
    const std::string validator = IfRangeValue(remote);
    if (!validator.empty()) {
        headers += L"\r\nIf-Range: " + std::wstring(validator.begin(), validator.end());
    }
    return headers;
}

const char* OrDash(const std::string& text) {
    return text.empty() ? "-" : text.c_str();
}

}  // namespace

void CHttpDownload::DownloadThreadProc(DownloadRange* range) {
    const std::wstring rangeLine = FormatRangeLine(range->start, range->length);
    TLOGW("CHttpDownload::DownloadThreadProc", L"[Thread][%d][%d][%s] beging...",
          ::GetCurrentThreadId(), range->index, rangeLine.c_str());
    bool success = true;
    for (int segment = range->index; segment >= 0; segment = TakeOverPart(range)) {
        if (!FetchSegment(range, static_cast<size_t>(segment))) {
            success = false;
            // Without this range the file cannot be complete: the others need not go on.
            range->pass->Stop();
            break;
        }
    }
    range->success = success;
    if (success) {
        TLOGW("CHttpDownload::DownloadThreadProc", L"[Thread][%d][%d] SUCCCESS!",
              ::GetCurrentThreadId(), range->index);
    }
}

int CHttpDownload::TakeOverPart(DownloadRange* range) {
    DownloadPass& pass = *range->pass;
    if (pass.Stopped()) {
        return -1;
    }
    SectionLock lock(&pass.lock);
    const int segment = pass.table.Split(range->index);
    if (segment >= 0) {
        const RangeSegment& taken = pass.table.Segment(segment);
        TLOG("CHttpDownload::DownloadThreadProc", "[Thread][%d][%d] takes over bytes %I64d-%I64d",
             static_cast<int>(::GetCurrentThreadId()), range->index, taken.start, taken.end - 1);
    }
    return segment;
}

void CHttpDownload::Pause(DownloadPass* pass, int64_t ms) {
    if (param_.pause) {
        param_.pause(static_cast<unsigned>(ms));
    } else {
        ::WaitForSingleObject(pass->stopEvent.get(), static_cast<DWORD>(ms));
    }
}

bool CHttpDownload::FetchSegment(DownloadRange* range, size_t segment) {
    DownloadPass& pass = *range->pass;
    const int threadId = static_cast<int>(::GetCurrentThreadId());
    for (int attempt = 0;; ++attempt) {
        if (pass.Stopped()) {
            return false;
        }
        int64_t first = 0;
        int64_t end = 0;
        {
            SectionLock lock(&pass.lock);
            if (pass.wholeBody) {
                pass.table.Rewind(segment);  // a whole body cannot be resumed
            }
            first = pass.table.Segment(segment).next;
            end = pass.table.Segment(segment).end;
        }
        if (first >= end) {
            return true;
        }
        int64_t waitMs = -1;
        const int type =
            ChooseRequestType(attempt, g_winHttpFailures.load(), g_internetFailures.load());
        std::unique_ptr<CBaseRequest> request(CBaseRequest::CreateInstance(type));
        if (!request) {
            TLOG("CHttpDownload::DownloadThreadProc", "ERR:CBaseRequest::CreateInstance fail!");
        } else {
            request->SetMaxConnections(kMaxConnectionsPerServer);
            request->SetReceiveTimeout(param_.receiveTimeoutMs);
            if (!pass.wholeBody) {
                request->SetExtraHeaders(RangeHeaders(first, end, remote_));
            }
            if (request->RequestUrl(param_.strDownloadUrl) &&
                CheckAnswer(request.get(), range, first, end, waitMs) &&
                ReadUrlContent(request.get(), range, segment)) {
                return true;
            }
            if (pass.Stopped()) {
                return false;  // abandoned, not failed
            }
            // A busy server is no fault of the back-end.
            if (waitMs < 0) {
                (type == CBaseRequest::kWinHttp ? g_winHttpFailures : g_internetFailures)
                    .fetch_add(1);
            }
            TLOG("CHttpDownload::DownloadThreadProc",
                 "[Thread][%d][%d][%s] Request fail,  retry %d...(WinHttp fail:%d, Internet "
                 "fail:%d)",
                 threadId, range->index, request->GetTypeName(), attempt, g_winHttpFailures.load(),
                 g_internetFailures.load());
        }
        request.reset();
        // An attempt that brought bytes was no wasted one: the rest is asked for at once, and
        // only attempts in a row without progress count towards the limit. A whole body
        // starts again from its beginning, so there every attempt counts.
        if (!pass.wholeBody && waitMs < 0) {
            SectionLock lock(&pass.lock);
            if (pass.table.Segment(segment).next > first) {
                attempt = -1;
                continue;
            }
        }
        if (attempt >= kMaxRangeAttempts - 1) {
            return false;
        }
        Pause(&pass, waitMs >= 0 ? waitMs : kRangeRetryPauseMs);
    }
}

bool CHttpDownload::CheckAnswer(CBaseRequest* request, DownloadRange* range, int64_t first,
                                int64_t end, int64_t& waitMs) {
    DownloadPass& pass = *range->pass;
    const ResponseHead head = request->ReadResponseHead();
    const RangeVerdict verdict = pass.wholeBody ? CheckWholeResponse(head, remote_)
                                                : CheckRangeResponse(head, first, end - 1, remote_);
    const int threadId = static_cast<int>(::GetCurrentThreadId());
    switch (verdict) {
        case RangeVerdict::kAccept:
            return true;
        case RangeVerdict::kBusy:
            waitMs = BusyWaitMs(head, static_cast<int64_t>(std::time(nullptr)));
            TLOG("CHttpDownload::DownloadThreadProc",
                 "[Thread][%d][%d] server busy (status %d), waiting %I64d ms", threadId,
                 range->index, head.status, waitMs);
            return false;
        case RangeVerdict::kFileChanged:
            TLOG("CHttpDownload::DownloadThreadProc",
                 "ERR:[Thread][%d][%d] the file changed on the server (status %d, Content-Range "
                 "%s, ETag %s, Last-Modified %s)",
                 threadId, range->index, head.status, OrDash(head.contentRange), OrDash(head.etag),
                 OrDash(head.lastModified));
            pass.fileChanged.store(true);
            pass.Stop();
            return false;
        case RangeVerdict::kRangeIgnored:
            TLOG("CHttpDownload::DownloadThreadProc",
                 "[Thread][%d][%d] the server sends the whole file for a range", threadId,
                 range->index);
            pass.rangeIgnored.store(true);
            pass.Stop();
            return false;
        case RangeVerdict::kRetry:
            break;
    }
    TLOG("CHttpDownload::DownloadThreadProc",
         "ERR:[Thread][%d][%d] unexpected answer for bytes %I64d-%I64d (status %d, "
         "Content-Range %s, Content-Length %I64d)",
         threadId, range->index, first, end - 1, head.status, OrDash(head.contentRange),
         head.hasContentLength ? head.contentLength : -1LL);
    return false;
}

bool CHttpDownload::ReadUrlContent(CBaseRequest* request, DownloadRange* range, size_t segment) {
    DownloadPass& pass = *range->pass;
    std::unique_ptr<char[]> buffer(new char[kReadBufferSize]);
    int64_t asked = 0;
    int64_t written = 0;
    {
        SectionLock lock(&pass.lock);
        asked = pass.table.Remaining(segment);
    }
    const ULONGLONG began = ::GetTickCount64();
    for (;;) {
        int64_t remaining = 0;
        {
            SectionLock lock(&pass.lock);
            remaining = pass.table.Remaining(segment);
        }
        // Done, or another thread has taken over the rest: the unread tail is dropped.
        if (remaining == 0) {
            return true;
        }
        if (pass.Stopped()) {
            return false;
        }
        // Never more than the segment still needs.
        const int capacity = static_cast<int>(std::min<int64_t>(remaining, kReadBufferSize));
        const int count = request->HttpRead(buffer.get(), capacity);
        if (count <= 0) {
            break;
        }
        SectionLock lock(&pass.lock);
        const RangeSegment& current = pass.table.Segment(segment);
        const int64_t take = std::min<int64_t>(count, current.end - current.next);
        // The seek also hands the stream's pending bytes on; the flush after the write shows a
        // failed write at once.
        const bool ok = _fseeki64(pass.file, current.next, SEEK_SET) == 0 &&
                        std::fwrite(buffer.get(), 1, static_cast<size_t>(take), pass.file) ==
                            static_cast<size_t>(take) &&
                        std::fflush(pass.file) == 0;
        if (!ok) {
            TLOG("CHttpDownload::ReadUrlContent", "ERR:write file fail! errno=%d", errno);
            break;
        }
        pass.table.Accept(segment, take);
        written += take;
        // The connection's speed decides how much of its remainder another thread takes over.
        const ULONGLONG elapsed = ::GetTickCount64() - began;
        if (elapsed >= kMinRateMeasureMs) {
            pass.table.NoteRate(range->index, static_cast<double>(written) * 1000.0 / elapsed);
        }
        // A body that starts again from its beginning is counted once.
        const int64_t done = pass.table.Done();
        if (done > downloaded_) {
            downloaded_ = done;
            Notify(kDownloadEventProgress, downloaded_, fileSize_);
        }
    }
    // What was written stays: the next attempt asks only for the rest.
    TLOG("CHttpDownload::ReadUrlContent",
         "ERR:[%s] download Fail ,dstSize: %I64d !=  downloadingSize: %I64d)",
         request->GetTypeName(), asked, written);
    return false;
}
