// Product settings and addresses: placeholder filling order, the brand's default, folders and
// the start mode, the custom parameter on the addresses, and the fall-backs for missing files.
#include <windows.h>

#include <gtest/gtest.h>

#include "common/LanguageManager.h"
#include "common/SystemInfo.h"
#include "language/LanguagePackage.h"

namespace {

// A hand-made language folder: language.ini absent (so English), English\text.ini with the
// given texts, productInfo.ini and English\UrlInfo.ini only when given.
class HandMadeFolder {
  public:
    explicit HandMadeFolder(const std::wstring& texts, const std::wstring& product = L"",
                            const std::wstring& urls = L"")
        : folder_(L"handmade") {
        CreateDirectoryW((root() + L"English").c_str(), nullptr);
        WriteUtf16File(root() + L"English\\text.ini", L"[LANSTR]\r\n" + texts);
        if (!product.empty()) {
            WriteUtf16File(root() + L"productInfo.ini", L"[PRODUCT]\r\n" + product);
        }
        if (!urls.empty()) {
            WriteUtf16File(root() + L"English\\UrlInfo.ini", L"[URL]\r\n" + urls);
        }
    }
    const std::wstring& root() const { return folder_.path(); }

  private:
    ScopedTempFolder folder_;
};

}  // namespace

TEST(PlaceholderTest, LaterStepsSeeWhatEarlierStepsInserted) {
    HandMadeFolder folder(L"STR_T=[PRODUCT|COLOR|BRAND]\r\nSTR_TITLE=PRODUCT Setup\r\n",
                          L"STR_PRODUCT_NAME=BRAND COLOR PRODUCT\r\n"
                          L"STR_LISENCE_COLOR=#BRAND1\r\nSTR_BRAND_NAME=Acme\r\n");
    LanguageManager manager;
    manager.Init(folder.root());
    // PRODUCT first (its own "PRODUCT" is not searched again), then COLOR, then BRAND, which
    // also reaches the brand inside the product name and the colour.
    EXPECT_EQ(L"[Acme #Acme1 PRODUCT|#Acme1|Acme]", manager.GetText(L"STR_T"));
    EXPECT_EQ(L"Acme #Acme1 PRODUCT Setup", manager.GetText(L"STR_TITLE"));
    // The defaults that the file does not override are filled as well.
    EXPECT_EQ(L"I've read and agreed to {c #Acme1}Acme License Agreement{/c}",
              manager.GetText(L"STR_LISENCE"));
}

TEST(PlaceholderTest, EmptyOrAbsentBrandBecomesTandrel) {
    for (const std::wstring product :
         {L"STR_PRODUCT_NAME=Pix\r\nSTR_LISENCE_COLOR=#123456\r\nSTR_BRAND_NAME=\r\n",
          L"STR_PRODUCT_NAME=Pix\r\nSTR_LISENCE_COLOR=#123456\r\n"}) {
        HandMadeFolder folder(L"STR_T=BRAND/PRODUCT\r\n", product);
        LanguageManager manager;
        manager.Init(folder.root());
        EXPECT_EQ(L"Tandrel", manager.GetBrandName());
        EXPECT_EQ(L"Tandrel/Pix", manager.GetText(L"STR_T"));
        EXPECT_EQ(L"I've read and agreed to {c #123456}Tandrel License Agreement{/c}",
                  manager.GetText(L"STR_LISENCE"));
    }
}

TEST(ProductSettingsTest, PackageValuesGiveFoldersNamesAndStartMode) {
    UnpackedPackage package;
    ASSERT_TRUE(package.ok());
    LanguageManager manager;
    manager.Init(package.root());
    EXPECT_EQ(L"Orbitane Repavio", manager.GetProductName());
    EXPECT_EQ(L"Orbitane Repavio", manager.GetGaTitle());
    EXPECT_EQ(L"Orbitane", manager.GetBrandName());
    EXPECT_EQ(L"#33C08D", manager.GetLicenceColor());
    EXPECT_EQ(L"Repavio.exe", manager.GetExeName());
    EXPECT_EQ(L"Orbitane\\Orbitane Repavio\\", manager.GetInstallSubFolder());
    EXPECT_EQ(L"Orbitane\\Orbitane Repavio\\Repavio.exe", manager.GetProductExePath());
    EXPECT_TRUE(manager.IsRunAsAdmin());
}

