// Entry point of the setup program: one copy per executable name, then the setup window.
#include <windows.h>

#include "common/Log.h"
#include "common/PathUtil.h"
#include "common/SystemInfo.h"
#include "Window/EmbeddedPackage.h"
#include "Window/SetupShell.h"
#include "common/WinHandle.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The instance name is the executable's file name without its last extension, so copies
    // under other names run side by side.
    const std::wstring instanceName = GetExecutableTitle();
    UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, instanceName.c_str()));
    if (!mutex || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        return -1;
    }
    return RunSetupShell(instance);
}
