#include "common/ZipExtract.h"

#include <windows.h>

#include <new>
#include <vector>

#include "common/DynamicImport.h"
#include "common/FileUtil.h"
#include "common/Log.h"
#include "common/StringUtil.h"
#include "common/TextConvert.h"
#include "common/ZipReader.h"

namespace {

// The archive's files are small; anything beyond this is a forged size, not a package file.
constexpr uint32_t kMaxEntryBytes = 256u * 1024 * 1024;

bool IsDirectoryExactly(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) == FILE_ATTRIBUTE_DIRECTORY;
}

// SHCreateDirectory, exported by shell32 under ordinal 165 only on older systems.
void CreateDirectoryWithShell(const std::wstring& folder) {
    using ShCreateDirectoryFn = int(WINAPI*)(HWND, LPCWSTR);
    HMODULE shell = ::GetModuleHandleW(L"shell32.dll");
    if (shell == nullptr) {
        shell = ::LoadLibraryW(L"shell32.dll");  // stays loaded: the program links shell32
    }
    const auto create = GetExportedFunction<ShCreateDirectoryFn>(shell, MAKEINTRESOURCEA(165));
    if (create != nullptr) {
        create(nullptr, folder.c_str());
    } else {
        CreateFolderTree(folder);
    }
}

}  // namespace

bool IsSafeEntryName(const std::wstring& name) {
    if (name.empty() || name[0] == L'/' || name[0] == L'\\' ||
        name.find(L':') != std::wstring::npos) {
        return false;
    }
    std::wstring path = name;
    ReplaceAll(path, L"\\", L"/");
    size_t begin = 0;
    while (begin <= path.size()) {
        size_t end = path.find(L'/', begin);
        if (end == std::wstring::npos) {
            end = path.size();
        }
        const std::wstring part = path.substr(begin, end - begin);
        if (part == L"..") {
            return false;
        }
        begin = end + 1;
    }
    return true;
}

bool ExtractZipToFolder(const void* bytes, size_t size, const std::wstring& folder) {
    CreateDirectoryWithShell(folder);
    if (!IsDirectoryExactly(folder)) {
        ::CreateDirectoryW(folder.c_str(), nullptr);
    }

    CZipReader zip;
    if (!zip.Open(bytes, size)) {
        TLOG("ExtractZipToFolder", "ERR:not a readable zip archive (%s)", zip.LastError().c_str());
        return true;
    }
    std::wstring base = folder.substr(0, MAX_PATH);
    if (!base.empty() && base.back() != L'\\') {
        base += L'\\';
    }

    for (int i = 0; i < zip.GetEntryCount(); ++i) {
        ZipEntryInfo info;
        zip.GetEntryInfo(i, info);
        if (!IsSafeEntryName(info.name)) {
            TLOGW("ExtractZipToFolder", L"ERR:skip entry outside the folder (%s)",
                  info.name.c_str());
            continue;
        }
        std::wstring path = base + info.name;
        ReplaceAll(path, L"/", L"\\");
        if (info.uncompressedSize == 0) {
            if (!IsDirectoryExactly(path)) {
                ::CreateDirectoryW(path.c_str(), nullptr);
            }
            continue;
        }
        if (info.uncompressedSize > kMaxEntryBytes) {
            TLOGW("ExtractZipToFolder", L"ERR:skip oversized entry (%s)", info.name.c_str());
            continue;
        }
        std::vector<char> data;
        try {
            data.resize(info.uncompressedSize);
        } catch (const std::bad_alloc&) {
            TLOGW("ExtractZipToFolder", L"ERR:no memory for entry (%s)", info.name.c_str());
            continue;
        }
        if (!zip.Inflate(i, data.data(), data.size())) {
            TLOGW("ExtractZipToFolder", L"ERR:skip damaged entry (%s): %s", info.name.c_str(),
                  AnsiToWide(zip.LastError()).c_str());
            continue;
        }
        WriteWholeFile(path, data.data(), data.size());
    }
    return true;
}
