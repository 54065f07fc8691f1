// The sample full installer of Orbitane Repavio: installs the embedded product silently below
// the folder given by /path= and reports its percentage in the file given by /progress=.
// Exit codes: 0 (or REPAVIO_SETUP_EXIT_CODE) when installed; 2 without /path=; the system error
// when the product file cannot be written; 1603 (or REPAVIO_SETUP_EXIT_CODE) when told to fail.
#include <windows.h>

#include <string>

#include "SetupCommandLine.h"
#include "SetupOptions.h"
#include "SetupSteps.h"

namespace {

constexpr DWORD kExitBadCommandLine = 2;
constexpr DWORD kExitToldToFail = 1603;  // the code Windows Installer uses for a fatal error

void Report(const SetupArguments& arguments, int percent) {
    if (arguments.hasProgress) {
        WriteProgress(arguments.progress, percent);
    }
}

DWORD RunInstallation(const SetupArguments& arguments, const SetupOptions& options) {
    if (options.lingerMs > 0) {
        StartLingeringHelper(options.lingerMs);
    }
    Report(arguments, 0);
    const DWORD stepCount =
        static_cast<DWORD>((100 + options.stepPercent - 1) / options.stepPercent);
    const DWORD pause = options.durationMs / stepCount;
    bool installed = false;
    for (int percent = options.stepPercent;; percent += options.stepPercent) {
        if (percent > 100) {
            percent = 100;
        }
        ::Sleep(pause);
        if (options.fail && percent >= options.failAtPercent) {
            return options.hasExitCode ? options.exitCode : kExitToldToFail;
        }
        // The product file goes in half way, so that the progress runs on both sides of it.
        if (!installed && percent >= 50) {
            const DWORD error = InstallProduct(ProductFolder(arguments.path));
            if (error != 0) {
                return error;
            }
            installed = true;
        }
        Report(arguments, percent);
        if (percent == 100) {
            break;
        }
    }
    return options.hasExitCode ? options.exitCode : 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The raw text, not argv: the C runtime's splitting would read the backslash before the
    // closing quote of /path="C:\Program Files (x86)\" as an escaped quote.
    const wchar_t* commandLine = ::GetCommandLineW();
    const SetupArguments arguments = ParseSetupCommandLine(commandLine);
    if (arguments.linger) {
        ::Sleep(arguments.lingerMs);
        return 0;
    }
    if (arguments.hasProgress) {
        RecordCommandLine(arguments.progress, commandLine);
    }
    if (!arguments.hasPath || arguments.path.empty()) {
        return static_cast<int>(kExitBadCommandLine);
    }
    return static_cast<int>(RunInstallation(arguments, ReadSetupOptions()));
}
