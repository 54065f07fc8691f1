#include "Window/DownloadPreparation.h"

#include "common/Format.h"
#include "common/Log.h"
#include "common/StringUtil.h"
#include "common/SystemInfo.h"
#include "http/tool/BaseRequest.h"
#include "Window/FlowLog.h"
#include "Window/RedirectQuery.h"

// The step runs on the thread that the window's Install click starts.
#define PREPARATION_LOG(...) TLOG("CSetupFrameWnd::OnClickInstall", __VA_ARGS__)

namespace {

// Room for the downloaded installer, what it unpacks while it runs and the installed product.
constexpr int64_t kFreeSpaceFactor = 3;

}  // namespace

PreparationServices SystemPreparationServices() {
    PreparationServices services;
    services.queryRedirect = &GetRedirectUrl;
    services.remoteFileSize = &GetRemoteFileSize;
    services.freeDiskMB = &GetFreeDiskMB;
    return services;
}

std::wstring InstallDrive(const std::wstring& installPath) {
    const size_t colon = installPath.find(L':');
    return colon == std::wstring::npos ? std::wstring() : installPath.substr(0, colon + 1);
}

PreparationOutcome PrepareDownload(const PreparationRequest& request,
                                   const PreparationServices& services) {
    PreparationOutcome outcome;
    outcome.downloadUrl = request.downloadUrl;
    if (!request.addressApiUrl.empty()) {
        std::wstring host, path;
        SplitHostAndPath(request.addressApiUrl, host, path);
        std::wstring url = request.addressApiUrl;
        if (services.queryRedirect(host, path, url)) {
            outcome.downloadUrl = url;
            TLOGW("CSetupFrameWnd::OnClickInstall", L"get redirect Url:%s", url.c_str());
        }
    }

    PREPARATION_LOG("get file size begin");
    const int64_t size = services.remoteFileSize(outcome.downloadUrl);
    PREPARATION_LOG("get file size end");

    PREPARATION_LOG("get disk size begin");
    const bool freeKnown = services.freeDiskMB(InstallDrive(request.installPath), outcome.freeMB);
    PREPARATION_LOG("get disk size end");
    if (!freeKnown) {
        PREPARATION_LOG(kLogFreeSizeFailed);
        outcome.status = PreparationStatus::kFreeSpaceUnknown;
        return outcome;
    }

    // An unknown size needs no space here; the download reports its own failure later.
    outcome.sizeMB = size > 0 ? size >> 20 : 0;
    outcome.requiredMB = kFreeSpaceFactor * outcome.sizeMB;
    if (outcome.freeMB < outcome.requiredMB) {
        PREPARATION_LOG(kLogNotEnoughSpace, outcome.sizeMB, outcome.freeMB);
        const std::wstring unit = request.unitText.empty() ? L"MB" : request.unitText;
        outcome.storageMessage = FormatString(L"%s %I64d %s", request.storageText.c_str(),
                                              outcome.requiredMB, unit.c_str());
        outcome.status = PreparationStatus::kNotEnoughSpace;
        return outcome;
    }
    outcome.status = PreparationStatus::kStartDownload;
    return outcome;
}
