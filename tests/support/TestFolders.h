// Test helpers for files under Wine: scratch folders, whole-file reads, Unix paths seen from
// Windows (drive Z: maps the Linux root), and child processes of the test executable itself.
#pragma once

#include <functional>
#include <string>

// A fresh folder under the Windows temp folder, removed with its contents on destruction.
class ScopedTempFolder {
  public:
    explicit ScopedTempFolder(const std::wstring& tag);
    ~ScopedTempFolder();
    ScopedTempFolder(const ScopedTempFolder&) = delete;
    ScopedTempFolder& operator=(const ScopedTempFolder&) = delete;

    // Ends with a backslash.
    const std::wstring& path() const { return path_; }

  private:
    std::wstring path_;
};

void RemoveTree(const std::wstring& folder);
std::string ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool IsDirectory(const std::wstring& path);
std::wstring UnixToWindowsPath(const std::string& unixPath);
// "/tmp/tandrel-<tag>-<n>/": a Unix folder for test servers' state, one per Wine prefix, so that
// test runs in other prefixes on the same machine never see (or end) each other's servers.
std::string UnixScratchFolder(const std::string& tag);

// Runs |commandLine| and returns the program's exit code; -1 when it cannot start or is still
// running after |timeoutMs| (it is then ended).
int RunProgram(std::wstring commandLine, unsigned timeoutMs);

// Child scenarios: the test executable started again with "--child=NAME [args]" runs the
// scenario registered under NAME instead of the tests, in a process of its own (for state
// that is process-wide, such as the first log initialisation).
using ChildScenario = std::function<int(const std::wstring& argument)>;
bool RegisterChildScenario(const char* name, ChildScenario scenario);
// Runs the scenario in a child process and returns its exit code (-1 when it cannot start).
int RunChildScenario(const char* name, const std::wstring& argument = L"",
                     unsigned timeoutMs = 60000);

#define TANDREL_CHILD_SCENARIO(name)                               \
    static int ChildScenario_##name(const std::wstring& argument); \
    static const bool kChildScenarioRegistered_##name =            \
        RegisterChildScenario(#name, &ChildScenario_##name);       \
    static int ChildScenario_##name([[maybe_unused]] const std::wstring& argument)
