#include "common/ProcessControl.h"

#include <tlhelp32.h>

#include "common/WinHandle.h"

bool FindProcessByName(const std::wstring& exeName, DWORD& processId) {
    // Entry names hold at most MAX_PATH - 1 characters, so a longer name can never match; no
    // truncation is applied that could make it match a different process.
    if (exeName.empty() || exeName.size() >= MAX_PATH) {
        return false;
    }
    UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return false;
    }
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more;
         more = ::Process32NextW(snapshot.get(), &entry)) {
        if (exeName == entry.szExeFile) {
            processId = entry.th32ProcessID;
            return true;
        }
    }
    return false;
}

bool KillProcessById(DWORD processId) {
    // Termination is all this needs; asking for more fails on processes that grant only that.
    UniqueHandle process(::OpenProcess(PROCESS_TERMINATE, FALSE, processId));
    if (!process) {
        return false;
    }
    return ::TerminateProcess(process.get(), 0) != FALSE;
}
