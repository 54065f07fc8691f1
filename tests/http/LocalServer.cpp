#include "LocalServer.h"

#include <windows.h>

#include "common/FileUtil.h"
#include "common/Format.h"
#include "common/StringUtil.h"
#include "common/TextConvert.h"
#include "common/WinHandle.h"
#include "support/TestFolders.h"
#include "TestCa.h"

namespace {

constexpr int kMaxLifetimeSeconds = 900;

int ReadPid(const std::string& unixPath) {
    const std::string text = ReadFileBytes(UnixToWindowsPath(unixPath));
    return text.empty() ? 0 : atoi(text.c_str());
}

void KillUnixProcess(int pid) {
    if (pid > 0) {
        StartUnixProgram(FormatString(L"\"Z:\\bin\\kill\" -TERM %d", pid));
    }
}

// Waits until |unixPath| exists (|present|) or is gone; false after |timeoutMs|.
bool WaitForFile(const std::string& unixPath, bool present, DWORD timeoutMs) {
    const std::wstring path = UnixToWindowsPath(unixPath);
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    while (::GetTickCount64() < deadline) {
        if ((::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) == present) {
            return true;
        }
        ::Sleep(50);
    }
    return false;
}

}  // namespace

bool StartUnixProgram(const std::wstring& commandLine) {
    std::wstring line = commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!::CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          nullptr, &startup, &process)) {
        return false;
    }
    // Wine starts a Unix program without a Windows process: hProcess comes back null and the
    // other fields hold leftovers (hThread was seen as 0x1e, 0x100, ...). Closing such a value
    // closes an unrelated handle of this process (crypt32's Root store key, for one), so the
    // pair is closed only when it is real.
    if (process.hProcess != nullptr) {
        UniqueHandle processHandle(process.hProcess);
        UniqueHandle threadHandle(process.hThread);
    }
    return true;
}

bool LocalServer::Start(const LocalServerOptions& options, std::string& error) {
    Stop();
    address_ = options.address;
    stateUnix_ = UnixScratchFolder("http-tests") + address_;
    rootUnix_ = stateUnix_ + "/root";
    CreateFolderTree(UnixToWindowsPath(rootUnix_));
    const std::string readyFile = stateUnix_ + "/ready";
    const std::string requestLog = stateUnix_ + "/requests.log";

    // A server left behind by a crashed run still holds the ports: end it first.
    const int stale = ReadPid(readyFile);
    if (stale > 0) {
        KillUnixProcess(stale);
        WaitForFile(readyFile, false, 5000);
    }
    ::DeleteFileW(UnixToWindowsPath(readyFile).c_str());
    ::DeleteFileW(UnixToWindowsPath(requestLog).c_str());

    const std::wstring command = FormatString(
        L"\"Z:\\usr\\bin\\python3\" \"%S/tests/servers/%S\" --address %S --root "
        L"\"%S\" --http-port %d --https-port %d --cert-dir \"%S\" --rate %d --request-log \"%S\" "
        L"--ready-file \"%S\" --log \"%S/server.log\" --max-lifetime %d",
        TANDREL_SOURCE_DIR, options.script.c_str(), address_.c_str(), rootUnix_.c_str(),
        options.http ? 80 : 0, options.https ? 443 : 0,
        (options.untrusted ? TestCaFolder() + "/untrusted" : TestCaFolder()).c_str(), options.rate,
        requestLog.c_str(), readyFile.c_str(), stateUnix_.c_str(), kMaxLifetimeSeconds);
    if (!StartUnixProgram(command)) {
        error = FormatString("cannot start python3 (%lu)", ::GetLastError());
        return false;
    }
    if (!WaitForFile(readyFile, true, 30000)) {
        error = "the server did not report ready; see " + stateUnix_ + "/server.log";
        return false;
    }
    pid_ = ReadPid(readyFile);
    if (options.https && !options.untrusted && !TrustTestCa(error)) {
        return false;
    }
    return true;
}

void LocalServer::Stop() {
    if (pid_ > 0) {
        KillUnixProcess(pid_);
        WaitForFile(stateUnix_ + "/ready", false, 5000);
        pid_ = 0;
    }
}

std::wstring LocalServer::RootWindows() const {
    return UnixToWindowsPath(rootUnix_ + "/");
}

std::wstring LocalServer::Url(const std::string& path) const {
    return AnsiToWide("https://" + address_ + "/" + path);
}

std::wstring LocalServer::PlainUrl(const std::string& path) const {
    return AnsiToWide("http://" + address_ + "/" + path);
}

std::vector<ServedRequest> LocalServer::Requests() const {
    std::vector<ServedRequest> requests;
    std::vector<std::string> lines;
    SplitAll(ReadFileBytes(UnixToWindowsPath(stateUnix_ + "/requests.log")), "\n", lines);
    for (const std::string& line : lines) {
        std::vector<std::string> fields;
        SplitAll(line, "\t", fields);
        if (fields.size() < 7) {
            continue;
        }
        ServedRequest request;
        request.port = atoi(fields[0].c_str());
        request.method = fields[1];
        request.path = fields[2];
        request.range = fields[3];
        request.userAgent = fields[4];
        request.status = atoi(fields[5].c_str());
        request.bytesSent = atoll(fields[6].c_str());
        request.headerNames = fields.size() > 7 ? fields[7] : std::string();
        request.ifRange = fields.size() > 8 ? fields[8] : std::string();
        requests.push_back(request);
    }
    return requests;
}

std::vector<ServedRequest> LocalServer::WaitForRequests(size_t count, unsigned timeoutMs) const {
    const ULONGLONG deadline = ::GetTickCount64() + timeoutMs;
    std::vector<ServedRequest> requests = Requests();
    while (requests.size() < count && ::GetTickCount64() < deadline) {
        ::Sleep(20);
        requests = Requests();
    }
    return requests;
}

std::wstring LocalServer::RequestLogPath() const {
    return UnixToWindowsPath(stateUnix_ + "/requests.log");
}

void LocalServer::ClearRequests() const {
    ::DeleteFileW(RequestLogPath().c_str());
}
