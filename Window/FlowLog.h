// The install flow's log markers that carry the full-width colon U+FF1A. The log's narrow text
// holds that character as the two bytes A3 BA; the markers are read by people and tools alike.
#pragma once

#define FLOW_FULLWIDTH_COLON "\xA3\xBA"

constexpr char kLogFreeSizeFailed[] = "OnClickInstall" FLOW_FULLWIDTH_COLON "GetFreeSize Failed";
// Formatted with the installer's size and the free space, both in MiB.
constexpr char kLogNotEnoughSpace[] =
    "OnClickInstall" FLOW_FULLWIDTH_COLON "filesize:%I64dMB--FreeSize:%uMB";
constexpr char kLogDownloadSucceeded[] = "HttpDownloadEnd" FLOW_FULLWIDTH_COLON "Success";
constexpr char kLogDownloadFailed[] = "HttpDownloadEnd" FLOW_FULLWIDTH_COLON "Failed";
constexpr char kLogProductRunning[] = "StartInstallExe" FLOW_FULLWIDTH_COLON "FindProcess";
constexpr char kLogInstallerEnded[] = "StartInstallExe" FLOW_FULLWIDTH_COLON "SilentInstallation";
