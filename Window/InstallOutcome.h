// How the flow judges a finished run of the silent installer: installed (perhaps needing a
// restart), failed with its exit code, or never started. Windows-free.
#pragma once

#include <cstdint>

enum class InstallOutcome {
    kInstalled,
    kInstalledRestartNeeded,  // exit code 1641 (restart started) or 3010 (restart required)
    kFailed,                  // any other exit code
    kNotStarted,              // the installer process could not be created
};

InstallOutcome ClassifyInstallerExit(bool started, uint32_t exitCode);

// The finish page follows only an installation; anything else is shown as a failure.
inline bool IsInstalled(InstallOutcome outcome) {
    return outcome == InstallOutcome::kInstalled ||
           outcome == InstallOutcome::kInstalledRestartNeeded;
}