TEST(ProductSettingsTest, EmptyFolderLevelsAreLeftOutAndOnlyZeroMeansInteractiveUser) {
    struct Case {
        const wchar_t* product;
        const wchar_t* subFolder;
        bool runAsAdmin;
    };
    const Case cases[] = {
        {L"STR_DIR2_NAME=Two\r\nSTR_EXE_NAME=a.exe\r\nSTR_RUN_AS_ADMIN=0\r\n", L"Two\\", false},
        {L"STR_DIR1_NAME=One\r\nSTR_EXE_NAME=a.exe\r\nSTR_RUN_AS_ADMIN=\r\n", L"One\\", true},
        {L"STR_DIR1_NAME=\r\nSTR_EXE_NAME=a.exe\r\nSTR_RUN_AS_ADMIN=00\r\n", L"", true},
        {L"STR_EXE_NAME=a.exe\r\n", L"", true},
    };
    for (const Case& c : cases) {
        HandMadeFolder folder(L"", c.product);
        LanguageManager manager;
        manager.Init(folder.root());
        EXPECT_EQ(c.subFolder, manager.GetInstallSubFolder());
        EXPECT_EQ(std::wstring(c.subFolder) + L"a.exe", manager.GetProductExePath());
        EXPECT_EQ(c.runAsAdmin, manager.IsRunAsAdmin());
    }
}

TEST(AddressTest, ProductInformationAddressesCarryTheDomainOnlyWhenItIsSet) {
    UnpackedPackage package;
    ASSERT_TRUE(package.ok());
    ASSERT_TRUE(WriteFileBytes(package.root() + L"language.ini", "[Language]\r\n"));
    LanguageManager manager;
    manager.Init(package.root());
    const std::wstring downEx = manager.GetUrlValue(L"STR_DOWN_URLEX");
    const std::wstring installed = manager.GetUrlValue(L"STR_INSTALL_URL");
    const std::wstring licence = manager.GetUrlValue(L"STR_LICENCE_URL");
    ASSERT_NE(std::wstring::npos, downEx.find(L"/producturl?key=pkg_url&pid=340&lang=English"));

    EXPECT_EQ(downEx, manager.GetDownloadUrlEx());
    EXPECT_EQ(installed, manager.GetInstalledUrl());
    EXPECT_EQ(licence, manager.GetLicenceUrl());

    manager.SetCustomValue(L"com_english");
    EXPECT_EQ(L"com_english", manager.GetCustomValue());
    EXPECT_EQ(downEx + L"&custom=com_english", manager.GetDownloadUrlEx());
    EXPECT_EQ(installed + L"&custom=com_english", manager.GetInstalledUrl());
    EXPECT_EQ(licence + L"&custom=com_english", manager.GetLicenceUrl());

    // The installer itself: by the machine's bitness, never with the custom parameter.
    const std::wstring expected =
        manager.GetUrlValue(IsNative64Bit() ? L"STR_DOWN_URL_X64" : L"STR_DOWN_URL");
    EXPECT_EQ(expected, manager.GetDownloadUrl());
    EXPECT_EQ(std::wstring::npos, manager.GetDownloadUrl().find(L"custom="));

    // A new initialisation forgets the domain until it is stored again.
    manager.Init(package.root());
    EXPECT_EQ(L"", manager.GetCustomValue());
    EXPECT_EQ(downEx, manager.GetDownloadUrlEx());
}

TEST(AddressTest, BitnessPicksTheInstallerAndAddressesWithoutKeyStayUnchanged) {
    HandMadeFolder folder(
        L"", L"STR_PRODUCT_NAME=P\r\n",
        L"STR_DOWN_URL=https://d/x86.exe\r\nSTR_DOWN_URL_X64=https://d/x64.exe\r\n"
        L"STR_INSTALL_URL=https://i/installed?pid=340\r\n"
        L"STR_LICENCE_URL=https://i/licence?monkey=1\r\n");
    LanguageManager manager;
    manager.Init(folder.root());
    manager.SetCustomValue(L"com_english");
    EXPECT_EQ(IsNative64Bit() ? L"https://d/x64.exe" : L"https://d/x86.exe",
              manager.GetDownloadUrl());
    EXPECT_EQ(L"https://i/installed?pid=340", manager.GetInstalledUrl());
    // "key=" anywhere counts, even inside another parameter's name.
    EXPECT_EQ(L"https://i/licence?monkey=1&custom=com_english", manager.GetLicenceUrl());
    EXPECT_EQ(L"", manager.GetDownloadUrlEx());

    EXPECT_EQ(L"", LanguageManager::AppendCustomParam(L"", L"com_english"));
    EXPECT_EQ(L"https://i/p?key=a", LanguageManager::AppendCustomParam(L"https://i/p?key=a", L""));
    EXPECT_EQ(L"https://i/p?key=a&custom=a b&c",
              LanguageManager::AppendCustomParam(L"https://i/p?key=a", L"a b&c"))
        << "the value is appended as it is";
}

TEST(MissingFilesTest, MissingTextsKeepTheEnglishDefaults) {
    UnpackedPackage package;
    ASSERT_TRUE(package.ok());
    ASSERT_TRUE(WriteFileBytes(package.root() + L"language.ini", "[Language]\r\n"));
    ASSERT_TRUE(DeleteFileW((package.root() + L"English\\text.ini").c_str()));
    LanguageManager manager;
    manager.Init(package.root());
    EXPECT_EQ(L"Orbitane Repavio Setup", manager.GetText(L"STR_MESSAGEBOX_TITLE"));
    EXPECT_EQ(L"Insuficient storage. Storage required:", manager.GetText(L"STR_STORAGE"));
    EXPECT_EQ(L"Start\u00A0Now", manager.GetText(L"STR_START"));
    for (const auto& entry : LanguageManager::DefaultTexts()) {
        EXPECT_FALSE(manager.GetText(entry.first).empty());
    }
    EXPECT_FALSE(manager.GetLicenceUrl().empty()) << "the addresses do not depend on the texts";
}

