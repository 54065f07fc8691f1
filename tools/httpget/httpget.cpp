// httpget: downloads one URL with the ranged downloader and prints its events.
//   httpget [--quiet] [--log-folder FOLDER] [--verify] URL SAVE_PATH [THREADS]
// THREADS defaults to 5 (what the setup program uses). Progress is printed whenever it moves
// by a whole percent (every event with --verbose-progress); --quiet prints only events 0, 1, 3.
// --verify checks the downloaded file as the setup program does before it starts an installer:
// a Windows program signed by one of the build profile's publishers.
// Exit code 0 on success, 1 on a failed download, 2 on bad usage, 3 when --verify refused it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "common/InstallerTrust.h"
#include "common/Log.h"
#include "http/HttpDownload.h"

namespace {

struct Progress {
    bool quiet = false;
    bool everyEvent = false;
    int lastPercent = -1;
    ULONGLONG startTick = 0;
};

double SecondsSince(ULONGLONG tick) {
    return static_cast<double>(::GetTickCount64() - tick) / 1000.0;
}

void OnEvent(int event, int64_t valueA, int64_t valueB, void* userData) {
    auto* progress = static_cast<Progress*>(userData);
    switch (event) {
        case kDownloadEventStart:
            std::printf("event 0: start\n");
            break;
        case kDownloadEventSize:
            std::printf("event 1: size %lld bytes (%.3f s measured)\n",
                        static_cast<long long>(valueA), SecondsSince(progress->startTick));
            break;
        case kDownloadEventProgress: {
            if (progress->quiet) {
                return;
            }
            const int percent = valueB > 0 ? static_cast<int>(valueA * 100 / valueB) : 100;
            if (progress->everyEvent || percent != progress->lastPercent) {
                progress->lastPercent = percent;
                std::printf("event 2: %lld / %lld (%d%%)\n", static_cast<long long>(valueA),
                            static_cast<long long>(valueB), percent);
            }
            break;
        }
        case kDownloadEventEnd:
            std::printf("event 3: result %lld after %lld s (%.3f s measured)\n",
                        static_cast<long long>(valueA), static_cast<long long>(valueB),
                        SecondsSince(progress->startTick));
            break;
        default:
            std::printf("event %d: %lld %lld\n", event, static_cast<long long>(valueA),
                        static_cast<long long>(valueB));
    }
    std::fflush(stdout);
}

int Usage() {
    std::fprintf(stderr,
                 "usage: httpget [--quiet] [--verbose-progress] [--log-folder FOLDER] [--verify] "
                 "URL SAVE_PATH [THREADS]\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Progress progress;
    std::wstring logFolder;
    bool verify = false;
    std::wstring positional[3];
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        if (arg == L"--quiet") {
            progress.quiet = true;
        } else if (arg == L"--verbose-progress") {
            progress.everyEvent = true;
        } else if (arg == L"--verify") {
            verify = true;
        } else if (arg == L"--log-folder" && i + 1 < argc) {
            logFolder = argv[++i];
        } else if (count < 3 && arg.rfind(L"--", 0) != 0) {
            positional[count++] = arg;
        } else {
            return Usage();
        }
    }
    if (count < 2) {
        return Usage();
    }
    if (!logFolder.empty()) {
        LogInit(L"httpget.log", logFolder.c_str());
    }
    DownloadParam param;
    param.nDownloadThread = count == 3 ? _wtoi(positional[2].c_str()) : 5;
    param.pUserData = &progress;
    param.strDownloadUrl = positional[0];
    param.strSavePath = positional[1];
    progress.startTick = ::GetTickCount64();
    if (!StartHttpDownload(param, &OnEvent)) {
        return 1;
    }
    if (verify) {
        const InstallerTrust trust = VerifyInstallerFile(param.strSavePath);
        std::printf("verify: %ls\n", trust.Describe().c_str());
        return trust.trusted() ? 0 : 3;
    }
    return 0;
}
