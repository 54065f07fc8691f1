// Choosing the language: the real UI language of the Wine process (LC_ALL, set per ctest entry)
// looked up in the package's language.ini, and every package language reached through the
// look-up.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/LanguageManager.h"
#include "common/Log.h"
#include "common/StringUtil.h"
#include "common/SystemInfo.h"
#include "language/LanguagePackage.h"

namespace {

constexpr wchar_t kDomain[] = L"com_english";

std::string Narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

// The UI language of this very process, which Wine takes from LC_ALL. The ctest entries run
// the executable under several locales and name the expected outcome in TANDREL_UI_CASE
// ("code,folder,rtl"); a run without it has nothing to compare with.
TEST(UiLanguageTest, TheUiLanguageOfTheProcessPicksTheFolder) {
    wchar_t variable[128] = {};
    if (::GetEnvironmentVariableW(L"TANDREL_UI_CASE", variable, 128) == 0) {
        GTEST_SKIP() << "TANDREL_UI_CASE not set";
    }
    std::wstring code, rest, language, rtl;
    SplitFirst(variable, L",", code, rest);
    SplitFirst(rest, L",", language, rtl);
    ASSERT_EQ(code, GetUiLanguageCode()) << "Wine's UI language for this locale";

    UnpackedPackage package;
    ASSERT_TRUE(package.ok());
    LanguageManager manager;
    manager.Init(package.root());
    manager.SetCustomValue(kDomain);
    EXPECT_EQ(language, manager.GetLanguageName());
    EXPECT_EQ(rtl == L"1", manager.IsRightToLeft());

    const std::wstring folder = package.root() + language + L"\\";
    auto texts = ParseUtf16Ini(folder + L"text.ini");
    EXPECT_EQ(texts[L"STR_INSTALL"], manager.GetText(L"STR_INSTALL"));
    EXPECT_EQ(texts.count(L"STR_MB") ? texts[L"STR_MB"] : L"MB", manager.GetText(L"STR_MB"));
    auto urls = ParseUtf16Ini(folder + L"UrlInfo.ini");
    EXPECT_EQ(urls[L"STR_LICENCE_URL"] + L"&custom=" + kDomain, manager.GetLicenceUrl());

    // The test program logs into the temp folder (support/TestFolders.cpp).
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::string log = ReadFileBytes(std::wstring(temp) + L"tandrel-tests\\logs\\tests.log");
    EXPECT_NE(std::string::npos, log.find("Language Code:" + Narrow(code)));
}

TEST(LanguageSelectionTest, PackageListsTheTwelveLanguagesUnderTheirIdentifiers) {
    UnpackedPackage package;
    ASSERT_TRUE(package.ok());
    IniMap listed;
    ReadIniSection(package.root() + L"language.ini", L"Language", listed);
    EXPECT_EQ((IniMap{{L"1033", L"English"},
                      {L"2052", L"Chinese"},
                      {L"1028", L"ChineseTW"},
                      {L"1043", L"Dutch"},
                      {L"1036", L"French"},
                      {L"1031", L"German"},
                      {L"1040", L"Italian"},
                      {L"1041", L"Japanese"},
                      {L"3082", L"Spanish"},
                      {L"2070", L"Portuguese"},
                      {L"1042", L"Korean"},
                      {L"1025", L"Arabic"}}),
              listed);
}

// The process's own UI language mapped to each folder in turn: every language resolves its
// texts and its addresses.
TEST(LanguageSelectionTest, EveryPackageLanguageResolvesTextsAndAddresses) {
    UnpackedPackage package;
    ASSERT_TRUE(package.ok());
    const std::string code = Narrow(GetUiLanguageCode());

    for (const std::wstring& language : PackageLanguages()) {
        SCOPED_TRACE("language " + Narrow(language));
        ASSERT_TRUE(WriteFileBytes(package.root() + L"language.ini",
                                   "[Language]\r\n" + code + "=" + Narrow(language) + "\r\n"));
        LanguageManager manager;
        manager.Init(package.root());
        manager.SetCustomValue(kDomain);
        EXPECT_EQ(language, manager.GetLanguageName());
        EXPECT_EQ(language == L"Arabic", manager.IsRightToLeft());

        const std::wstring folder = package.root() + language + L"\\";
        for (const auto& entry : ParseUtf16Ini(folder + L"text.ini")) {
            const std::wstring text = manager.GetText(entry.first);
            EXPECT_FALSE(text.empty()) << "key " << testing::PrintToString(entry.first);
            if (PlaceholderTokens(entry.second).empty()) {
                EXPECT_EQ(entry.second, text);
            }
            for (const wchar_t* placeholder : {L"PRODUCT", L"COLOR", L"BRAND"}) {
                EXPECT_EQ(std::wstring::npos, text.find(placeholder));
            }
        }
        EXPECT_NE(std::wstring::npos,
                  manager.GetText(L"STR_MESSAGEBOX_TITLE").find(L"Orbitane Repavio"));
        EXPECT_NE(std::wstring::npos, manager.GetText(L"STR_LISENCE").find(L"{c #33C08D}"));
        EXPECT_NE(std::wstring::npos, manager.GetText(L"STR_LISENCE").find(L"Orbitane"));
        EXPECT_EQ(language == L"Arabic" ? std::wstring(L"\u0645\u064A\u063A\u0627\u0628\u0627"
                                                       L"\u064A\u062A")
                                        : std::wstring(L"MB"),
                  manager.GetText(L"STR_MB"));

        const std::wstring query = L"&pid=340&lang=" + language;
        const std::wstring suffix = query + L"&custom=" + kDomain;
        const auto endsWith = [](const std::wstring& text, const std::wstring& end) {
            return text.size() >= end.size() &&
                   text.compare(text.size() - end.size(), end.size(), end) == 0;
        };
        EXPECT_TRUE(
            endsWith(manager.GetLicenceUrl(), L"/producturl?key=license_agreement" + suffix))
            << manager.GetLicenceUrl();
        EXPECT_TRUE(endsWith(manager.GetInstalledUrl(), L"/producturl?key=installed" + suffix));
        EXPECT_TRUE(endsWith(manager.GetDownloadUrlEx(), L"/producturl?key=pkg_url" + suffix));
        EXPECT_TRUE(endsWith(manager.GetDownloadUrl(), L"/repavio/orbitane-repavio_setup.exe"));
        EXPECT_EQ(0u, manager.GetLicenceUrl().find(L"https://"));
    }
}

}  // namespace
