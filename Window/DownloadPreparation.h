// The preparation step of an Install click, run on its own thread: the download-address API's
// redirect, the installer's size and the free space of the install drive, decided into one
// outcome that the window acts on. The services are injected so a test can drive every branch.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct PreparationServices {
    // GetRedirectUrl: the API's redirect target for |host| and |path| into |url|.
    std::function<bool(const std::wstring& host, const std::wstring& path, std::wstring& url)>
        queryRedirect;
    // GetRemoteFileSize: the file's size in bytes, 0 when unknown.
    std::function<int64_t(const std::wstring& url)> remoteFileSize;
    // GetFreeDiskMB: free MiB of the volume that |drive| names.
    std::function<bool(const std::wstring& drive, uint32_t& freeMB)> freeDiskMB;
};

// The real network and disk queries.
PreparationServices SystemPreparationServices();

struct PreparationRequest {
    std::wstring addressApiUrl;  // GetDownloadUrlEx; empty skips the API
    std::wstring downloadUrl;    // the window's current download URL
    std::wstring installPath;    // ends with a backslash
    std::wstring storageText;    // STR_STORAGE
    std::wstring unitText;       // STR_MB; "MB" when empty
};

enum class PreparationStatus {
    kStartDownload,     // download |downloadUrl|
    kNotEnoughSpace,    // show |storageMessage| (OK only), then back to the home page at 0 %
    kFreeSpaceUnknown,  // the free-space query failed; nothing was started
};

struct PreparationOutcome {
    PreparationStatus status = PreparationStatus::kFreeSpaceUnknown;
    std::wstring downloadUrl;  // the redirect target, or the request's URL; the window keeps it
    int64_t sizeMB = 0;        // the installer's size in whole MiB
    uint32_t freeMB = 0;
    int64_t requiredMB = 0;       // three times the size
    std::wstring storageMessage;  // "<STR_STORAGE> <required> <unit>"
};

// Runs the step and writes its log lines, in order.
PreparationOutcome PrepareDownload(const PreparationRequest& request,
                                   const PreparationServices& services);

// The install path up to and including its first ":" ("C:" for C:\Programs\); empty for a path
// without one, such as a network share.
std::wstring InstallDrive(const std::wstring& installPath);
