// The setup program's run: the single-instance guard, then the setup window created, centred
// and run until it closes. Shared by the program's entry point and the window's test driver.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

class CSetupFrameWnd;

// The name one copy of the program reserves: the executable's file name without its last
// extension ("C:\a.b\setup.new.exe" gives "setup.new"), so copies under other names run side
// by side.
std::wstring InstanceNameOf(const std::wstring& exePath);

// Creates the setup window, centres it on its monitor's work area and runs it until it closes.
// |beforeShow| (optional) sees the window once it is built, before it is shown. Returns 0.
int RunSetupWindow(HINSTANCE instance,
                   const std::function<void(CSetupFrameWnd&)>& beforeShow = nullptr);
