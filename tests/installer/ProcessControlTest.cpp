// Finding and ending processes by executable name, with the sample product and the helper that
// the sample installer leaves behind; starting the product through the shell.
#include <windows.h>
#include <sddl.h>

#include <gtest/gtest.h>

#include "SamplePrograms.h"
#include "common/Format.h"
#include "common/InstallerRunner.h"
#include "common/PathUtil.h"
#include "common/ProcessControl.h"
#include "common/ShellLaunch.h"
#include "support/TestFolders.h"

namespace {

bool IsRunning(const wchar_t* name) {
    DWORD id = 0;
    return FindProcessByName(name, id);
}

std::wstring ImagePathOf(DWORD processId) {
    UniqueHandle process(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    wchar_t path[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (!process || !::QueryFullProcessImageNameW(process.get(), 0, path, &size)) {
        return std::wstring();
    }
    return path;
}

// Ends the product that a shell start left running, checking that it was the copy we started.
void EndLaunchedProduct(const std::wstring& exePath) {
    DWORD id = 0;
    ASSERT_TRUE(WaitUntil([&] { return FindProcessByName(L"Repavio.exe", id); }));
    EXPECT_EQ(GetFileNamePart(exePath), GetFileNamePart(ImagePathOf(id)));
    EXPECT_TRUE(KillProcessById(id));
    EXPECT_TRUE(WaitUntil([&] { return ProcessHasEnded(id); }));
}

}  // namespace

TEST(ProcessControlTest, ProductIsFoundByItsExactNameAndEnded) {
    ScopedProcess product(SampleProductPath(), L"");
    ASSERT_TRUE(product.started());

    DWORD found = 0;
    ASSERT_TRUE(WaitUntil([&] { return FindProcessByName(L"Repavio.exe", found); }));
    EXPECT_EQ(product.id(), found);

    DWORD untouched = 12345;
    EXPECT_FALSE(FindProcessByName(L"repavio.exe", untouched));
    EXPECT_FALSE(FindProcessByName(L"REPAVIO.EXE", untouched));
    EXPECT_FALSE(FindProcessByName(L"Repavio", untouched));
    EXPECT_FALSE(FindProcessByName(L"Repavio.exe ", untouched));
    EXPECT_FALSE(FindProcessByName(L"", untouched));
    EXPECT_FALSE(FindProcessByName(std::wstring(300, L'R'), untouched));
    EXPECT_EQ(12345u, untouched);

    EXPECT_TRUE(KillProcessById(found));
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(product.handle(), 60000));
    DWORD exitCode = 1;
    ASSERT_TRUE(::GetExitCodeProcess(product.handle(), &exitCode));
    EXPECT_EQ(0u, exitCode);

    EXPECT_FALSE(KillProcessById(0));
}

// A process whose security grants others nothing but the right to end it (and to wait for it).
TEST(ProcessControlTest, ProcessThatGrantsOnlyTerminationIsEnded) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:(A;;0x00100001;;;WD)", SDDL_REVISION_1, &descriptor, nullptr));
    SECURITY_ATTRIBUTES security = {sizeof(security), descriptor, FALSE};
    std::wstring commandLine = L"\"" + SampleProductPath() + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    const BOOL started = ::CreateProcessW(SampleProductPath().c_str(), &commandLine[0], &security,
                                          nullptr, FALSE, 0, nullptr, nullptr, &startup, &info);
    ::LocalFree(descriptor);
    ASSERT_TRUE(started);
    UniqueHandle process(info.hProcess);
    UniqueHandle thread(info.hThread);

    const bool ended = KillProcessById(info.dwProcessId);
    EXPECT_TRUE(ended);
    if (ended) {
        EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process.get(), 60000));
    } else {
        ::TerminateProcess(process.get(), 1);
    }
}

TEST(ProcessControlTest, InstallersLingeringHelperIsFoundAndEnded) {
    ScopedEnvironment fast(L"REPAVIO_SETUP_DURATION_MS", L"0");
    ScopedEnvironment linger(L"REPAVIO_SETUP_LINGER_MS", L"600000");
    ScopedTempFolder scratch(L"linger");
    const InstallerRunResult result = RunSilentInstaller(
        SampleInstallerPath(), scratch.path() + L"target\\", scratch.path() + L"temp.progress");
    ASSERT_TRUE(result.Ran());
    EXPECT_EQ(0u, result.exitCode);

    // The installer has ended, its helper still runs.
    DWORD helper = 0;
    ASSERT_TRUE(FindProcessByName(L"tandrel-download.tmp", helper));
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring helperFolder =
        FormatString(L"%sorbitane-repavio-setup-%lu", temp, result.processId);
    EXPECT_EQ(helperFolder + L"\\tandrel-download.tmp", ImagePathOf(helper));

    EXPECT_TRUE(KillProcessById(helper));
    EXPECT_TRUE(WaitUntil([&] { return ProcessHasEnded(helper); }));
    EXPECT_TRUE(WaitUntil([] { return !IsRunning(L"tandrel-download.tmp"); }));
    RemoveTree(helperFolder);
}

TEST(ProcessControlTest, ProductStartsThroughTheShellWithEitherRights) {
    ScopedTempFolder scratch(L"launch");
    const std::wstring product = PlaceInstalledProduct(scratch.path());
    ASSERT_FALSE(product.empty());

    EXPECT_TRUE(LaunchProduct(product, true));
    EndLaunchedProduct(product);

    // As the interactive user: Wine has no wdc.dll, so this also covers the fallback routes.
    EXPECT_TRUE(LaunchProduct(product, false));
    EndLaunchedProduct(product);

    EXPECT_GT(reinterpret_cast<INT_PTR>(OpenWithShell(nullptr, product)), 32);
    EndLaunchedProduct(product);
}
