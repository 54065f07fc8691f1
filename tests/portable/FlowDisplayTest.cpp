// The progress page's arithmetic, the banner carousel's timeline and the setup window's choice
// on a request to close.
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
        {57, false, 57, L"57 %"},
        {30, true, 70, L"30 %"},
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
    using C = CloseChoice;
    const struct {
        CloseRequest request;  // code, has pages, finish page shown, question open, page
        C choice;
        std::wstring key;
    } cases[] = {
        {{1, true, false, false, kHomePage}, C::kAsk, L"STR_CLOSE_TIP1"},
        {{0, true, false, false, kProgressPage}, C::kAsk, L"STR_CLOSE_TIP2"},
        {{1, true, true, false, kHomePage}, C::kClose, L""},
        {{1000, true, false, true, kProgressPage}, C::kClose, L""},
        {{1, true, false, true, kHomePage}, C::kIgnore, L""},
        {{1, false, false, false, kHomePage}, C::kIgnore, L""},
    };
    for (const auto& c : cases) {
        const CloseDecision decision = DecideClose(c.request);
        EXPECT_EQ(c.choice, decision.choice) << c.request.code << " page " << c.request.page;
        EXPECT_EQ(c.key, decision.questionKey ? decision.questionKey : L"");
    }
}
