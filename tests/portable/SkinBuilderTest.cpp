// The builder over the shipped skin files and over small skins in an in-memory package:
// the tree the program relies on, includes, unknown elements and attributes, package
// look-ups, and a robustness loop over generated skins.
#include <gtest/gtest.h>

#include <random>

#include "SkinTestSupport.h"
#include "ZipTestArchive.h"
#include "ui/SkinBuilder.h"
#include "ui/SkinManager.h"
#include "ui/controls/Button.h"
#include "ui/controls/Container.h"
#include "ui/controls/Progress.h"

using namespace SkinUI;

namespace {

class RecordingHost : public ISkinWindowHost {
  public:
    void Invalidate(const IntRect&) override {}
    void ResizeWindow(int width, int height) override { resized = SkinSize{width, height}; }
    void RequestLayout() override {}
    bool StartTimer(uint32_t, uint32_t) override { return true; }
    void StopTimer(uint32_t) override {}
    SkinSize resized;
};

// A package whose archive holds |files|.
void OpenArchive(CSkinPackage& package, const std::vector<ZipTestEntry>& files) {
    const std::string zip = BuildZipArchive(files);
    package.SetSourceKind(SkinSource::kZipResource);
    ASSERT_TRUE(package.OpenZip(zip.data(), zip.size()));
}

int CountNamed(CControlUI* root, const std::wstring& name) {
    CContainerUI* container = root->AsContainer();
    int count = root->GetName() == name ? 1 : 0;
    for (int i = 0; container != nullptr && i < container->GetCount(); ++i) {
        count += CountNamed(container->GetItemAt(i), name);
    }
    return count;
}

}  // namespace

TEST(SkinBuilderTest, BothShippedTreesHoldTheControlsTheProgramLooksUp) {
    const struct {
        const wchar_t* name;
        const wchar_t* cls;
    } controls[] = {
        {L"switch", L"TabLayout"},
        {L"bottomLayout", L"VerticalLayout"},
        {L"edit_path", L"Edit"},
        {L"btn_browse", L"Button"},
        {L"label_path", L"Label"},
        {L"label_tip", L"Label"},
        {L"btn_install", L"Button"},
        {L"btn_start", L"Button"},
        {L"control_tip", L"Control"},
        {L"lineLayout", L"VerticalLayout"},
        {L"customLayout", L"VerticalLayout"},
        {L"chk_agree", L"CheckBox"},
        {L"btn_lisence", L"Button"},
        {L"chk_fold", L"CheckBox"},
        {L"banner", L"Control"},
        {L"progress_download", L"Progress"},
        {L"label_install", L"Text"},
        {L"label_progress", L"Text"},
        {L"btn_hide", L"Button"},
        {L"tab_home", L"Option"},
        {L"tab_progress", L"Option"},
        {L"closebtn", L"Button"},
        {L"minbtn", L"Button"},
    };
    for (const wchar_t* file : {L"skin.xml", L"skin_rtl.xml"}) {
        CSkinPackage package;
        OpenTestSkinFolder(package);
        CSkinManagerUI manager;
        CSkinBuilder builder(package);
        ASSERT_TRUE(manager.AttachRoot(builder.Build(file, &manager))) << builder.GetLastError();
        for (const auto& c : controls) {
            CControlUI* control = manager.FindControl(c.name);
            ASSERT_NE(nullptr, control) << c.name;
            EXPECT_STREQ(c.cls, control->GetClass()) << c.name;
        }
    }
}

