// Control state and notifications driven through the manager as the window will drive it:
// clicks, option groups, focus, the edit, the progress range, and which image and colour a
// control asks the painter for.
#include <gtest/gtest.h>

#include <algorithm>

#include "SkinTestSupport.h"
#include "ui/SkinManager.h"
#include "ui/controls/Button.h"
#include "ui/controls/Container.h"
#include "ui/controls/Edit.h"
#include "ui/controls/Label.h"
#include "ui/controls/Progress.h"

using namespace SkinUI;

namespace {

// A row of controls 100 pixels wide each, attached to a manager.
class ControlRow {
  public:
    template <typename T>
    T* Add(const wchar_t* name) {
        auto control = std::make_unique<T>();
        control->SetName(name);
        T* raw = control.get();
        row_->Add(std::move(control));
        return raw;
    }
    void Attach() {
        manager.AttachRoot(std::move(owned_));
        manager.UpdateLayout(IntRect{0, 0, 100 * row_->GetCount(), 30});
        manager.AddNotifier(&notifier);
    }
    void Click(int index) {
        manager.OnButtonDown(SkinPoint{100 * index + 5, 5});
        manager.OnButtonUp(SkinPoint{100 * index + 5, 5});
    }
    CSkinManagerUI manager;
    RecordingNotifier notifier;

  private:
    std::unique_ptr<CHorizontalLayoutUI> owned_ = std::make_unique<CHorizontalLayoutUI>();
    CHorizontalLayoutUI* row_ = owned_.get();
};

class RecordingPainter : public ISkinPainter {
  public:
    void FillColour(const IntRect&, uint32_t) override {}
    bool DrawImage(const IntRect&, const std::wstring& descriptor) override {
        images.push_back(descriptor);
        return descriptor.find(L"broken") == std::wstring::npos;
    }
    void DrawText(const IntRect& rect, const std::wstring&, uint32_t colour, int, uint32_t, bool,
                  int, std::vector<SkinLinkArea>* links) override {
        textColour = colour;
        if (links != nullptr) {  // one link over the left half of the text
            *links = {SkinLinkArea{
                0, IntRect{rect.left, rect.top, rect.left + rect.Width() / 2, rect.bottom}}};
        }
    }
    void DrawBorder(const IntRect&, const IntRect&, uint32_t, const SkinSize&) override {}
    void PushClip(const IntRect&, const SkinSize&) override {}
    void PopClip() override {}
    void DrawFocusRect(const IntRect&) override {}
    std::vector<std::wstring> images;
    uint32_t textColour = 0;
};

}  // namespace

TEST(SkinControlsTest, ClicksReachCallbacksThenNotifiersInOrder) {
    ControlRow row;
    CButtonUI* button = row.Add<CButtonUI>(L"btn");
    CCheckBoxUI* check = row.Add<CCheckBoxUI>(L"chk");
    CButtonUI* disabled = row.Add<CButtonUI>(L"off");
    disabled->SetEnabled(false);
    row.Attach();
    RecordingNotifier second;
    row.manager.AddNotifier(&second);
    // The sender's own callbacks see each notification before any notifier does.
    std::vector<std::wstring> order;
    button->AddNotifyCallback([&](SkinNotify& msg) {
        order.push_back(msg.type + L"@" + std::to_wstring(row.notifier.received.size()));
        EXPECT_TRUE(msg.type != L"click" || msg.mousePos.x == 5);
    });

    row.Click(0);
    EXPECT_EQ((std::vector<std::wstring>{L"setfocus@0", L"click@1"}), order);
    row.Click(1);
    row.Click(1);
    row.Click(2);
    // Released outside the pressed control: no click.
    row.manager.OnButtonDown(SkinPoint{5, 5});
    row.manager.OnButtonUp(SkinPoint{150, 5});
    EXPECT_FALSE(button->IsPushed());

    EXPECT_EQ((std::vector<RecordedNotify>{{L"setfocus", L"btn", 0, 0},
                                           {L"click", L"btn", 0, 0},
                                           {L"killfocus", L"btn", 0, 0},
                                           {L"setfocus", L"chk", 0, 0},
                                           {L"click", L"chk", 0, 0},
                                           {L"selectchanged", L"chk", 0, 0},
                                           {L"click", L"chk", 0, 0},
                                           {L"selectchanged", L"chk", 0, 0},
                                           {L"killfocus", L"chk", 0, 0},
                                           {L"setfocus", L"btn", 0, 0}}),
              row.notifier.received);
    EXPECT_EQ(row.notifier.received, second.received);
    EXPECT_FALSE(check->GetCheck());
    check->SetCheck(false);  // already in that state: no notification
    EXPECT_EQ(10u, row.notifier.received.size());
}

