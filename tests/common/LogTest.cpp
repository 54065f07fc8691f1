// The diagnostic log's file: exact record bytes, concurrent writers, rolling at 10 MiB, the
// lazy default file and the fatal-format guard. The log is process-wide and its first set-up
// wins, so every case runs in a child process of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>
#include <thread>
#include <vector>

#include "common/Log.h"
#include "common/SystemInfo.h"
#include "common/WinHandle.h"
#include "support/TestFolders.h"

namespace {

// A folder as one quoted argument (no trailing backslash before the closing quote).
std::wstring FolderArgument(const std::wstring& folder) {
    std::wstring path = folder;
    if (!path.empty() && path.back() == L'\\') {
        path.pop_back();
    }
    return L"\"" + path + L"\"";
}

// Splits a log file into its records: every record after the first starts with one blank.
std::vector<std::string> Records(const std::string& file) {
    std::vector<std::string> records;
    size_t begin = 0;
    while (begin < file.size()) {
        size_t end = file.find('\n', begin);
        if (end == std::string::npos) {
            records.push_back(file.substr(begin));
            break;
        }
        records.push_back(file.substr(begin, end - begin));
        begin = end + 1;
        if (begin < file.size()) {
            EXPECT_EQ(' ', file[begin]) << "record does not start with the blank";
            ++begin;
        }
    }
    return records;
}

// "YYYY-MM-DD HH:MM:SS,mmm " followed by the message.
std::string MessageOf(const std::string& record) {
    const std::string shape = "dddd-dd-dd dd:dd:dd,ddd ";
    if (record.size() < shape.size()) {
        ADD_FAILURE() << "short record: " << record;
        return std::string();
    }
    for (size_t i = 0; i < shape.size(); ++i) {
        if (shape[i] == 'd' ? !isdigit(static_cast<unsigned char>(record[i]))
                            : record[i] != shape[i]) {
            ADD_FAILURE() << "bad time stamp: " << record;
            return std::string();
        }
    }
    return record.substr(shape.size());
}

// The messages of a whole log file; the file ends with the blank that opens the next record.
std::vector<std::string> MessagesIn(const std::wstring& path) {
    std::string file = ReadFileBytes(path);
    std::vector<std::string> messages;
    if (file.empty() || file.back() != ' ') {
        ADD_FAILURE() << "no complete records in the log file";
        return messages;
    }
    file.pop_back();
    for (const std::string& record : Records(file)) {
        messages.push_back(MessageOf(record));
    }
    return messages;
}

}  // namespace

TANDREL_CHILD_SCENARIO(log_records) {
    LogInit(L"records.log", argument.c_str());
    TLOG("LogTest::Records", "first record %d", 1);
    const char* empty = "";
    LogFormat("LogTest::Records", __FILE__, __LINE__, kLogInfo, empty);  // nothing
    LogFormat("LogTest::Records", __FILE__, __LINE__, 7, "bad level");   // nothing
    TLOGW("LogTest::Records", L"wide %s \x2603 end", L"caf\xE9");
    // Null messages are empty ones: nothing is written.
    LogLineW(false, L"LogTest::Records", L"" __FILE__, __LINE__, kLogInfo, nullptr);
    LogLine(false, "LogTest::Records", __FILE__, __LINE__, kLogInfo, nullptr);
    LogWrite(kLogInfo, nullptr);
    // The next two calls fault while formatting (a bad pointer for "%s").
    TLOG("LogTest::Records", "faults at %d", __LINE__ + 1);
    TLOG("LogTest::Records", "%s", reinterpret_cast<const char*>(1));
    TLOGW("LogTest::Records", L"%s", reinterpret_cast<const wchar_t*>(1));
    TLOG("LogTest::Records", "last");
    return 0;
}

TEST(LogFileTest, RecordsHaveTheExactLayout) {
    ScopedTempFolder folder(L"log");
    ASSERT_EQ(0, RunChildScenario("log_records", FolderArgument(folder.path() + L"Log")));
    const std::string file = ReadFileBytes(folder.path() + L"Log\\records.log");
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(' ', file.back()) << "the last record's line break is followed by the blank";
    EXPECT_EQ('\n', file[file.size() - 2]);

    const std::vector<std::string> records = Records(file.substr(0, file.size() - 1));
    ASSERT_EQ(6u, records.size()) << file;
    EXPECT_EQ("first record 1", MessageOf(records[0]));
    // The OEM code page (437 here) has the e-acute but no snowman, which becomes '?'.
    EXPECT_EQ("wide caf\x82 ? end", MessageOf(records[1]));
    const int faultLine = atoi(MessageOf(records[2]).substr(strlen("faults at ")).c_str());
    const std::string fatal = "][LogTest::Records] ***Fatal Error Check,Please Fix it!***";
    EXPECT_EQ("[LogTest.cpp:" + std::to_string(faultLine) + fatal, MessageOf(records[3]));
    EXPECT_EQ("[LogTest.cpp:" + std::to_string(faultLine + 1) + fatal, MessageOf(records[4]));
    EXPECT_EQ("last", MessageOf(records[5]));
}

