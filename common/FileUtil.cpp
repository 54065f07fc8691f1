#include "common/FileUtil.h"

#include <windows.h>

#include "common/PathUtil.h"
#include "common/WinHandle.h"

bool FileExists(const std::wstring& path) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    return file.valid();
}

bool PathExists(const std::wstring& path) {
    std::wstring normalized = path;
    NormalizePath(normalized);
    return !normalized.empty() &&
           ::GetFileAttributesW(normalized.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CreateFolderTree(const std::wstring& path) {
    std::wstring folder = path;
    TrimTrailingBackslash(folder);
    if (folder.empty()) {
        return false;
    }
    if (PathExists(folder)) {
        return true;
    }
    folder += L'\\';
    NormalizePath(folder);
    for (size_t i = 1; i < folder.size(); ++i) {
        if (folder[i] != L'\\') {
            continue;
        }
        const std::wstring prefix = folder.substr(0, i);
        if (!PathExists(prefix)) {
            ::CreateDirectoryW(prefix.c_str(), nullptr);
        }
    }
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return PathExists(folder);
}

bool WriteWholeFile(const std::wstring& path, const void* data, size_t size) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    const BYTE* bytes = static_cast<const BYTE*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        bytes += written;
        size -= written;
    }
    return true;
}
