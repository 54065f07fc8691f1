// The progress page's arithmetic, the banner carousel's timeline and the setup window's close
// and message-box decisions.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "Window/BannerCarousel.h"
#include "Window/FlowQuestions.h"
#include "Window/ProgressDisplay.h"

namespace {

constexpr int64_t kMiB = 1 << 20;

}  // namespace

TEST(DownloadProgressTest, EventsInOrder) {
    struct Step {
        const char* what;
        int64_t downloaded;
        int64_t size;
        int percent;
        int64_t shown;
    };
    const Step steps[] = {
        {"start", 0, 100 * kMiB, 0, 0},
        {"45 of 100 MiB truncates 40.5", 45 * kMiB, 100 * kMiB, 40, 45 * kMiB},
        {"a retried range drops the count", 44 * kMiB, 100 * kMiB, 40, 45 * kMiB + 10},
        {"and the display creeps on", 44 * kMiB, 100 * kMiB, 40, 45 * kMiB + 20},
        {"until the count overtakes it", 46 * kMiB, 100 * kMiB, 41, 46 * kMiB},
        {"unknown size shows 0 and keeps the mark", 50 * kMiB, 0, 0, 46 * kMiB},
        {"more than the size is held at it", 101 * kMiB, 100 * kMiB, 90, 100 * kMiB},
        {"a drop at the end stays at the size", 1, 100 * kMiB, 90, 100 * kMiB},
    };
    DownloadProgressMeter meter;
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(s.percent, meter.Update(s.downloaded, s.size));
        EXPECT_EQ(s.shown, meter.shown());
    }
    meter.Reset();
    EXPECT_EQ(45, meter.Update(3 * 1024 * kMiB, 6 * 1024 * kMiB));  // counts beyond 32 bits
    EXPECT_EQ(3 * 1024 * kMiB, meter.shown());
}

TEST(DownloadProgressTest, BarAndLabel) {
    const struct {
        int percent;
        bool rightToLeft;
        int bar;
        const wchar_t* label;
    } cases[] = {
        {30, false, 30, L"30 %"}, {30, true, 70, L"30 %"},     {0, true, 100, L"0 %"},
        {57, false, 57, L"57 %"}, {100, false, 100, L"100 %"},
    };
    for (const auto& c : cases) {
        const ProgressView view = MakeProgressView(c.percent, c.rightToLeft);
        EXPECT_EQ(c.bar, view.barValue) << c.percent << " rtl " << c.rightToLeft;
        EXPECT_EQ(c.label, view.label);
    }
}

TEST(BannerCarouselTest, TimelineWithThreePictures) {
    const std::set<int> pictures = {1, 2, 3};
    int onScreen = 0;
    std::vector<int> asked;
    const BannerCarousel::ShowPicture show = [&](int number) {
        asked.push_back(number);
        if (pictures.count(number) == 0) {
            return false;
        }
        onScreen = number;
        return true;
    };
    BannerCarousel carousel;
    std::vector<int> timeline;
    for (int round = 0; round < 2; ++round) {
        // Entering the download page, then one tick every 5 s; the second carousel (after a
        // way back to the home page) continues the count.
        EXPECT_TRUE(BannerCarousel::ShowFirst(show));
        timeline.push_back(onScreen);
        for (int tick = 0; tick < 6; ++tick) {
            carousel.Tick(show);
            timeline.push_back(onScreen);
        }
    }
    EXPECT_EQ((std::vector<int>{1, 1, 2, 3, 3, 1, 2, 1, 3, 3, 1, 2, 3, 3}), timeline);
    EXPECT_EQ((std::vector<int>{1, 1, 2, 3, 4, 1, 2, 1, 3, 4, 1, 2, 3, 4}), asked);
    EXPECT_EQ(L"C:\\w\\language\\Arabic\\pr_12.png", BannerPicturePath(L"C:\\w\\", L"Arabic", 12));
}

TEST(CloseQuestionTest, ChoiceByPageAndState) {
    const struct {
        const char* what;
        CloseRequest request;
        CloseChoice choice;
        std::wstring key;
    } cases[] = {
        {"home page asks",
         {1, true, false, false, kHomePage},
         CloseChoice::kAsk,
         L"STR_CLOSE_TIP1"},
        {"progress page asks the other",
         {1, true, false, false, kProgressPage},
         CloseChoice::kAsk,
         L"STR_CLOSE_TIP2"},
        {"system menu code asks too",
         {0, true, false, false, kProgressPage},
         CloseChoice::kAsk,
         L"STR_CLOSE_TIP2"},
        {"finish page closes", {1, true, true, false, kHomePage}, CloseChoice::kClose, L""},
        {"the flow's own close",
         {1000, true, false, true, kProgressPage},
         CloseChoice::kClose,
         L""},
        {"question already open", {1, true, false, true, kHomePage}, CloseChoice::kIgnore, L""},
        {"no pages in the skin", {1, false, false, false, kHomePage}, CloseChoice::kIgnore, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const CloseDecision decision = DecideClose(c.request);
        EXPECT_EQ(c.choice, decision.choice);
        EXPECT_EQ(c.key, decision.questionKey ? decision.questionKey : L"");
    }
}

TEST(CloseQuestionTest, MessageBoxTypes) {
    const struct {
        MessageBoxKind kind;
        unsigned leftToRight;
        unsigned rightToLeft;
    } cases[] = {
        {kBoxStorage, 0x0, 0x190000},
        {kBoxCloseQuestion, 0x24, 0x190024},
        {kBoxProductRunning, 0x31, 0x190031},
        {kBoxDownloadFailed, 0x32, 0x190032},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.leftToRight, MessageBoxType(c.kind, false));
        EXPECT_EQ(c.rightToLeft, MessageBoxType(c.kind, true));
    }
}
