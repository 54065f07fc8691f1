#include "common/SystemInfo.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

#include "common/DynamicImport.h"
#include "common/Format.h"
#include "common/PathUtil.h"
#include "common/WinHandle.h"

std::wstring GetWindowsProductName() {
    HKEY raw = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", 0,
                        KEY_READ | KEY_WOW64_64KEY, &raw) != ERROR_SUCCESS) {
        return std::wstring();
    }
    UniqueRegKey key(raw);
    wchar_t value[1024] = {};  // 2048 bytes
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(key.get(), L"ProductName", nullptr, &type,
                           reinterpret_cast<BYTE*>(value), &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return std::wstring();
    }
    return std::wstring(value, bytes / sizeof(wchar_t)).c_str();
}

bool IsNative64BitArchitecture(unsigned architecture) {
    return architecture == PROCESSOR_ARCHITECTURE_AMD64 ||
           architecture == PROCESSOR_ARCHITECTURE_IA64;
}

bool IsNative64Bit() {
    using GetNativeSystemInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto fn = GetExportedFunction<GetNativeSystemInfoFn>(kernel, "GetNativeSystemInfo");
    if (fn == nullptr) {
        return false;
    }
    SYSTEM_INFO info = {};
    fn(&info);
    return IsNative64BitArchitecture(info.wProcessorArchitecture);
}

std::wstring GetFileVersionString(const std::wstring& filePath) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(filePath.c_str(), &ignored);
    if (size == 0) {
        return std::wstring();
    }
    std::vector<BYTE> data(size);
    if (!::GetFileVersionInfoW(filePath.c_str(), 0, size, data.data())) {
        return std::wstring();
    }
    void* translation = nullptr;
    UINT translationLength = 0;
    if (!::VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &translation,
                          &translationLength)) {
        return std::wstring();
    }
    void* fixed = nullptr;
    UINT fixedLength = 0;
    if (!::VerQueryValueW(data.data(), L"\\", &fixed, &fixedLength) ||
        fixedLength < sizeof(VS_FIXEDFILEINFO)) {
        return std::wstring();
    }
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    return FormatString(L"%d.%d.%d.%d", HIWORD(info->dwFileVersionMS),
                        LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS),
                        LOWORD(info->dwFileVersionLS));
}

bool GetFreeDiskMB(const std::wstring& path, uint32_t& freeMB) {
    ULARGE_INTEGER available = {};
    ULARGE_INTEGER total = {};
    ULARGE_INTEGER totalFree = {};
    if (!::GetDiskFreeSpaceExW(path.c_str(), &available, &total, &totalFree)) {
        return false;
    }
    freeMB = static_cast<uint32_t>(totalFree.QuadPart >> 20);
    return true;
}

std::wstring GetProgramFilesFolder() {
    wchar_t folder[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, folder, CSIDL_PROGRAM_FILES, FALSE);
    std::wstring result = folder;
    result += L'\\';
    return result;
}

std::wstring GetModulePath() {
    wchar_t path[MAX_PATH + 1] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring GetModuleFolder() {
    std::wstring folder;
    if (!GetParentFolder(GetModulePath(), folder)) {
        return std::wstring();
    }
    return folder;
}

std::wstring GetExecutableTitle() {
    return StripLastExtension(GetFileNamePart(GetModulePath()));
}

std::wstring GetWorkFolder() {
    return GetProgramFilesFolder() + L"tandrel_down\\" + GetExecutableTitle() + L"\\";
}

std::wstring GetUiLanguageCode() {
    return FormatString(L"%d", static_cast<int>(::GetUserDefaultUILanguage()));
}
