#include "SetupSteps.h"

#include <cstdio>
#include <string>

#include "common/WinHandle.h"

namespace {

// Kept in step with the RCDATA id in Setup.rc.in.
constexpr WORD kProductResourceId = 201;

bool WriteBytes(const std::wstring& path, const void* data, DWORD size) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    DWORD written = 0;
    return ::WriteFile(file.get(), data, size, &written, nullptr) && written == size;
}

std::wstring FolderOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

bool CreateFolders(const std::wstring& folder) {
    for (size_t i = folder.find(L'\\'); i != std::wstring::npos; i = folder.find(L'\\', i + 1)) {
        const std::wstring prefix = folder.substr(0, i);
        if (!prefix.empty() && prefix.back() != L':') {
            ::CreateDirectoryW(prefix.c_str(), nullptr);
        }
    }
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Helpers of earlier runs cannot delete their own program file. Remove those whose helper has
// ended; a running one keeps its file locked and is left alone.
void RemoveEndedHelpers(const std::wstring& temp) {
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((temp + L"orbitane-repavio-setup-*").c_str(), &data));
    if (!find) {
        return;
    }
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            const std::wstring folder = temp + data.cFileName;
            ::DeleteFileW((folder + L"\\tandrel-download.tmp").c_str());
            ::RemoveDirectoryW(folder.c_str());
        }
    } while (::FindNextFileW(find.get(), &data));
}

}  // namespace

bool WriteProgress(const std::wstring& progressPath, int percent) {
    char text[16];
    const int length = std::snprintf(text, sizeof(text), "%d", percent);
    const std::wstring sidePath = progressPath + L".part";
    if (!WriteBytes(sidePath, text, static_cast<DWORD>(length))) {
        return false;
    }
    // A reader that holds the file open without delete sharing blocks the move for a moment.
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (::MoveFileExW(sidePath.c_str(), progressPath.c_str(), MOVEFILE_REPLACE_EXISTING)) {
            return true;
        }
        ::Sleep(10);
    }
    ::DeleteFileW(sidePath.c_str());
    return WriteBytes(progressPath, text, static_cast<DWORD>(length));
}

bool RecordCommandLine(const std::wstring& progressPath, const std::wstring& commandLine) {
    const std::wstring folder = FolderOf(progressPath);
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, commandLine.c_str(), static_cast<int>(commandLine.size()),
                              nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size : 0, '\0');
    if (size > 0) {
        ::WideCharToMultiByte(CP_UTF8, 0, commandLine.c_str(), static_cast<int>(commandLine.size()),
                              &utf8[0], size, nullptr, nullptr);
    }
    return WriteBytes(folder + L"commandline.txt", utf8.data(), static_cast<DWORD>(utf8.size()));
}

std::wstring ProductFolder(const std::wstring& installFolder) {
    std::wstring folder = installFolder;
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') {
        folder += L'\\';
    }
    return folder + L"Orbitane\\Orbitane Repavio\\";
}

DWORD InstallProduct(const std::wstring& productFolder) {
    HRSRC resource = ::FindResourceW(nullptr, MAKEINTRESOURCEW(kProductResourceId), RT_RCDATA);
    HGLOBAL loaded = resource != nullptr ? ::LoadResource(nullptr, resource) : nullptr;
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr) {
        return ERROR_RESOURCE_DATA_NOT_FOUND;
    }
    if (!CreateFolders(productFolder)) {
        return ::GetLastError() != ERROR_SUCCESS ? ::GetLastError() : ERROR_PATH_NOT_FOUND;
    }
    if (!WriteBytes(productFolder + L"Repavio.exe", bytes, ::SizeofResource(nullptr, resource))) {
        return ::GetLastError() != ERROR_SUCCESS ? ::GetLastError() : ERROR_WRITE_FAULT;
    }
    return 0;
}

bool StartLingeringHelper(DWORD lingerMs) {
    wchar_t self[MAX_PATH] = {};
    wchar_t temp[MAX_PATH] = {};
    if (::GetModuleFileNameW(nullptr, self, MAX_PATH) == 0 || ::GetTempPathW(MAX_PATH, temp) == 0) {
        return false;
    }
    RemoveEndedHelpers(temp);
    // A folder per run, so a helper still running from an earlier run never blocks the copy.
    const std::wstring folder =
        std::wstring(temp) + L"orbitane-repavio-setup-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring helper = folder + L"\\tandrel-download.tmp";
    if (!::CopyFileW(self, helper.c_str(), FALSE)) {
        return false;
    }
    std::wstring commandLine = L"\"" + helper + L"\" /linger=" + std::to_wstring(lingerMs);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(helper.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
        return false;
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    return true;
}
