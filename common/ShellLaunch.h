// Starting things through the shell: the installed product (with this program's rights or as the
// interactive, non-elevated user) and addresses or files in their default program.
#pragma once

#include <windows.h>

#include <string>

// Opens |target| with the shell verb "Open", shown normally; the shell's result (above 32 on
// success). Any thread: COM is set up for the call when the thread has none.
HINSTANCE OpenWithShell(HWND owner, const std::wstring& target);

// Starts the product. |startDirectly| shell-executes it with this program's rights. Otherwise it
// is started as the interactive user through the system's interactive-user task entry point
// (wdc.dll), whose result is final: when it fails, nothing else is tried, so the product never
// runs elevated against its setting. Only where wdc.dll or its entry point is missing (older
// systems, Wine) is it started through the desktop shell's own process (still non-elevated), and
// when that fails too, directly. Every route taken is logged. True when a route reported a start.
bool LaunchProduct(const std::wstring& exePath, bool startDirectly);
