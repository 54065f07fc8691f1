// Helpers for driving the sample product and its installer from tests: their paths, installer
// options set for one scope, started processes that never outlive a test, bounded waits.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "common/WinHandle.h"

std::wstring SampleInstallerPath();
std::wstring SampleProductPath();
// Copies the product to "<folder>Program Files (x86)\Orbitane\Orbitane Repavio\Repavio.exe" (a
// path with blanks, as installed); the copy's path, or empty when it cannot be made.
std::wstring PlaceInstalledProduct(const std::wstring& folder);

// Sets an environment variable of this process (inherited by the installer) for one scope.
class ScopedEnvironment {
  public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    std::wstring name_;
    bool hadValue_ = false;
    std::wstring oldValue_;
};

// A child process that is terminated when the test leaves, if it still runs by then.
class ScopedProcess {
  public:
    ScopedProcess(const std::wstring& exePath, const std::wstring& arguments);
    ~ScopedProcess();
    ScopedProcess(const ScopedProcess&) = delete;
    ScopedProcess& operator=(const ScopedProcess&) = delete;

    bool started() const { return process_.valid(); }
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_.get(); }

  private:
    UniqueHandle process_;
    DWORD id_ = 0;
};

// Polls |condition| every 20 ms until it holds or |limitMs| has passed (a guard against a hang,
// never a measure of speed).
bool WaitUntil(const std::function<bool()>& condition, DWORD limitMs = 60000);

// True when the process with this id is gone or has ended.
bool ProcessHasEnded(DWORD processId);
