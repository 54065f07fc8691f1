// The sample installer's command line, read from the raw text: switches such as /verysilent and
// /path="C:\Program Files (x86)\", whose quoted value may end in a backslash before the quote.
#pragma once

#include <string>

struct SetupArguments {
    bool verySilent = false;
    bool tandrelDown = false;
    bool waitRun = false;
    bool hasPath = false;
    std::wstring path;
    bool hasProgress = false;
    std::wstring progress;
    // Set in the lingering helper copy: how long it stays before it ends by itself.
    bool linger = false;
    unsigned long lingerMs = 0;
};

// A leading program path (quoted or not) is skipped; unknown switches are ignored. A quoted
// value runs to the next double quote, with backslashes taken literally, because the caller
// never escapes quotes.
SetupArguments ParseSetupCommandLine(const wchar_t* commandLine);
