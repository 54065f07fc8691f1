// Reading ini files through the platform's profile functions: the line rules and the limits of
// the fixed-size buffers.
#include <gtest/gtest.h>

#include "common/IniFile.h"
#include "language/LanguagePackage.h"

TEST(IniFileTest, SectionLinesSplitAtTheFirstEqualsSignAndOverwriteOnlyTheirKeys) {
    ScopedTempFolder temp(L"ini");
    const std::wstring file = temp.path() + L"text.ini";
    ASSERT_TRUE(WriteUtf16File(file,
                               L"[LANSTR]\r\nSTR_URL=https://h/p?key=a&b=c\r\nSTR_KEEP=new\r\n"
                               L"LONE_LINE\r\nSTR_EMPTY=\r\n[NEXT]\r\nSTR_OTHER=x\r\n"));
    IniMap entries = {{L"STR_KEEP", L"old"}, {L"STR_DEFAULT", L"stays"}};
    EXPECT_TRUE(ReadIniSection(file, L"LANSTR", entries));
    EXPECT_EQ((IniMap{{L"STR_URL", L"https://h/p?key=a&b=c"},
                      {L"STR_KEEP", L"new"},
                      {L"LONE_LINE", L""},
                      {L"STR_EMPTY", L""},
                      {L"STR_DEFAULT", L"stays"}}),
              entries);

    // A missing file or section adds nothing and still succeeds.
    EXPECT_TRUE(ReadIniSection(temp.path() + L"missing.ini", L"LANSTR", entries));
    EXPECT_TRUE(ReadIniSection(file, L"ABSENT", entries));
    EXPECT_EQ(5u, entries.size());
}

TEST(IniFileTest, BuffersCutLongValuesAndSections) {
    ScopedTempFolder temp(L"ini");
    const std::wstring file = temp.path() + L"long.ini";
    std::wstring text = L"[S]\r\nLONG=" + std::wstring(300, L'v') + L"\r\n";
    // About 9000 characters: the section reader keeps what fits into 4096 and drops the rest.
    for (int i = 0; i < 300; ++i) {
        text += L"KEY_" + std::to_wstring(1000 + i) + L"=" + std::wstring(20, L'x') + L"\r\n";
    }
    ASSERT_TRUE(WriteUtf16File(file, text));

    EXPECT_EQ(std::wstring(255, L'v'), ReadIniValue(file, L"S", L"LONG"));

    IniMap entries;
    EXPECT_TRUE(ReadIniSection(file, L"S", entries));
    EXPECT_EQ(std::wstring(300, L'v'), entries[L"LONG"]);
    EXPECT_EQ(std::wstring(20, L'x'), entries[L"KEY_1000"]);
    EXPECT_EQ(0u, entries.count(L"KEY_1299"));
    size_t characters = 0;
    for (const auto& entry : entries) {
        characters += entry.first.size() + 1 + entry.second.size() + 1;
    }
    EXPECT_LE(characters, 4096u);
    EXPECT_GT(characters, 4000u) << "the cut is at the buffer's end, not earlier";
}