TEST(SkinBuilderTest, BuildsTheShippedAttributesTheProgramReliesOn) {
    CSkinPackage package;
    OpenTestSkinFolder(package);
    CSkinManagerUI manager;
    RecordingHost host;
    manager.SetHost(&host);
    CSkinBuilder builder(package);
    ASSERT_TRUE(manager.AttachRoot(builder.Build(L"skin.xml", &manager))) << builder.GetLastError();
    EXPECT_EQ(nullptr, manager.FindControl(L"Switch"));  // names are case-sensitive

    auto* start = static_cast<CButtonUI*>(manager.FindControl(L"btn_start"));
    EXPECT_EQ(kTextCenter, start->GetTextStyle() & kTextHAlignMask);
    EXPECT_EQ(0x00FFFFFFu, start->GetDisabledTextColor());
    auto* agree = static_cast<CCheckBoxUI*>(manager.FindControl(L"chk_agree"));
    EXPECT_EQ(L"file='img/checked.png' dest='0,8,14,22'", agree->GetSelectedImage());
    EXPECT_EQ(L"Install >>", manager.FindControl(L"btn_install")->GetText());
    auto* home = static_cast<COptionUI*>(manager.FindControl(L"tab_home"));
    EXPECT_EQ(L"\u9996\u9875", home->GetText());
    EXPECT_EQ(2, home->GetFont());
    EXPECT_TRUE(home->IsSelected());
    EXPECT_EQ(nullptr, manager.GetFont(2));
    ASSERT_NE(nullptr, manager.GetFont(0));
    EXPECT_EQ(L"Segoe UI Semibold", manager.GetFont(0)->face);
    EXPECT_EQ(26, manager.GetFont(0)->size);
    EXPECT_EQ(30, static_cast<CProgressUI*>(manager.FindControl(L"progress_download"))->GetValue());

    EXPECT_EQ((SkinSize{650, 360}), host.resized);
    EXPECT_EQ((IntRect{4, 4, 4, 4}), manager.GetWindowAttributes().sizeBox);
    EXPECT_EQ((IntRect{0, 0, 0, 290}), manager.GetWindowAttributes().caption);

    // Page 1 is hidden by the tab layout; the install button is centred on page 0.
    EXPECT_FALSE(
        static_cast<CContainerUI*>(manager.FindControl(L"switch"))->GetItemAt(1)->IsVisible());
    manager.UpdateLayout(IntRect{0, 0, 650, 360});
    EXPECT_EQ((IntRect{157, 185, 325, 231}), manager.FindControl(L"btn_install")->GetPos());
    EXPECT_EQ((IntRect{1, 1, 649, 359}), manager.FindControl(L"switch")->GetPos());
}

TEST(SkinBuilderTest, IncludesCountTimesAndSkipsWhatCannotBeBuilt) {
    CSkinPackage package;
    OpenArchive(package,
                {{"root.xml",
                  "<Window><VerticalLayout name=\"box\">"
                  "<Include source=\"part.xml\" count=\"2\"/><Include count=\"3\"/>"
                  "<Include source=\"broken.xml\"/><Include source=\"missing.xml\"/>"
                  "<Unknown><Button name=\"hidden\"/></Unknown>"
                  "<Button name=\"last\" size=\"big\" size=\"huge\"><Label name=\"dropped\"/>"
                  "</Button></VerticalLayout></Window>"},
                 {"part.xml",
                  "<Window><Default name=\"label\" value=\"text=&quot;d&quot; "
                  "name=&quot;x&quot;\"/><Label name=\"part\"/></Window>"},
                 {"broken.xml", "<Window><Label name=\"bad\"></Window>"}});
    CSkinManagerUI manager;
    CSkinBuilder builder(package);
    std::unique_ptr<CControlUI> root = builder.Build(L"root.xml", &manager);
    ASSERT_TRUE(root);
    auto* box = root->AsContainer();
    ASSERT_EQ(3, box->GetCount());  // part, part, last
    EXPECT_EQ(2, CountNamed(root.get(), L"part"));
    EXPECT_EQ(L"d", box->GetItemAt(0)->GetText());  // the default list, then own attributes
    EXPECT_EQ(0, CountNamed(root.get(), L"bad") + CountNamed(root.get(), L"hidden") +
                     CountNamed(root.get(), L"dropped"));
    ASSERT_NE(nullptr, box->GetItemAt(2)->GetCustomAttribute(L"size"));
    EXPECT_EQ(L"big", *box->GetItemAt(2)->GetCustomAttribute(L"size"));
}

