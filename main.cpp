// Entry point of the setup program: one copy per executable name, then the setup window.
#include <windows.h>

#include "common/SystemInfo.h"
#include "common/WinHandle.h"
#include "Window/SetupApp.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // The instance name is the executable's file name without its last extension, so copies
    // under other names run side by side. A copy under the same name is running, or the name
    // cannot be reserved: nothing is shown. The mutex stays reserved until the process ends.
    UniqueHandle mutex(::CreateMutexW(nullptr, FALSE, GetExecutableTitle().c_str()));
    if (!mutex || ::GetLastError() == ERROR_ALREADY_EXISTS) {
        return -1;
    }
    return RunSetupWindow(instance);
}
