// Starting things through the shell: the installed product (with this program's rights or as the
// interactive, non-elevated user) and addresses or files in their default program.
#pragma once

#include <windows.h>

#include <string>

// Opens |target| with the shell verb "Open", shown normally; the shell's result (above 32 on
// success).
HINSTANCE OpenWithShell(HWND owner, const std::wstring& target);

// Starts the product. |startDirectly| shell-executes it with this program's rights. Otherwise it
// is started as the interactive user through the Windows Diagnostic Center's task entry point;
// where that is missing or fails, through the desktop shell's own process (so that it still runs
// non-elevated), and only when that fails too, directly. Every route taken is logged. True when
// one of the routes reported a start.
bool LaunchProduct(const std::wstring& exePath, bool startDirectly);