TEST(SkinControlsTest, SelectingAnOptionDeselectsItsGroupOnly) {
    ControlRow row;
    COptionUI* a = row.Add<COptionUI>(L"a");
    COptionUI* b = row.Add<COptionUI>(L"b");
    COptionUI* other = row.Add<COptionUI>(L"other");
    a->SetGroup(L"g");
    b->SetGroup(L"g");
    other->SetGroup(L"h");
    a->Selected(true, false);
    other->Selected(true, false);
    row.Attach();

    row.Click(1);
    row.Click(1);  // a selected option of a group stays selected
    EXPECT_FALSE(a->IsSelected());
    EXPECT_TRUE(b->IsSelected());
    EXPECT_TRUE(other->IsSelected());
    int changes = 0;
    for (const RecordedNotify& n : row.notifier.received) {
        changes += n.type == L"selectchanged" ? 1 : 0;
        EXPECT_NE(L"a", n.sender);  // the deselected one stays silent
    }
    EXPECT_EQ(1, changes);
}

TEST(SkinControlsTest, FocusMovedByASetFocusHandlerStaysMoved) {
    ControlRow row;
    CEditUI* edit = row.Add<CEditUI>(L"edit_path");
    CButtonUI* browse = row.Add<CButtonUI>(L"btn_browse");
    edit->AddNotifyCallback([&](SkinNotify& msg) {
        if (msg.type == L"setfocus") {
            browse->SetFocus();
        }
    });
    row.Attach();
    row.Click(0);
    EXPECT_EQ(browse, row.manager.GetFocus());
    EXPECT_FALSE(edit->IsFocused());
    EXPECT_TRUE(browse->IsFocused());

    browse->SetVisible(false);  // a hidden control loses the focus
    EXPECT_EQ(nullptr, row.manager.GetFocus());
    EXPECT_EQ(L"killfocus", row.notifier.received.back().type);
}

TEST(SkinControlsTest, EditTakesTypedTextUnlessReadOnly) {
    ControlRow row;
    CEditUI* edit = row.Add<CEditUI>(L"edit");
    row.Attach();
    edit->SetFocus();
    for (uint32_t c : {uint32_t{'a'}, uint32_t{'b'}, kKeyBack, uint32_t{'c'}}) {
        row.manager.OnChar(c);
    }
    EXPECT_EQ(L"ac", edit->GetText());
    edit->SetReadOnly(true);
    row.manager.OnChar('d');
    row.manager.OnKeyDown(kKeyReturn);
    EXPECT_EQ(L"ac", edit->GetText());
    int textChanged = 0;
    for (const RecordedNotify& n : row.notifier.received) {
        textChanged += n.type == L"textchanged" ? 1 : 0;
    }
    EXPECT_EQ(4, textChanged);
    EXPECT_EQ(L"return", row.notifier.received.back().type);
}

TEST(SkinControlsTest, ProgressKeepsItsValueInRange) {
    const struct {
        int min, max, value;
        int expectedMax, expectedValue, fillWidth;
    } cases[] = {
        {0, 100, 30, 100, 30, 90},  // the fill of a 300-pixel bar at 30 %
        {0, 100, 130, 100, 100, 300},
        {50, 50, 70, 51, 51, 300},
        {20, 10, 0, 21, 20, 0},
    };
    for (const auto& c : cases) {
        CProgressUI progress;
        progress.SetPos(IntRect{0, 0, 300, 6});
        progress.SetMinValue(c.min);
        progress.SetMaxValue(c.max);
        progress.SetValue(c.value);
        EXPECT_EQ(c.expectedMax, progress.GetMaxValue()) << c.min << " " << c.max;
        EXPECT_EQ(c.expectedValue, progress.GetValue()) << c.min << " " << c.max;
        EXPECT_EQ(c.fillWidth, progress.GetFillRect().Width()) << c.min << " " << c.max;
    }
}

