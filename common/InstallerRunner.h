// Runs the downloaded full installer silently with its fixed command line and waits for it.
// Only the process start and wait live here; progress is read separately (ProgressFile.h).
#pragma once

#include <windows.h>

#include <functional>
#include <string>

enum class InstallerRunStatus {
    kNotStarted,  // the process could not be created; nothing was installed
    kRan,         // the process ran and has ended; see exitCode
};

struct InstallerRunResult {
    InstallerRunStatus status = InstallerRunStatus::kNotStarted;
    DWORD startError = ERROR_SUCCESS;  // GetLastError of the failed start
    DWORD processId = 0;
    DWORD exitCode = 0;  // valid when the installer ran

    bool Ran() const { return status == InstallerRunStatus::kRan; }
    bool Succeeded() const { return Ran() && exitCode == 0; }
};

// " /verysilent /tandrel_down /wait_run /path="<folder>" /progress="<file>"": the installer's
// whole command line, without the program path in front. Paths are quoted but not escaped, so a
// folder ending in a backslash reaches the installer exactly so.
std::wstring BuildSilentInstallCommandLine(const std::wstring& installFolder,
                                           const std::wstring& progressFilePath);

// Starts the installer suspended, resumes it and blocks until it has ended. The result tells a
// run (with its exit code) apart from an installer that could not be started at all, so that the
// caller never reports the latter as a finished installation. |onStarted|, when given, runs once
// the process is running and before the wait: from then on its program file is in use and can
// no longer be swapped, so a caller that kept the file from changing may let it go.
InstallerRunResult RunSilentInstaller(const std::wstring& installerPath,
                                      const std::wstring& installFolder,
                                      const std::wstring& progressFilePath,
                                      const std::function<void()>& onStarted = nullptr);
