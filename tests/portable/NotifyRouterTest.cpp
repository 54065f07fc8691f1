// Notification maps: which entry a record reaches (named entries win over any-control ones
// within a map, a class's map before its base's), the two handler kinds, and virtual windows.
#include <gtest/gtest.h>

#include "ui/NotifyRouter.h"
#include "ui/controls/Button.h"

using namespace SkinUI;

namespace {

class BaseRouter : public CNotifyRouter {
  public:
    std::vector<std::string> calls;
    void OnAnyClick(SkinNotify&) { calls.push_back("base any click"); }
    void OnLink(SkinNotify&) { calls.push_back("base link"); }

    SKIN_DECLARE_NOTIFY_MAP()
};

SKIN_BEGIN_NOTIFY_MAP(BaseRouter, CNotifyRouter)
SKIN_NOTIFY_HANDLER(L"click", &BaseRouter::OnAnyClick)
SKIN_NOTIFY_HANDLER(L"link", &BaseRouter::OnLink)
SKIN_END_NOTIFY_MAP()

class Router : public BaseRouter {
  public:
    void OnAnyClick(SkinNotify&) { calls.push_back("any click"); }
    void OnOkClick(SkinNotify&) { calls.push_back("ok click"); }
    void OnTab(int32_t wParam, int32_t lParam, intptr_t*) {
        calls.push_back("tab " + std::to_string(wParam) + " " + std::to_string(lParam));
    }

    SKIN_DECLARE_NOTIFY_MAP()
};

// The entry for any control comes first: the named one still wins.
SKIN_BEGIN_NOTIFY_MAP(Router, BaseRouter)
SKIN_NOTIFY_HANDLER(L"click", &Router::OnAnyClick)
SKIN_NOTIFY_NAME_HANDLER(L"click", L"btn_ok", &Router::OnOkClick)
SKIN_NOTIFY_VALUE_HANDLER(L"tabselect", L"", &Router::OnTab)
SKIN_END_NOTIFY_MAP()

}  // namespace

TEST(NotifyRouterTest, RecordsReachTheEntryOfTheirTypeAndSender) {
    CButtonUI ok, other;
    ok.SetName(L"btn_ok");
    other.SetName(L"btn_other");
    const struct {
        const wchar_t* type;
        CControlUI* sender;
        const wchar_t* virtualWindow;
        std::vector<std::string> calls;  // of the window; then of the virtual window
        std::vector<std::string> pumpCalls;
        bool handled;
    } cases[] = {
        {L"click", &ok, L"", {"ok click"}, {}, true},
        {L"click", &other, L"", {"any click"}, {}, true},
        {L"link", &other, L"", {"base link"}, {}, true},  // from the base map
        {L"tabselect", &other, L"", {"tab 1 0"}, {}, true},
        {L"Click", &ok, L"", {}, {}, false},  // types compare exactly
        {L"selectchanged", &ok, L"", {}, {}, false},
        {L"click", &ok, L"PANEL", {}, {"base any click"}, true},  // names ignore case
        {L"tabselect", &ok, L"panel", {"tab 1 0"}, {}, true},     // the pump has none
        {L"click", &ok, L"nowhere", {"ok click"}, {}, true},
    };
    for (const auto& c : cases) {
        Router window;
        BaseRouter panel;
        ASSERT_TRUE(window.AddVirtualWnd(L"Panel", &panel));
        EXPECT_FALSE(window.AddVirtualWnd(L"panel", &panel));
        SkinNotify msg;
        msg.type = c.type;
        msg.sender = c.sender;
        msg.virtualWindow = c.virtualWindow;
        msg.wParam = 1;
        EXPECT_EQ(c.handled, window.NotifyPump(msg)) << c.type;
        EXPECT_EQ(c.calls, window.calls) << c.type << " " << c.virtualWindow;
        EXPECT_EQ(c.pumpCalls, panel.calls) << c.type << " " << c.virtualWindow;
    }
}
