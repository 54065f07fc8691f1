#include "Window/InstallPath.h"

#include <windows.h>

#include <new>

#include "common/FileUtil.h"

std::wstring InstallPathFromBox(const std::wstring& boxText) {
    std::wstring path = boxText;
    if (path.empty() || path.back() != L'\\') {
        path += L'\\';
    }
    return path;
}

namespace {

// ERROR_SUCCESS when |folder| exists, otherwise the system's reason. "\." makes the system
// resolve the folder itself, so that "C:" asks for the drive's root.
DWORD ProbeFolder(const std::wstring& folder) {
    const std::wstring probe = folder + L"\\.";
    ::SetLastError(ERROR_SUCCESS);
    return ::GetFileAttributesW(probe.c_str()) != INVALID_FILE_ATTRIBUTES ? ERROR_SUCCESS
                                                                          : ::GetLastError();
}

}  // namespace

bool CheckInstallPath(const std::wstring& path) {
    try {
        std::wstring folder = path;
        if (!folder.empty() && folder.back() == L'\\') {
            folder.pop_back();
        }
        const DWORD error = ProbeFolder(folder);
        if (error == ERROR_SUCCESS) {
            return true;
        }
        if (error == ERROR_PATH_NOT_FOUND) {
            return false;
        }
        // Only the last folder may be missing; it is created at install time. Wine reports a
        // missing drive as "file not found" as well, so the parent must be there.
        const size_t slash = folder.rfind(L'\\');
        if (error == ERROR_FILE_NOT_FOUND && slash != std::wstring::npos) {
            return ProbeFolder(folder.substr(0, slash)) == ERROR_SUCCESS;
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::wstring CreateProductFolder(const std::wstring& installPath, const std::wstring& subFolder) {
    const std::wstring folder = installPath + subFolder;
    CreateFolderTree(folder);
    if (::GetFileAttributesW(folder.c_str()) != FILE_ATTRIBUTE_DIRECTORY) {
        // A folder with other attributes set, or a tree that could not be made: one more try
        // at the folder itself.
        ::CreateDirectoryW(folder.c_str(), nullptr);
    }
    return folder;
}