TEST(SkinControlsTest, PaintsTheImageAndColourOfTheState) {
    ControlRow row;
    CButtonUI* button = row.Add<CButtonUI>(L"b");
    COptionUI* option = row.Add<COptionUI>(L"o");
    button->ApplyAttributeList(
        L"normalimage=\"n\" hotimage=\"h\" pushedimage=\"p\" disabledimage=\"broken\" "
        L"textcolor=\"#FF010203\" hottextcolor=\"#FF0A0B0C\" text=\"x\"");
    option->ApplyAttributeList(
        L"normalimage=\"n\" pushedimage=\"p\" selectedimage=\"s\" text=\"x\"");
    row.Attach();
    const IntRect all{0, 0, 200, 30};
    auto paint = [&](CControlUI* control) {
        RecordingPainter painter;
        control->DoPaint(painter, all);
        return painter;
    };

    EXPECT_EQ(std::vector<std::wstring>{L"n"}, paint(button).images);
    EXPECT_EQ(0xFF010203u, paint(button).textColour);
    row.manager.OnMouseMove(SkinPoint{5, 5});
    EXPECT_EQ(std::vector<std::wstring>{L"h"}, paint(button).images);
    EXPECT_EQ(0xFF0A0B0Cu, paint(button).textColour);
    row.manager.OnButtonDown(SkinPoint{5, 5});
    EXPECT_EQ(std::vector<std::wstring>{L"p"}, paint(button).images);
    row.manager.OnButtonUp(SkinPoint{5, 5});
    button->SetEnabled(false);
    // The disabled image cannot be drawn: the normal one instead, and not tried again.
    EXPECT_EQ((std::vector<std::wstring>{L"broken", L"n"}), paint(button).images);
    EXPECT_EQ(std::vector<std::wstring>{L"n"}, paint(button).images);
    EXPECT_EQ(0xFFA7A6AAu, paint(button).textColour);

    row.manager.OnButtonDown(SkinPoint{105, 5});
    EXPECT_EQ(std::vector<std::wstring>{L"n"}, paint(option).images);  // never the pushed one
    row.manager.OnButtonUp(SkinPoint{105, 5});
    EXPECT_EQ(std::vector<std::wstring>{L"s"}, paint(option).images);
}

TEST(SkinControlsTest, KeyboardMovesTheFocusAndPressesTheFocusedControl) {
    ControlRow row;
    CButtonUI* button = row.Add<CButtonUI>(L"btn");
    row.Add<CButtonUI>(L"off")->SetEnabled(false);
    row.Add<CControlUI>(L"plain");
    CCheckBoxUI* check = row.Add<CCheckBoxUI>(L"chk");
    row.Add<CEditUI>(L"edit");
    row.Attach();
    // Tab: the shown, enabled, focusable controls in tree order, wrapping; Shift+Tab: back.
    std::vector<std::wstring> order;
    for (const bool forward : {true, true, true, true, false, false}) {
        row.manager.MoveFocus(forward);
        order.push_back(row.manager.GetFocus()->GetName());
    }
    EXPECT_EQ((std::vector<std::wstring>{L"btn", L"chk", L"edit", L"btn", L"edit", L"chk"}), order);

    const struct {
        CControlUI* focus;
        std::vector<std::pair<bool, uint32_t>> keys;  // down?, key
        std::vector<std::wstring> notified;
    } cases[] = {
        {button, {{true, kKeySpace}}, {}},  // pressed, not yet released
        {button, {{true, kKeySpace}, {false, kKeySpace}}, {L"click"}},
        {button, {{true, kKeyReturn}}, {L"click"}},
        {button, {{false, kKeySpace}}, {}},  // a release alone does nothing
        {check, {{true, kKeySpace}, {false, kKeySpace}}, {L"click", L"selectchanged"}},
        {check, {{true, kKeyReturn}}, {L"click", L"selectchanged"}},
    };
    for (const auto& c : cases) {
        c.focus->SetFocus();
        row.notifier.received.clear();
        for (const auto& key : c.keys) {
            key.first ? row.manager.OnKeyDown(key.second) : row.manager.OnKeyUp(key.second);
        }
        std::vector<std::wstring> notified;
        for (const RecordedNotify& n : row.notifier.received) {
            notified.push_back(n.type);
        }
        EXPECT_EQ(c.notified, notified) << c.focus->GetName() << " " << c.keys.size();
        button->SetFocus();  // the focus leaving ends a press without a click
        check->SetFocus();
        EXPECT_FALSE(button->IsPushed());
    }
}

