#include "common/InstallerRunner.h"

#include <vector>

#include "common/Log.h"
#include "common/WinHandle.h"

std::wstring BuildSilentInstallCommandLine(const std::wstring& installFolder,
                                           const std::wstring& progressFilePath) {
    std::wstring commandLine = L" /verysilent /tandrel_down /wait_run /path=\"";
    commandLine += installFolder;
    commandLine += L"\" /progress=\"";
    commandLine += progressFilePath;
    commandLine += L'"';
    return commandLine;
}

InstallerRunResult RunSilentInstaller(const std::wstring& installerPath,
                                      const std::wstring& installFolder,
                                      const std::wstring& progressFilePath,
                                      const std::function<void()>& onStarted) {
    InstallerRunResult result;
    const std::wstring commandLine = BuildSilentInstallCommandLine(installFolder, progressFilePath);
    // CreateProcessW may write into the command line, so it gets a private buffer.
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(L'\0');

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(installerPath.c_str(), buffer.data(), nullptr, nullptr, FALSE,
                          CREATE_SUSPENDED, nullptr, nullptr, &startup, &info)) {
        result.startError = ::GetLastError();
        TLOGW("RunSilentInstaller", L"installer could not be started, error %lu: %s",
              result.startError, installerPath.c_str());
        return result;
    }
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);
    if (::ResumeThread(thread.get()) == static_cast<DWORD>(-1)) {
        // A process that can never run would be waited for forever; it never started its work.
        result.startError = ::GetLastError();
        ::TerminateProcess(process.get(), result.startError);
        ::WaitForSingleObject(process.get(), INFINITE);
        TLOG("RunSilentInstaller", "installer could not be resumed, error %lu", result.startError);
        return result;
    }
    result.status = InstallerRunStatus::kRan;
    result.processId = info.dwProcessId;
    TLOG("RunSilentInstaller", "installer started, pid %lu", info.dwProcessId);
    if (onStarted) {
        onStarted();
    }

    ::WaitForSingleObject(process.get(), INFINITE);
    if (!::GetExitCodeProcess(process.get(), &result.exitCode)) {
        result.exitCode = ::GetLastError();
    }
    TLOG("RunSilentInstaller", "installer pid %lu ended with exit code %lu", info.dwProcessId,
         result.exitCode);
    return result;
}
