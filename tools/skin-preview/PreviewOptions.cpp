#include "PreviewOptions.h"

#include <cwchar>

namespace {

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9') {
        return c - L'0';
    }
    if (c >= L'a' && c <= L'f') {
        return c - L'a' + 10;
    }
    if (c >= L'A' && c <= L'F') {
        return c - L'A' + 10;
    }
    return -1;
}

std::wstring Unescape(const std::wstring& text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\\' && i + 5 < text.size() && text[i + 1] == L'u') {
            int value = 0;
            bool ok = true;
            for (size_t k = 2; k < 6 && ok; ++k) {
                const int digit = HexDigit(text[i + k]);
                ok = digit >= 0;
                value = value * 16 + digit;
            }
            if (ok) {
                out += static_cast<wchar_t>(value);
                i += 5;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

}  // namespace

const wchar_t* PreviewUsage() {
    return L"skin-preview [--skin skin.xml|skin_rtl.xml] [--page 0|1] [--fold] [--progress N]\n"
           L"             [--rtl-reading] [--text NAME=TEXT]... [--select NAME]...\n"
           L"             [--events FILE] [--paint-time RUNS]\n";
}

bool ParsePreviewOptions(const std::vector<std::wstring>& args, PreviewOptions& options,
                         std::wstring& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == L"--fold") {
            options.fold = true;
        } else if (arg == L"--rtl-reading") {
            options.rtlReading = true;
        } else if (!hasValue) {
            error = L"unknown argument or missing value: " + arg;
            return false;
        } else if (arg == L"--skin") {
            options.skinFile = args[++i];
        } else if (arg == L"--page") {
            options.page = std::wcstol(args[++i].c_str(), nullptr, 10);
        } else if (arg == L"--progress") {
            options.progress = std::wcstol(args[++i].c_str(), nullptr, 10);
        } else if (arg == L"--paint-time") {
            options.paintRuns = std::wcstol(args[++i].c_str(), nullptr, 10);
        } else if (arg == L"--events") {
            options.eventsFile = args[++i];
        } else if (arg == L"--select") {
            options.selected.push_back(args[++i]);
        } else if (arg == L"--text") {
            const std::wstring& pair = args[++i];
            const size_t equals = pair.find(L'=');
            if (equals == std::wstring::npos) {
                error = L"--text needs NAME=TEXT: " + pair;
                return false;
            }
            options.texts.emplace_back(pair.substr(0, equals), Unescape(pair.substr(equals + 1)));
        } else {
            error = L"unknown argument: " + arg;
            return false;
        }
    }
    return true;
}