TEST(SkinControlsTest, LinksOfTextSendLinkAndOfButtonsClick) {
    ControlRow row;
    CTextUI* text = row.Add<CTextUI>(L"txt");
    CButtonUI* button = row.Add<CButtonUI>(L"btn");
    for (CLabelUI* label : std::initializer_list<CLabelUI*>{text, button}) {
        label->ApplyAttributeList(L"showhtml=\"true\" text=\"see {a x}here{/a}\"");
    }
    row.Attach();
    RecordingPainter painter;
    row.manager.Paint(painter, IntRect{0, 0, 200, 30}, IntRect{0, 0, 200, 30});
    // The link covers the left half of each control's text area.
    EXPECT_EQ(0, text->LinkAt(SkinPoint{10, 5}));
    EXPECT_EQ(-1, text->LinkAt(SkinPoint{90, 5}));
    row.manager.OnMouseMove(SkinPoint{10, 5});
    EXPECT_EQ(0, text->GetHoverLink());
    EXPECT_TRUE(text->WantsHandCursor(SkinPoint{10, 5}));
    row.notifier.received.clear();
    row.Click(0);                                 // on the link
    row.manager.OnButtonDown(SkinPoint{10, 5});   // pressed on the link,
    row.manager.OnButtonUp(SkinPoint{90, 5});     // released beside it
    row.manager.OnButtonDown(SkinPoint{105, 5});  // the button's link
    row.manager.OnButtonUp(SkinPoint{105, 5});
    EXPECT_EQ((std::vector<RecordedNotify>{
                  {L"link", L"txt", 0, 0}, {L"setfocus", L"btn", 0, 0}, {L"click", L"btn", 0, 0}}),
              row.notifier.received);
}

namespace {

class TimerHost : public ISkinWindowHost {
  public:
    void Invalidate(const IntRect&) override {}
    void ResizeWindow(int, int) override {}
    void RequestLayout() override {}
    bool StartTimer(uint32_t id, uint32_t) override {
        StopTimer(id);  // a running timer restarts
        running.push_back(id);
        return true;
    }
    void StopTimer(uint32_t id) override {
        running.erase(std::remove(running.begin(), running.end(), id), running.end());
    }
    std::vector<uint32_t> running;
};

}  // namespace

TEST(SkinControlsTest, ControlTimersSendTimerUntilTheControlGoes) {
    TimerHost host;  // outlives the manager
    ControlRow row;
    CButtonUI* button = row.Add<CButtonUI>(L"btn");
    row.Attach();
    row.manager.SetHost(&host);
    ASSERT_TRUE(row.manager.SetTimer(button, 7, 100));
    ASSERT_TRUE(row.manager.SetTimer(button, 7, 200));  // the same timer, a new period
    ASSERT_EQ(1u, host.running.size());
    EXPECT_FALSE(row.manager.OnTimer(host.running[0] + 1));  // not the manager's
    EXPECT_TRUE(row.manager.OnTimer(host.running[0]));
    EXPECT_EQ((RecordedNotify{L"timer", L"btn", 7, 0}), row.notifier.received.back());
    row.manager.DestroyTree();
    EXPECT_TRUE(host.running.empty());
}
