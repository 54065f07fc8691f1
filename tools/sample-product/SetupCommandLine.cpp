#include "SetupCommandLine.h"

#include <cwchar>
#include <cwctype>

namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

// Reads one value starting at |p|: quoted up to the closing quote, otherwise up to a blank.
const wchar_t* ReadValue(const wchar_t* p, std::wstring& value) {
    if (*p == L'"') {
        ++p;
        const wchar_t* end = std::wcschr(p, L'"');
        if (end == nullptr) {
            value.assign(p);  // an unterminated quote runs to the end
            return p + value.size();
        }
        value.assign(p, end);
        return end + 1;
    }
    const wchar_t* start = p;
    while (*p != L'\0' && !IsBlank(*p)) {
        ++p;
    }
    value.assign(start, p);
    return p;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) {
        c = static_cast<wchar_t>(std::towlower(c));
    }
    return text;
}

}  // namespace

SetupArguments ParseSetupCommandLine(const wchar_t* commandLine) {
    SetupArguments arguments;
    const wchar_t* p = commandLine;
    while (IsBlank(*p)) {
        ++p;
    }
    if (*p != L'/' && *p != L'\0') {
        std::wstring programPath;
        p = ReadValue(p, programPath);
    }
    while (*p != L'\0') {
        while (IsBlank(*p)) {
            ++p;
        }
        if (*p == L'\0') {
            break;
        }
        if (*p != L'/') {
            std::wstring stray;
            p = ReadValue(p, stray);
            continue;
        }
        ++p;
        const wchar_t* nameStart = p;
        while (*p != L'\0' && *p != L'=' && !IsBlank(*p)) {
            ++p;
        }
        const std::wstring name = Lower(std::wstring(nameStart, p));
        std::wstring value;
        if (*p == L'=') {
            p = ReadValue(p + 1, value);
        }
        if (name == L"verysilent") {
            arguments.verySilent = true;
        } else if (name == L"tandrel_down") {
            arguments.tandrelDown = true;
        } else if (name == L"wait_run") {
            arguments.waitRun = true;
        } else if (name == L"path") {
            arguments.hasPath = true;
            arguments.path = value;
        } else if (name == L"progress") {
            arguments.hasProgress = true;
            arguments.progress = value;
        } else if (name == L"linger") {
            arguments.linger = true;
            arguments.lingerMs = std::wcstoul(value.c_str(), nullptr, 10);
        }
    }
    return arguments;
}
