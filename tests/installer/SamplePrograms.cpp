#include "SamplePrograms.h"

#include <vector>

#include "common/FileUtil.h"
#include "support/TestFolders.h"

std::wstring SampleInstallerPath() {
    return UnixToWindowsPath(TANDREL_SAMPLE_INSTALLER);
}

std::wstring SampleProductPath() {
    return UnixToWindowsPath(TANDREL_SAMPLE_PRODUCT);
}

std::wstring PlaceInstalledProduct(const std::wstring& folder) {
    const std::wstring productFolder =
        folder + L"Program Files (x86)\\Orbitane\\Orbitane Repavio\\";
    const std::wstring product = productFolder + L"Repavio.exe";
    if (!CreateFolderTree(productFolder) ||
        !::CopyFileW(SampleProductPath().c_str(), product.c_str(), FALSE)) {
        return std::wstring();
    }
    return product;
}

ScopedEnvironment::ScopedEnvironment(const wchar_t* name, const std::wstring& value) : name_(name) {
    const DWORD size = ::GetEnvironmentVariableW(name, nullptr, 0);
    if (size > 0) {
        std::vector<wchar_t> buffer(size);
        ::GetEnvironmentVariableW(name, buffer.data(), size);
        hadValue_ = true;
        oldValue_ = buffer.data();
    }
    ::SetEnvironmentVariableW(name, value.c_str());
}

ScopedEnvironment::~ScopedEnvironment() {
    ::SetEnvironmentVariableW(name_.c_str(), hadValue_ ? oldValue_.c_str() : nullptr);
}

ScopedProcess::ScopedProcess(const std::wstring& exePath, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + exePath + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (::CreateProcessW(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &info)) {
        process_.reset(info.hProcess);
        UniqueHandle thread(info.hThread);
        id_ = info.dwProcessId;
    }
}

ScopedProcess::~ScopedProcess() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), 30000);
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD limitMs) {
    const ULONGLONG start = ::GetTickCount64();
    while (!condition()) {
        if (::GetTickCount64() - start > limitMs) {
            return false;
        }
        ::Sleep(20);
    }
    return true;
}

bool ProcessHasEnded(DWORD processId) {
    UniqueHandle process(::OpenProcess(SYNCHRONIZE, FALSE, processId));
    return !process || ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
}
