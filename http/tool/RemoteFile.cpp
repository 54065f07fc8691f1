#include "http/tool/RemoteFile.h"

#include <windows.h>

#include <ctime>
#include <memory>

#include "common/Log.h"
#include "http/tool/InternetRequest.h"
#include "http/tool/WinHttpRequest.h"

namespace {

// A server that is still busy after this many waits is given up on.
constexpr int kMaxBusyWaits = 5;

enum class Step { kHead, kFirstByte, kInternetGet };

const char* StepName(Step step) {
    switch (step) {
        case Step::kHead:
            return "HEAD";
        case Step::kFirstByte:
            return "GET bytes=0-0";
        case Step::kInternetGet:
            return "GET";
    }
    return "?";
}

std::unique_ptr<CBaseRequest> MakeRequest(Step step) {
    if (step == Step::kInternetGet) {
        return std::make_unique<CInternetRequest>();  // its default verb: GET
    }
    auto request = std::make_unique<CWinHttpRequest>();
    if (step == Step::kHead) {
        request->SetVerb(L"HEAD");
    } else {
        request->SetExtraHeaders(L"Range:bytes=0-0");
    }
    return request;
}

void Pause(const SizeQueryOptions& options, int64_t ms) {
    if (options.pause) {
        options.pause(static_cast<unsigned>(ms));
    } else {
        ::Sleep(static_cast<DWORD>(ms));
    }
}

// One step of the query, asked again after each busy answer while waits remain. Only the
// response header is used; a GET's body is never read.
bool AskStep(Step step, const std::wstring& url, const SizeQueryOptions& options,
             RemoteFileInfo& info, int& busyWaits) {
    for (;;) {
        std::unique_ptr<CBaseRequest> request = MakeRequest(step);
        request->SetReceiveTimeout(options.receiveTimeoutMs);
        if (!request->RequestUrl(url)) {
            return false;
        }
        ResponseHead head = request->ReadResponseHead();
        if (step != Step::kFirstByte) {
            // The length query of the back-end reports its own failure.
            head.hasContentLength = request->GetUrlFileSize(head.contentLength);
        }
        const bool known = step == Step::kFirstByte ? FileInfoFromProbe(head, info)
                                                    : FileInfoFromWholeAnswer(head, info);
        if (known) {
            TLOG("QueryRemoteFile", "[%s] %s: size %I64d, ETag %s, Last-Modified %s, ranges %s",
                 request->GetTypeName(), StepName(step), info.size,
                 info.etag.empty() ? "-" : info.etag.c_str(),
                 info.lastModified.empty() ? "-" : info.lastModified.c_str(),
                 info.acceptRanges ? "yes" : "no");
            return true;
        }
        const int64_t wait = BusyWaitMs(head, static_cast<int64_t>(std::time(nullptr)));
        if (wait < 0 || busyWaits >= kMaxBusyWaits) {
            TLOG("QueryRemoteFile", "ERR:[%s] %s: status %d, no file size", request->GetTypeName(),
                 StepName(step), head.status);
            return false;
        }
        ++busyWaits;
        TLOG("QueryRemoteFile", "[%s] %s: server busy (status %d), waiting %I64d ms",
             request->GetTypeName(), StepName(step), head.status, wait);
        request.reset();
        Pause(options, wait);
    }
}

}  // namespace

bool QueryRemoteFile(const std::wstring& url, const SizeQueryOptions& options,
                     RemoteFileInfo& info) {
    int busyWaits = 0;
    for (Step step : {Step::kHead, Step::kFirstByte, Step::kInternetGet}) {
        RemoteFileInfo found;
        if (AskStep(step, url, options, found, busyWaits)) {
            info = found;
            return true;
        }
    }
    return false;
}

bool QueryRemoteFileSize(const std::wstring& url, int64_t& size) {
    RemoteFileInfo info;
    if (!QueryRemoteFile(url, SizeQueryOptions(), info)) {
        return false;
    }
    size = info.size;
    return true;
}

int64_t GetRemoteFileSize(const std::wstring& url) {
    int64_t size = 0;
    return QueryRemoteFileSize(url, size) ? size : 0;
}
