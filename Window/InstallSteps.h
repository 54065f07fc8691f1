// The install phase's steps around the silent installer that need no window: the downloaded
// files in the work folder and their clean-up, the progress file's tick, and the run's verdict.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "common/InstallerRunner.h"
#include "Window/InstallOutcome.h"

// The files a download leaves in the work folder.
struct DownloadFiles {
    std::wstring installer;     // "tandrel-download.exe"
    std::wstring progressFile;  // "temp.progress", written by the installer
};
// |workFolder| ends with a backslash.
DownloadFiles DownloadFilesIn(const std::wstring& workFolder);

// Ends every running copy of |exeName| (a few at most) and waits briefly for each to go, so
// that the files it held can be replaced or deleted. |beforeEach| sees each one first.
void EndProcessesNamed(const std::wstring& exeName,
                       const std::function<void(DWORD processId)>& beforeEach = nullptr);

// Ends the installer's lingering helper process "tandrel-download.tmp" (every copy of it) and
// waits briefly for each to go, so that the files it held can be deleted.
void KillSilentInstallProcess();

// KillSilentInstallProcess, then deletes both files. Files that are missing or still in use
// are left; nothing is reported.
void CleanDownloadFiles(const DownloadFiles& files);

// One tick of the progress-file poll: the bar's percent for the installer's progress after the
// download's |ratio|. False, |percent| untouched, while the file cannot be read.
bool ReadInstallProgressPercent(const std::wstring& progressFile, int ratio, int& percent);

// Classifies the run for the flow and logs a restart need or a failure with its code.
InstallOutcome JudgeInstallerRun(const InstallerRunResult& run);