TANDREL_CHILD_SCENARIO(log_threads) {
    LogInit(L"threads.log", argument.c_str());
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 400; ++i) {
                TLOG("LogTest::Threads", "thread %d record %d of a line long enough to tear", t, i);
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    return 0;
}

TEST(LogFileTest, ConcurrentWritersLoseAndTearNothing) {
    ScopedTempFolder folder(L"log");
    ASSERT_EQ(0, RunChildScenario("log_threads", FolderArgument(folder.path())));
    std::string file = ReadFileBytes(folder.path() + L"threads.log");
    ASSERT_FALSE(file.empty());
    file.pop_back();
    std::set<std::string> seen;
    for (const std::string& record : Records(file)) {
        seen.insert(MessageOf(record));
    }
    EXPECT_EQ(8u * 400u, seen.size());
    for (int t = 0; t < 8; ++t) {
        for (int i = 0; i < 400; ++i) {
            char expected[128];
            snprintf(expected, sizeof(expected),
                     "thread %d record %d of a line long enough to tear", t, i);
            ASSERT_TRUE(seen.count(expected)) << expected;
        }
    }
}

TANDREL_CHILD_SCENARIO(log_roll) {
    LogInit(L"roll.log", argument.c_str());
    const std::string line(1000, 'x');
    // About 25 MiB: the file rolls twice, so the second roll replaces the first backup.
    for (int i = 0; i < 25 * 1050; ++i) {
        TLOG("LogTest::Roll", "%06d %s", i, line.c_str());
    }
    return 0;
}

TEST(LogFileTest, RollsAtTenMiBKeepingOneBackup) {
    ScopedTempFolder folder(L"log");
    ASSERT_EQ(0, RunChildScenario("log_roll", FolderArgument(folder.path()), 300000));
    WIN32_FIND_DATAW data;
    UniqueFindHandle find(::FindFirstFileW((folder.path() + L"*").c_str(), &data));
    ASSERT_TRUE(find.valid());
    std::set<std::wstring> names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
            names.insert(data.cFileName);
        }
    } while (::FindNextFileW(find.get(), &data));
    EXPECT_EQ((std::set<std::wstring>{L"roll.log", L"roll.log.1"}), names);

    const std::string backup = ReadFileBytes(folder.path() + L"roll.log.1");
    const std::string current = ReadFileBytes(folder.path() + L"roll.log");
    EXPECT_GE(backup.size(), 10u * 1024 * 1024);
    EXPECT_LT(backup.size(), 10u * 1024 * 1024 + 2000);
    EXPECT_LT(current.size(), 10u * 1024 * 1024);
    // The backup holds the second 10 MiB (the first backup was replaced); nothing is lost
    // between the backup and the current file.
    const std::vector<std::string> backupRecords = Records(backup.substr(0, backup.size() - 1));
    const std::vector<std::string> currentRecords = Records(current.substr(0, current.size() - 1));
    ASSERT_FALSE(backupRecords.empty());
    ASSERT_FALSE(currentRecords.empty());
    const int lastInBackup = atoi(MessageOf(backupRecords.back()).c_str());
    const int firstInCurrent = atoi(MessageOf(currentRecords.front()).c_str());
    EXPECT_GT(atoi(MessageOf(backupRecords.front()).c_str()), 9000);
    EXPECT_EQ(lastInBackup + 1, firstInCurrent);
    EXPECT_EQ(25 * 1050 - 1, atoi(MessageOf(currentRecords.back()).c_str()));
}

TANDREL_CHILD_SCENARIO(log_roll_blocked) {
    LogInit(L"held.log", argument.c_str());
    const std::string line(1000, 'y');
    for (int i = 0; i < 15 * 1050; ++i) {
        TLOG("LogTest::RollBlocked", "%06d %s", i, line.c_str());
    }
    return 0;
}

