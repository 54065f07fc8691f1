// The command line of the skin preview: which skin file, page, panel and progress value to
// show, texts and selections to apply, and where to report events and paint times.
#pragma once

#include <string>
#include <utility>
#include <vector>

struct PreviewOptions {
    std::wstring skinFile = L"skin.xml";
    int page = 0;             // of the "switch" tab layout
    bool fold = false;        // the panel below the pages shown, the window 75 pixels taller
    int progress = -1;        // -1: the skin's own value
    bool rtlReading = false;  // text read right to left (what the setup window does for Arabic)
    std::vector<std::pair<std::wstring, std::wstring>> texts;  // control name, text
    std::vector<std::wstring> selected;                        // options and check boxes
    std::wstring eventsFile;  // notifications and close requests, one per line
    int paintRuns = 0;        // full paints to time, printed to standard output
};

// Reads the arguments; false (with |error| set) for one it does not know. Text values may
// hold \uXXXX escapes, so that any script passes through a plain command line.
bool ParsePreviewOptions(const std::vector<std::wstring>& args, PreviewOptions& options,
                         std::wstring& error);

// The usage text.
const wchar_t* PreviewUsage();
