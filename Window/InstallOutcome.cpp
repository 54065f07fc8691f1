#include "Window/InstallOutcome.h"

namespace {

// Windows' success codes of an installation that wants a restart.
constexpr uint32_t kRebootInitiated = 1641;  // ERROR_SUCCESS_REBOOT_INITIATED
constexpr uint32_t kRebootRequired = 3010;   // ERROR_SUCCESS_REBOOT_REQUIRED

}  // namespace

InstallOutcome ClassifyInstallerExit(bool started, uint32_t exitCode) {
    if (!started) {
        return InstallOutcome::kNotStarted;
    }
    switch (exitCode) {
        case 0:
            return InstallOutcome::kInstalled;
        case kRebootInitiated:
        case kRebootRequired:
            return InstallOutcome::kInstalledRestartNeeded;
        default:
            return InstallOutcome::kFailed;
    }
}
