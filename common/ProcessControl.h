// Finding running processes by executable file name and ending them: the product before it is
// reinstalled, and the installer's lingering helper process after the installation.
#pragma once

#include <windows.h>

#include <string>

// The first running process whose executable file name (no path) equals |exeName| exactly,
// letter case included. False when there is none or the process list cannot be read.
bool FindProcessByName(const std::wstring& exeName, DWORD& processId);

// Tells the process to terminate with exit code 0; true when that request succeeded.
bool KillProcessById(DWORD processId);