TANDREL_CHILD_SCENARIO(log_after_release) {
    LogInit(L"held.log", argument.c_str());
    TLOG("LogTest::RollBlocked", "after release");
    return 0;
}

// A reader that keeps the file open without allowing a rename blocks the roll: the file stays
// bounded while it is held, and rolls once it is free.
TEST(LogFileTest, HeldFileStaysBoundedAndRollsOnceReleased) {
    ScopedTempFolder folder(L"log");
    const std::wstring path = folder.path() + L"held.log";
    UniqueFileHandle reader(::CreateFileW(path.c_str(), GENERIC_READ,
                                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(reader.valid());
    ASSERT_EQ(0, RunChildScenario("log_roll_blocked", FolderArgument(folder.path()), 300000));
    const size_t limit = 10u * 1024 * 1024;
    const std::string held = ReadFileBytes(path);
    EXPECT_GE(held.size(), limit);
    EXPECT_LE(held.size(), limit + 1024 * 1024 + 2000);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW((path + L".1").c_str()));

    reader.reset();
    ASSERT_EQ(0, RunChildScenario("log_after_release", FolderArgument(folder.path())));
    EXPECT_TRUE(held == ReadFileBytes(path + L".1")) << "the backup is the held file";
    EXPECT_EQ(std::vector<std::string>{"after release"}, MessagesIn(path));
}

// The log outlives the static objects that exit() destroys: a record written after them (as a
// detached worker may do while the process ends) still reaches the file.
void LogFromExit() {
    TLOG("LogTest::Exit", "from exit");
}

TANDREL_CHILD_SCENARIO(log_at_exit) {
    std::atexit(&LogFromExit);  // registered first, so it runs after the log's own clean-up
    LogInit(L"exit.log", argument.c_str());
    TLOG("LogTest::Exit", "before exit");
    std::exit(0);
}

TEST(LogFileTest, RecordsWrittenWhileTheProcessExitsArrive) {
    ScopedTempFolder folder(L"log");
    ASSERT_EQ(0, RunChildScenario("log_at_exit", FolderArgument(folder.path())));
    EXPECT_EQ((std::vector<std::string>{"before exit", "from exit"}),
              MessagesIn(folder.path() + L"exit.log"));
}

TANDREL_CHILD_SCENARIO(log_lazy) {
    TLOG("LogTest::Lazy", "before init");
    LogInit(L"tandrel_down.log", argument.c_str());  // too late: the default file stays
    TLOG("LogTest::Lazy", "after init");
    return 0;
}

TEST(LogFileTest, WritingBeforeInitCreatesTheDefaultFile) {
    ScopedTempFolder folder(L"log");
    const std::wstring defaultFile = GetModuleFolder() + L"\\Log\\common_tests.log";
    ::DeleteFileW(defaultFile.c_str());
    ASSERT_EQ(0, RunChildScenario("log_lazy", FolderArgument(folder.path())));
    EXPECT_EQ((std::vector<std::string>{"before init", "after init"}), MessagesIn(defaultFile));
    ::DeleteFileW(defaultFile.c_str());
    ::RemoveDirectoryW((GetModuleFolder() + L"\\Log").c_str());
    EXPECT_TRUE(ReadFileBytes(folder.path() + L"tandrel_down.log").empty());
}

TANDREL_CHILD_SCENARIO(assert_dialog) {
    AssertCheckFormat(1 + 1 == 3, "1 + 1 == 3", "LogTest::Assert", 42, "extra %d", 7);
    return 5;  // the caller goes on after the dialog
}

// The assertion dialog is a real message box; answer it from here as a user would.
TEST(AssertDialogTest, ShowsTheMessageAndLetsTheCallerContinue) {
    std::thread answer([] {
        for (int i = 0; i < 600; ++i) {
            HWND box = ::FindWindowW(nullptr, L"AssertError!");
            if (box != nullptr) {
                wchar_t text[512] = {};
                ::GetDlgItemTextW(box, 0xFFFF, text, 512);
                EXPECT_STREQ(
                    L"Assert(1 + 1 == 3);\n (in function LogTest::Assert,at line 42)\n is "
                    L"Debug?\nextra 7\n",
                    text);
                ::PostMessageW(box, WM_COMMAND, IDNO, 0);
                return;
            }
            ::Sleep(100);
        }
        ADD_FAILURE() << "no assertion dialog appeared";
    });
    EXPECT_EQ(5, RunChildScenario("assert_dialog"));
    answer.join();
}