TEST(SkinBuilderTest, AsksPluginsThenTheCallbackForUnknownElements) {
    struct Callback : ISkinBuilderCallback {
        std::unique_ptr<CControlUI> CreateControl(const std::wstring& name) override {
            asked.push_back(name);
            return name == L"Fancy" ? std::make_unique<CLabelUI>() : nullptr;
        }
        std::vector<std::wstring> asked;
    } callback;
    CSkinPackage package;
    OpenArchive(package, {{"root.xml",
                           "<Window><HBox><Fancy name=\"f\"/><Plugged name=\"p\"/>"
                           "<Control name=\"c\" cover=\"true\"/></HBox></Window>"}});
    CSkinManagerUI manager;
    manager.AddControlPlugin([](const std::wstring& name) -> std::unique_ptr<CControlUI> {
        return name == L"Plugged" ? std::make_unique<CButtonUI>() : nullptr;
    });
    CSkinBuilder builder(package, &callback);
    ASSERT_TRUE(manager.AttachRoot(builder.Build(L"root.xml", &manager)));
    EXPECT_STREQ(L"Label", manager.FindControl(L"f")->GetClass());
    EXPECT_STREQ(L"Button", manager.FindControl(L"p")->GetClass());
    EXPECT_EQ(std::vector<std::wstring>{L"Fancy"}, callback.asked);
    EXPECT_EQ(manager.FindControl(L"c"), manager.GetRoot()->AsContainer()->GetCover());
}

TEST(SkinBuilderTest, PackageLooksUpIgnoringCaseAndSeparator) {
    CSkinPackage package;
    OpenArchive(package, {{"img/", "", false}, {"img/logo.png", "PNG bytes"}});
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(package.ReadFile(L"IMG\\LOGO.PNG", bytes));
    EXPECT_EQ("PNG bytes", std::string(bytes.begin(), bytes.end()));
    EXPECT_EQ(1, package.FindEntry(L"img/Logo.png"));
    EXPECT_EQ(-1, package.FindEntry(std::wstring(256, L'a')));
    EXPECT_FALSE(package.ReadFile(L"img/other.png", bytes));
    // Opened once: a second archive changes nothing.
    const std::string other = BuildZipArchive({{"x.xml", "<x/>"}});
    EXPECT_TRUE(package.OpenZip(other.data(), other.size()));
    EXPECT_EQ(-1, package.FindEntry(L"x.xml"));
}

TEST(SkinBuilderTest, SurvivesGeneratedSkins) {
    static const char* const kElements[] = {"VerticalLayout",
                                            "HorizontalLayout",
                                            "TabLayout",
                                            "Button",
                                            "Option",
                                            "CheckBox",
                                            "Progress",
                                            "Edit",
                                            "Label",
                                            "Text",
                                            "Control",
                                            "Include",
                                            "Font",
                                            "Default",
                                            "Image",
                                            "Container",
                                            "Tree"};
    static const char* const kAttributes[] = {
        "name",  "width", "height",     "inset",    "childpadding", "visible",
        "float", "pos",   "selectedid", "group",    "selected",     "value",
        "min",   "max",   "bordersize", "align",    "source",       "count",
        "cover", "id",    "size",       "minwidth", "maxheight",    "text"};
    static const char* const kValues[] = {
        "a",         "0", "-5",    "2147483647", "1,2,3,4", "true", "0.5,0.5,1,1",
        "-99999999", "g", "x.xml", "y.xml",      "40",      "",     "center right"};
    std::mt19937 random(7);
    auto pick = [&](const auto& list) { return list[random() % (sizeof(list) / sizeof(*list))]; };
    std::function<std::string(int)> element = [&](int depth) {
        std::string text = std::string("<") + pick(kElements);
        for (int i = random() % 5; i > 0; --i) {
            text += std::string(" ") + pick(kAttributes) + "=\"" + pick(kValues) + "\"";
        }
        text += ">";
        for (int i = depth > 0 ? random() % 4 : 0; i > 0; --i) {
            text += element(depth - 1);
        }
        return text + "</" + text.substr(1, text.find_first_of(" >") - 1) + ">";
    };
    for (int round = 0; round < 300; ++round) {
        CSkinPackage package;
        OpenArchive(package, {{"x.xml", "<Window>" + element(4) + element(3) + "</Window>"},
                              {"y.xml", "<Window>" + element(3) + "</Window>"}});
        CSkinManagerUI manager;
        RecordingHost host;
        manager.SetHost(&host);
        CSkinBuilder builder(package);
        manager.AttachRoot(builder.Build(L"x.xml", &manager));
        manager.UpdateLayout(IntRect{0, 0, 650, 360});
        manager.OnButtonDown(SkinPoint{10, 10});
        manager.OnButtonUp(SkinPoint{10, 10});
    }
}
