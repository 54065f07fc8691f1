// The layout arithmetic as a table, and the tab layout's page selection with its
// notification.
#include <gtest/gtest.h>

#include "SkinTestSupport.h"
#include "ui/LayoutMath.h"
#include "ui/SkinManager.h"
#include "ui/controls/TabLayout.h"

using namespace SkinUI;

namespace {

LayoutItem Fixed(int height) {
    LayoutItem item;
    item.fixedHeight = height;
    return item;
}

LayoutItem Flexible() {
    return LayoutItem();
}

LayoutItem Hidden() {
    LayoutItem item;
    item.visible = false;
    return item;
}

}  // namespace

TEST(SkinLayoutTest, BoxLayoutSharesWhatFixedChildrenLeave) {
    LayoutItem capped = Fixed(500);
    capped.maxHeight = 100;
    LayoutItem narrow = Flexible();
    narrow.fixedWidth = 30;
    LayoutItem floating = Fixed(40);
    floating.floating = true;
    LayoutItem tall = Flexible();
    tall.minHeight = 70;

    const struct {
        const char* what;
        IntRect rect;
        IntRect inset;
        int padding;
        std::vector<LayoutItem> items;
        std::vector<IntRect> expected;
    } cases[] = {
        {"equal shares",
         {0, 0, 50, 100},
         {},
         10,
         {Fixed(20), Flexible(), Flexible()},
         {{0, 0, 50, 20}, {0, 30, 50, 60}, {0, 70, 50, 100}}},
        {"last takes the remainder",
         {0, 0, 50, 101},
         {},
         10,
         {Fixed(20), Flexible(), Flexible()},
         {{0, 0, 50, 20}, {0, 30, 50, 60}, {0, 70, 50, 101}}},
        {"hidden and floating take no space",
         {0, 0, 50, 100},
         {},
         10,
         {Flexible(), Hidden(), floating, Flexible()},
         {{0, 0, 50, 45}, {}, {}, {0, 55, 50, 100}}},
        {"inset", {10, 10, 110, 60}, {1, 2, 3, 4}, 0, {Flexible()}, {{11, 12, 107, 56}}},
        {"fixed size clamped, no negative share",
         {0, 0, 50, 60},
         {},
         5,
         {capped, Flexible(), narrow},
         {{0, 0, 50, 100}, {0, 105, 50, 105}, {0, 110, 30, 110}}},
        {"negative padding counts as 0",
         {0, 0, 50, 100},
         {},
         -7,
         {Flexible(), Flexible()},
         {{0, 0, 50, 50}, {0, 50, 50, 100}}},
        {"minimum of a flexible child",
         {0, 0, 50, 100},
         {},
         0,
         {tall, Flexible()},
         {{0, 0, 50, 70}, {0, 70, 50, 100}}},
    };
    for (const auto& c : cases) {
        BoxLayoutParams params;
        params.rect = c.rect;
        params.inset = c.inset;
        params.childPadding = c.padding;
        EXPECT_EQ(c.expected, LayoutBox(params, c.items)) << c.what;
    }

    // The horizontal layout is the same with the axes exchanged: two springs centre a button.
    BoxLayoutParams row;
    row.rect = IntRect{0, 0, 650, 46};
    row.axis = LayoutAxis::kHorizontal;
    LayoutItem button;
    button.fixedWidth = 168;
    button.fixedHeight = 46;
    EXPECT_EQ((std::vector<IntRect>{{0, 0, 241, 46}, {241, 0, 409, 46}, {409, 0, 650, 46}}),
              LayoutBox(row, {Flexible(), button, Flexible()}));
}

TEST(SkinLayoutTest, TabSelectionShowsOnePageAndNotifies) {
    CSkinManagerUI manager;
    auto tab = std::make_unique<CTabLayoutUI>();
    CTabLayoutUI* raw = tab.get();
    raw->SetName(L"switch");
    for (int i = 0; i < 3; ++i) {
        auto page = std::make_unique<CContainerUI>();
        page->SetName(L"page" + std::to_wstring(i));
        raw->Add(std::move(page));
    }
    manager.AttachRoot(std::move(tab));
    RecordingNotifier notifier;
    manager.AddNotifier(&notifier);
    EXPECT_EQ(0, raw->GetCurSel());
    EXPECT_FALSE(raw->GetItemAt(1)->IsVisible());

    EXPECT_TRUE(raw->SelectItem(2));
    EXPECT_TRUE(raw->SelectItem(2));  // the current page: nothing more
    EXPECT_FALSE(raw->SelectItem(3));
    EXPECT_FALSE(raw->SelectItem(-1));
    EXPECT_EQ(2, raw->GetCurSel());
    EXPECT_FALSE(raw->GetItemAt(0)->IsVisible());
    EXPECT_TRUE(raw->GetItemAt(2)->IsVisible());
    EXPECT_EQ(raw->GetItemAt(2), manager.GetFocus());
    EXPECT_EQ((std::vector<RecordedNotify>{{L"setfocus", L"page2", 0, 0},
                                           {L"tabselect", L"switch", 2, 0}}),
              notifier.received);

    manager.UpdateLayout(IntRect{0, 0, 200, 100});
    EXPECT_EQ((IntRect{0, 0, 200, 100}), raw->GetItemAt(2)->GetPos());
    EXPECT_EQ(IntRect{}, raw->GetItemAt(1)->GetPos());
}
