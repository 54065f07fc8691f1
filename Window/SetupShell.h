// The setup window's start-up: prepares the environment (work folder, log, language package,
// domain) and runs the window until it closes.
#pragma once

#include <windows.h>

// Returns the process exit code: 0 after a normal run.
int RunSetupShell(HINSTANCE instance);
