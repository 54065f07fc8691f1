#include "support/TestFolders.h"

#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <map>

#include "common/FileUtil.h"
#include "common/Format.h"
#include "common/Log.h"
#include "common/SystemInfo.h"
#include "common/WinHandle.h"

namespace {

std::map<std::string, ChildScenario>& Scenarios() {
    static std::map<std::string, ChildScenario> scenarios;
    return scenarios;
}

}  // namespace

ScopedTempFolder::ScopedTempFolder(const std::wstring& tag) {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    path_ = FormatString(L"%standrel-tests\\%s-%lu-%d\\", temp, tag.c_str(),
                         ::GetCurrentProcessId(), counter++);
    RemoveTree(path_);
    CreateFolderTree(path_);
}

ScopedTempFolder::~ScopedTempFolder() {
    RemoveTree(path_);
}

void RemoveTree(const std::wstring& folder) {
    std::wstring base = folder;
    if (!base.empty() && base.back() == L'\\') {
        base.pop_back();
    }
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((base + L"\\*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring child = base + L"\\" + name;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileW(child.c_str());
            }
        } while (::FindNextFileW(find.get(), &data));
    }
    find.reset();  // the search must not hold the folder open while it is removed
    ::RemoveDirectoryW(base.c_str());
}

std::string ReadFileBytes(const std::wstring& path) {
    UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    if (!file) {
        return bytes;
    }
    char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    return bytes;
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    return WriteWholeFile(path, bytes.data(), bytes.size());
}

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string UnixScratchFolder(const std::string& tag) {
    char prefix[1024] = {};
    ::GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof(prefix));
    const size_t key = std::hash<std::string>()(prefix);
    return "/tmp/tandrel-" + tag + "-" + std::to_string(key % 1000000007u) + "/";
}

std::wstring UnixToWindowsPath(const std::string& unixPath) {
    std::wstring path = L"Z:";
    for (char c : unixPath) {
        path += c == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return path;
}

bool RegisterChildScenario(const char* name, ChildScenario scenario) {
    Scenarios()[name] = std::move(scenario);
    return true;
}

int RunProgram(std::wstring commandLine, unsigned timeoutMs) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process)) {
        return -1;
    }
    UniqueHandle processHandle(process.hProcess);
    UniqueHandle threadHandle(process.hThread);
    DWORD code = 0;
    if (::WaitForSingleObject(processHandle.get(), timeoutMs) != WAIT_OBJECT_0 ||
        !::GetExitCodeProcess(processHandle.get(), &code)) {
        ::TerminateProcess(processHandle.get(), 1);
        return -1;
    }
    return static_cast<int>(code);
}

int RunChildScenario(const char* name, const std::wstring& argument, unsigned timeoutMs) {
    return RunProgram(
        FormatString(L"\"%s\" --child=%S %s", GetModulePath().c_str(), name, argument.c_str()),
        timeoutMs);
}

// Replaces gtest_main: dispatches "--child=NAME" to its scenario, otherwise runs the tests.
int main(int argc, char** argv) {
    int wideCount = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &wideCount);
    if (wide != nullptr && wideCount >= 2 && wcsncmp(wide[1], L"--child=", 8) == 0) {
        std::string name;
        for (const wchar_t* p = wide[1] + 8; *p; ++p) {
            name += static_cast<char>(*p);
        }
        std::wstring argument = wideCount >= 3 ? wide[2] : L"";
        ::LocalFree(wide);
        const auto it = Scenarios().find(name);
        return it == Scenarios().end() ? 99 : it->second(argument);
    }
    if (wide != nullptr) {
        ::LocalFree(wide);
    }
    // The tests' own log goes to the temp folder, never to the default file next to the
    // executable, which the lazy-initialisation test watches.
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    LogInit(L"tests.log", (std::wstring(temp) + L"tandrel-tests\\logs").c_str());
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
