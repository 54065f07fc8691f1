// The package's translations: every text.ini reads through the profile functions with all its
// keys, and every translated text keeps the placeholders and colour markup of the English one.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/LanguageManager.h"
#include "language/LanguagePackage.h"

namespace {

const std::vector<std::wstring>& PackageKeys() {
    static const std::vector<std::wstring> keys = {L"STR_INSTALL",
                                                   L"STR_BROWSE",
                                                   L"STR_LISENCE",
                                                   L"STR_CUSTOMIZE_INSTALL",
                                                   L"STR_INSTALL_PATH",
                                                   L"STR_SELECT_FOLDER",
                                                   L"STR_STORAGE",
                                                   L"STR_PATH_INVALID",
                                                   L"STR_INSTALLING",
                                                   L"STR_HIDE",
                                                   L"STR_MESSAGEBOX_TITLE",
                                                   L"STR_NETWORK_ERROR",
                                                   L"STR_OPERATE_TIP",
                                                   L"STR_SOFT_RUN",
                                                   L"STR_CLOSE_TIP1",
                                                   L"STR_CLOSE_TIP2",
                                                   L"STR_START",
                                                   L"STR_INSTALL_FAILED"};
    return keys;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) {
        narrow += c < 128 ? static_cast<char>(c) : '?';
    }
    return narrow;
}

}  // namespace

TEST(LanguageTextsTest, EveryTranslationHasAllKeysWithTheEnglishPlaceholdersAndMarkup) {
    UnpackedPackage package;
    ASSERT_TRUE(package.ok());
    IniMap english;
    ReadIniSection(package.root() + L"English\\text.ini", L"LANSTR", english);
    ASSERT_EQ(PackageKeys().size(), english.size());

    for (const std::wstring& language : PackageLanguages()) {
        SCOPED_TRACE(Narrow(language));
        const std::wstring file = package.root() + language + L"\\text.ini";
        IniMap texts;
        ReadIniSection(file, L"LANSTR", texts);
        // The profile reader and a plain parse of the UTF-16 bytes must agree: a file in another
        // encoding or with a damaged line would not.
        std::map<std::wstring, std::wstring> parsed = ParseUtf16Ini(file);
        EXPECT_EQ(parsed, texts);

        std::vector<std::wstring> expectedKeys = PackageKeys();
        if (language == L"Arabic") {
            expectedKeys.push_back(L"STR_MB");
        }
        std::sort(expectedKeys.begin(), expectedKeys.end());
        std::vector<std::wstring> keys;
        for (const auto& entry : texts) {
            keys.push_back(entry.first);
        }
        EXPECT_EQ(expectedKeys, keys);

        size_t sameAsEnglish = 0;
        for (const std::wstring& key : PackageKeys()) {
            const std::wstring& text = texts[key];
            EXPECT_FALSE(text.empty()) << Narrow(key);
            EXPECT_EQ(PlaceholderTokens(english[key]), PlaceholderTokens(text)) << Narrow(key);
            const size_t open = text.find(L"{c COLOR}");
            if (open != std::wstring::npos) {
                EXPECT_LT(open, text.find(L"{/c}")) << "markup closed before it opens";
            }
            sameAsEnglish += language != L"English" && text == english[key];
        }
        EXPECT_EQ(0u, sameAsEnglish) << "untranslated texts";
    }
}

TEST(LanguageTextsTest, EnglishTextsAreFilledWithThePackageProduct) {
    UnpackedPackage package;
    ASSERT_TRUE(package.ok());
    ASSERT_TRUE(WriteFileBytes(package.root() + L"language.ini", "[Language]\r\n"));
    LanguageManager manager;
    manager.Init(package.root());

    ASSERT_EQ(L"English", manager.GetLanguageName());
    EXPECT_EQ(L"I've read and agreed to {c #33C08D}Orbitane License Agreement{/c}",
              manager.GetText(L"STR_LISENCE"));
    EXPECT_EQ(L"Orbitane Repavio Setup", manager.GetText(L"STR_MESSAGEBOX_TITLE"));
    EXPECT_EQ(0u, manager.GetText(L"STR_SOFT_RUN").find(L"Orbitane Repavio is running."));
    EXPECT_EQ(L"Start\u00A0Now", manager.GetText(L"STR_START"));
    EXPECT_EQ(L"MB", manager.GetText(L"STR_MB"));
    EXPECT_EQ(L"", manager.GetText(L"STR_NOT_A_KEY"));
}
