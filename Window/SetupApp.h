// The setup program's run: the setup window created, centred and run until it closes. Shared
// by the program's entry point and the window's test driver.
#pragma once

#include <windows.h>

#include <functional>

class CSetupFrameWnd;

// Creates the setup window, centres it on its monitor's work area and runs it until it closes.
// |beforeShow| (optional) sees the window once it is built, before it is shown. Returns 0.
int RunSetupWindow(HINSTANCE instance,
                   const std::function<void(CSetupFrameWnd&)>& beforeShow = nullptr);
