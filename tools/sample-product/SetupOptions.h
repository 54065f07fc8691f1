// Behaviour switches of the sample installer for demos and tests. They come from environment
// variables (inherited from whoever starts the setup program), so that the installer's command
// line stays exactly the one the setup program builds.
#pragma once

#include <windows.h>

struct SetupOptions {
    DWORD durationMs = 4000;  // REPAVIO_SETUP_DURATION_MS: time from 0 to 100 percent
    int stepPercent = 5;      // REPAVIO_SETUP_STEP: percent added per progress write
    bool fail = false;        // REPAVIO_SETUP_FAIL_AT: give up at this percent, nothing installed
    int failAtPercent = 0;
    bool hasExitCode = false;  // REPAVIO_SETUP_EXIT_CODE: exit code of the run
    DWORD exitCode = 0;
    DWORD lingerMs = 0;  // REPAVIO_SETUP_LINGER_MS: leave "tandrel-download.tmp" running this long
};

SetupOptions ReadSetupOptions();
