#include "AddressApiServer.h"

#include <windows.h>

#include <cstdlib>

#include "LocalServer.h"
#include "SamplePrograms.h"
#include "common/FileUtil.h"
#include "common/Format.h"
#include "common/StringUtil.h"
#include "support/TestFolders.h"

namespace {

constexpr int kMaxLifetimeSeconds = 900;

bool Exists(const std::string& unixPath) {
    return ::GetFileAttributesW(UnixToWindowsPath(unixPath).c_str()) != INVALID_FILE_ATTRIBUTES;
}

int ReadPid(const std::string& unixPath) {
    return std::atoi(ReadFileBytes(UnixToWindowsPath(unixPath)).c_str());
}

// Ends the server and waits until it has removed its ready file.
void EndServer(int pid, const std::string& readyFile) {
    if (pid > 0) {
        StartUnixProgram(FormatString(L"\"Z:\\bin\\kill\" -TERM %d", pid));
        WaitUntil([&] { return !Exists(readyFile); }, 5000);
    }
}

}  // namespace

bool AddressApiServer::Start(const std::string& address, std::string& error) {
    Stop();
    stateUnix_ = UnixScratchFolder("flow-tests") + address;
    CreateFolderTree(UnixToWindowsPath(stateUnix_));
    const std::string readyFile = stateUnix_ + "/ready";
    // A server left behind by a crashed run still holds the port.
    EndServer(ReadPid(readyFile), readyFile);
    ::DeleteFileW(UnixToWindowsPath(readyFile).c_str());
    ClearRequests();

    const std::wstring command = FormatString(
        L"\"Z:\\usr\\bin\\python3\" \"%S/tests/servers/address_api.py\" --address %S "
        L"--request-log \"%S/requests.log\" --ready-file \"%S\" --log \"%S/server.log\" "
        L"--max-lifetime %d",
        TANDREL_SOURCE_DIR, address.c_str(), stateUnix_.c_str(), readyFile.c_str(),
        stateUnix_.c_str(), kMaxLifetimeSeconds);
    if (!StartUnixProgram(command)) {
        error = FormatString("cannot start python3 (%lu)", ::GetLastError());
        return false;
    }
    if (!WaitUntil([&] { return Exists(readyFile); }, 30000)) {
        error = "the server did not report ready; see " + stateUnix_ + "/server.log";
        return false;
    }
    pid_ = ReadPid(readyFile);
    return true;
}

void AddressApiServer::Stop() {
    EndServer(pid_, stateUnix_ + "/ready");
    pid_ = 0;
}

std::vector<ApiRequest> AddressApiServer::Requests() const {
    std::vector<ApiRequest> requests;
    std::vector<std::string> lines;
    SplitAll(ReadFileBytes(UnixToWindowsPath(stateUnix_ + "/requests.log")), "\n", lines);
    for (const std::string& line : lines) {
        std::vector<std::string> fields;
        SplitAll(line, "\t", fields);
        if (fields.size() >= 4) {
            requests.push_back({fields[0], fields[1], fields[2], fields[3],
                                fields.size() > 4 ? fields[4] : std::string()});
        }
    }
    return requests;
}

void AddressApiServer::ClearRequests() const {
    ::DeleteFileW(UnixToWindowsPath(stateUnix_ + "/requests.log").c_str());
}
