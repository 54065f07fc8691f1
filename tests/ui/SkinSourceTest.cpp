// Loading a window's skin under Wine: the four source kinds against this program's own
// resources and real files, the silent result for a missing archive, and the message box and
// exit code of a skin that is present but unusable.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "support/TestFolders.h"
#include "ui/SkinManager.h"
#include "ui/SkinSource.h"
#include "ui/controls/Container.h"

using namespace SkinUI;

namespace {

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::wstring ExecutableFolder() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    return FolderOf(path);
}

TANDREL_CHILD_SCENARIO(skin_load_failure) {
    ExitOnSkinLoadFailure();
}

}  // namespace

TEST(SkinSourceTest, EachSourceKindBuildsItsRootFile) {
    const std::wstring data = UnixToWindowsPath(TANDREL_SKIN_DATA_DIR) + L"\\";
    const std::wstring zipFolder = FolderOf(UnixToWindowsPath(TANDREL_SKIN_ZIP));
    const auto kFiles = SkinSource::kFiles;
    const auto kZipFile = SkinSource::kZipFile;
    const auto kXml = SkinSource::kXmlResource;
    const auto kZipResource = SkinSource::kZipResource;
    const auto kBuilt = SkinLoadResult::kBuilt;
    const auto kNoPackage = SkinLoadResult::kNoPackage;
    const auto kFailed = SkinLoadResult::kFailed;
    const struct {
        const char* what;
        std::wstring folder;  // empty: the default, the executable's folder + skin folder
        SkinSourceValues source;
        SkinLoadResult result;
        const wchar_t* control;
    } cases[] = {
        {"plain files", data, {kFiles, 0, L"", L"", L"skin.xml"}, kBuilt, L"btn_install"},
        {"zip file", zipFolder, {kZipFile, 0, L"", L"skin.zip", L"skin.xml"}, kBuilt, L"switch"},
        {"xml resources", L"", {kXml, 0, L"", L"", L"201"}, kBuilt, L"part"},
        {"zip resource", L"", {kZipResource, 104, L"skin", L"", L"skin.xml"}, kBuilt, L"minbtn"},
        {"no zip resource", L"", {kZipResource, 107, L"", L"", L"skin.xml"}, kNoPackage, nullptr},
        {"missing root file", L"", {kZipResource, 104, L"", L"", L"nil.xml"}, kFailed, nullptr},
        {"no zip file", zipFolder, {kZipFile, 0, L"", L"nil.zip", L"skin.xml"}, kFailed, nullptr},
        {"missing xml resource", L"", {kXml, 0, L"", L"", L"203"}, kFailed, nullptr},
    };
    for (const auto& c : cases) {
        CSkinPackage package;
        if (!c.folder.empty()) {
            package.SetResourcePath(c.folder);
        }
        CSkinManagerUI manager;
        EXPECT_EQ(c.result, LoadWindowSkin(manager, c.source, nullptr, package)) << c.what;
        if (c.control != nullptr) {
            EXPECT_NE(nullptr, manager.FindControl(c.control)) << c.what;
        } else {
            EXPECT_EQ(nullptr, manager.GetRoot()) << c.what;
        }
        if (c.folder.empty()) {
            const std::wstring skinFolder =
                c.source.skinFolder.empty() ? L"" : c.source.skinFolder + L"\\";
            EXPECT_EQ(ExecutableFolder() + skinFolder, package.GetResourcePath()) << c.what;
        }
        if (c.source.kind == kZipResource && c.result == kBuilt) {
            std::vector<uint8_t> png;
            EXPECT_TRUE(package.ReadFile(L"IMG\\LOGO.PNG", png));
            EXPECT_EQ("\x89PNG",
                      std::string(png.begin(), png.begin() + std::min<size_t>(4, png.size())));
        }
        if (c.source.kind == kXml && c.result == kBuilt) {
            // The included resource is named by its identifier and built twice.
            EXPECT_EQ(2, manager.FindControl(L"outer")->AsContainer()->GetCount());
        }
    }
}

TEST(SkinSourceTest, UnusableSkinShowsTheMessageAndExitsWithOne) {
    int exitCode = -2;
    std::thread child([&] { exitCode = RunChildScenario("skin_load_failure"); });
    HWND box = nullptr;
    for (int i = 0; i < 600 && box == nullptr; ++i) {
        box = ::FindWindowW(L"#32770", L"SkinUI");
        if (box == nullptr || !::IsWindowVisible(box)) {
            box = nullptr;
            ::Sleep(50);
        }
    }
    wchar_t text[64] = {};
    HWND owner = nullptr;
    if (box != nullptr) {
        ::GetDlgItemTextW(box, 0xFFFF, text, 64);
        owner = ::GetWindow(box, GW_OWNER);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
    child.join();
    ASSERT_NE(nullptr, box);
    EXPECT_STREQ(L"\u52a0\u8f7d\u8d44\u6e90\u6587\u4ef6\u5931\u8d25", text);
    EXPECT_EQ(nullptr, owner);
    EXPECT_EQ(1, exitCode);
}