TEST(MissingFilesTest, MissingProductInfoLeavesEmptyValuesAndTheDefaultBrand) {
    UnpackedPackage package;
    ASSERT_TRUE(package.ok());
    ASSERT_TRUE(WriteFileBytes(package.root() + L"language.ini", "[Language]\r\n"));
    ASSERT_TRUE(DeleteFileW((package.root() + L"productInfo.ini").c_str()));
    LanguageManager manager;
    manager.Init(package.root());
    EXPECT_EQ(L"", manager.GetProductName());
    EXPECT_EQ(L" Setup", manager.GetText(L"STR_MESSAGEBOX_TITLE"));
    EXPECT_EQ(L"I've read and agreed to {c }Tandrel License Agreement{/c}",
              manager.GetText(L"STR_LISENCE"));
    EXPECT_EQ(L"", manager.GetInstallSubFolder());
    EXPECT_EQ(L"", manager.GetProductExePath());
    EXPECT_TRUE(manager.IsRunAsAdmin());
}

TEST(MissingFilesTest, MissingUrlInfoLeavesEveryAddressEmpty) {
    UnpackedPackage package;
    ASSERT_TRUE(package.ok());
    ASSERT_TRUE(WriteFileBytes(package.root() + L"language.ini", "[Language]\r\n"));
    LanguageManager manager;
    manager.Init(package.root());
    ASSERT_FALSE(manager.GetLicenceUrl().empty());
    // The same instance again, now without the file: nothing of the first reading stays.
    ASSERT_TRUE(DeleteFileW((package.root() + L"English\\UrlInfo.ini").c_str()));
    manager.Init(package.root());
    manager.SetCustomValue(L"com_english");
    EXPECT_EQ(L"", manager.GetDownloadUrl());
    EXPECT_EQ(L"", manager.GetDownloadUrlEx());
    EXPECT_EQ(L"", manager.GetInstalledUrl());
    EXPECT_EQ(L"", manager.GetLicenceUrl());
    EXPECT_EQ(L"Orbitane Repavio Setup", manager.GetText(L"STR_MESSAGEBOX_TITLE"));
}

TEST(MissingFilesTest, UnlistedOrMissingLanguageSelectsEnglish) {
    UnpackedPackage package;
    ASSERT_TRUE(package.ok());
    // A language.ini that lists another code only (0 is never a UI language), then none.
    ASSERT_TRUE(WriteFileBytes(package.root() + L"language.ini", "[Language]\r\n0=Arabic\r\n"));
    LanguageManager listedElsewhere;
    listedElsewhere.Init(package.root());
    EXPECT_EQ(L"English", listedElsewhere.GetLanguageName());
    EXPECT_FALSE(listedElsewhere.IsRightToLeft());
    EXPECT_EQ(L"Install", listedElsewhere.GetText(L"STR_INSTALL"));

    ASSERT_TRUE(DeleteFileW((package.root() + L"language.ini").c_str()));
    LanguageManager unlisted;
    unlisted.Init(package.root());
    EXPECT_EQ(L"English", unlisted.GetLanguageName());
    EXPECT_NE(std::wstring::npos, unlisted.GetLicenceUrl().find(L"lang=English"));
}

TEST(MissingFilesTest, ListedLanguageWithoutFolderKeepsDefaultsButFollowsTheName) {
    UnpackedPackage package;
    ASSERT_TRUE(package.ok());
    std::string code;
    for (wchar_t c : GetUiLanguageCode()) {
        code += static_cast<char>(c);
    }
    ASSERT_TRUE(
        WriteFileBytes(package.root() + L"language.ini", "[Language]\r\n" + code + "=Arabic\r\n"));
    RemoveTree(package.root() + L"Arabic");
    ASSERT_FALSE(IsDirectory(package.root() + L"Arabic"));

    LanguageManager manager;
    manager.Init(package.root());
    manager.SetCustomValue(L"com_english");
    EXPECT_EQ(L"Arabic", manager.GetLanguageName());
    EXPECT_TRUE(manager.IsRightToLeft());
    EXPECT_EQ(L"Install", manager.GetText(L"STR_INSTALL"));
    EXPECT_EQ(L"MB", manager.GetText(L"STR_MB"));
    EXPECT_EQ(L"Orbitane Repavio Setup", manager.GetText(L"STR_MESSAGEBOX_TITLE"));
    EXPECT_EQ(L"", manager.GetLicenceUrl());
    EXPECT_EQ(L"", manager.GetDownloadUrl());
}
