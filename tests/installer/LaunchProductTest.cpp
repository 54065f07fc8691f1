// Starting the product as the interactive user: the system's task entry point (a stand-in wdc.dll
// placed in the system folder) decides alone where it exists; the desktop shell and the direct
// start serve only where it does not.
#include <windows.h>

#include <gtest/gtest.h>

#include "SamplePrograms.h"
#include "common/FileUtil.h"
#include "common/ProcessControl.h"
#include "common/ShellLaunch.h"
#include "common/TextConvert.h"
#include "support/TestFolders.h"

namespace {

// The system folder's wdc.dll for one scope: a copy of |source|, or none when |source| is empty.
class ScopedSystemWdc {
  public:
    explicit ScopedSystemWdc(const std::wstring& source) {
        wchar_t system[MAX_PATH] = {};
        ::GetSystemDirectoryW(system, MAX_PATH);
        path_ = std::wstring(system) + L"\\wdc.dll";
        ready_ = source.empty() ? !FileExists(path_)
                                : ::CopyFileW(source.c_str(), path_.c_str(), TRUE) != FALSE;
        placed_ = ready_ && !source.empty();
    }
    ~ScopedSystemWdc() {
        if (placed_) {
            ::DeleteFileW(path_.c_str());
        }
    }
    ScopedSystemWdc(const ScopedSystemWdc&) = delete;
    ScopedSystemWdc& operator=(const ScopedSystemWdc&) = delete;

    bool ready() const { return ready_; }

  private:
    std::wstring path_;
    bool ready_ = false;
    bool placed_ = false;
};

}  // namespace

TEST(LaunchProductTest, InteractiveUserTaskIsFinalWhereItExists) {
    ScopedTempFolder scratch(L"wdc");
    const std::wstring product = PlaceInstalledProduct(scratch.path());
    ASSERT_FALSE(product.empty());
    const std::wstring record = scratch.path() + L"wdc-call.txt";
    ScopedEnvironment recordTo(L"TANDREL_FAKE_WDC_RECORD", record);

    const struct {
        const char* name;
        std::wstring wdc;
        const wchar_t* result;
        bool reported;
        bool taskCalled;
        bool productRuns;  // started by LaunchProduct itself, not by the task
    } cases[] = {
        {"the task starts it", UnixToWindowsPath(TANDREL_FAKE_WDC), L"0", true, true, false},
        {"the task fails", UnixToWindowsPath(TANDREL_FAKE_WDC), L"80070005", false, true, false},
        {"wdc.dll without the entry", UnixToWindowsPath(TANDREL_FAKE_WDC_WITHOUT_ENTRY), L"0", true,
         false, true},
        {"no wdc.dll", L"", L"0", true, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedSystemWdc wdc(c.wdc);
        ASSERT_TRUE(wdc.ready());
        ScopedEnvironment result(L"TANDREL_FAKE_WDC_RESULT", c.result);
        ::DeleteFileW(record.c_str());

        EXPECT_EQ(c.reported, LaunchProduct(product, false));
        EXPECT_EQ(c.taskCalled ? "57 \"" + WideToUtf8(product) + "\"" : std::string(),
                  ReadFileBytes(record));
        // Every route starts the program before it returns, so it runs by now or never.
        DWORD id = 0;
        EXPECT_EQ(c.productRuns, FindProcessByName(L"Repavio.exe", id));
        if (id != 0) {
            EXPECT_TRUE(KillProcessById(id));
            EXPECT_TRUE(WaitUntil([&] { return ProcessHasEnded(id); }));
        }
    }
}
