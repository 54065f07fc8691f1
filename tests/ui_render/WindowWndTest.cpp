// Real windows under Xvfb: centring, the modal loop with its filters, result and the end of
// the window, the GUI-thread task queue, and a double-buffered paint in both layouts.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "RenderTestSupport.h"
#include "ui/render/BackBuffer.h"
#include "ui/render/ColorDraw.h"
#include "ui/window/MessageFilter.h"
#include "ui/window/WindowWnd.h"

using namespace SkinUI;

namespace {

class TestWindow : public CWindowWnd {
  public:
    std::vector<UINT> seen;  // messages of interest, in arrival order
    bool refuseClose = false;
    bool gone = false;
    std::function<void(HDC, const RECT&)> paint;

    HWND CreatePopup(int w = 650, int h = 360, HWND owner = nullptr, DWORD exStyle = 0) {
        return Create(owner, L"RenderTestWindow", WS_POPUP, exStyle, 0, 0, w, h);
    }

  protected:
    LPCWSTR ClassName() const override { return L"RenderTestWindowClass"; }

    LRESULT HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_KEYDOWN || message == WM_CLOSE || message == WM_NCDESTROY) {
            seen.push_back(message);
        }
        if (message == WM_CLOSE && refuseClose) {
            refuseClose = false;
            return 0;
        }
        if (message == WM_PAINT && paint) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(GetHWND(), &ps);
            RECT client;
            GetClientRect(GetHWND(), &client);
            CBackBuffer buffer;
            if (buffer.Begin(dc, client.right, client.bottom, ps.rcPaint)) {
                paint(buffer.Dc(), client);
                buffer.Present(dc, ps.rcPaint);
            }
            EndPaint(GetHWND(), &ps);
            return 0;
        }
        return CWindowWnd::HandleWindowMessage(message, wParam, lParam);
    }

    void OnWindowGone(HWND) override {
        gone = GetHWND() == nullptr && !seen.empty() && seen.back() == WM_NCDESTROY;
    }
};

class KeyFilter : public IMessageFilterUI {
  public:
    std::vector<WPARAM> keys;
    LRESULT MessageFilter(UINT message, WPARAM wParam, LPARAM, bool& handled) override {
        if (message == WM_KEYDOWN) {
            keys.push_back(wParam);
            handled = wParam == VK_ESCAPE;
        }
        return 0;
    }
};

RECT WorkArea(HWND window) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info.rcWork;
}

RECT WindowRect(HWND window) {
    RECT rc;
    GetWindowRect(window, &rc);
    return rc;
}

}  // namespace

TEST(WindowWndTest, CenterWindowUsesOwnerOrWorkAreaAndStaysInside) {
    TestWindow plain;
    ASSERT_NE(nullptr, plain.CreatePopup());
    plain.CenterWindow();
    const RECT area = WorkArea(plain.GetHWND());
    const RECT rc = WindowRect(plain.GetHWND());
    EXPECT_EQ((area.left + area.right) / 2 - 325, rc.left);
    EXPECT_EQ((area.top + area.bottom) / 2 - 180, rc.top);
    EXPECT_EQ(650, rc.right - rc.left);
    EXPECT_EQ(360, rc.bottom - rc.top);
    if (area.right - area.left == 1280 && area.bottom - area.top == 800) {
        EXPECT_EQ(315, rc.left);
        EXPECT_EQ(220, rc.top);
    }

    const struct {
        POINT ownerAt;
        bool minimized;
        POINT expected;  // relative to the work area; -1: centred in it
    } cases[] = {
        {{300, 200}, false, {300 + 100 - 50, 200 + 50 - 40}},
        {{-150, -100}, false, {0, 0}},
        {{area.right - 60, area.bottom - 30}, false, {area.right - 100, area.bottom - 80}},
        {{300, 200}, true, {-1, -1}},
    };
    for (const auto& c : cases) {
        TestWindow owner, owned;
        ASSERT_NE(nullptr, owner.Create(nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, c.ownerAt.x,
                                        c.ownerAt.y, 200, 100));
        if (c.minimized) {
            ShowWindow(owner.GetHWND(), SW_MINIMIZE);
        }
        ASSERT_NE(nullptr, owned.CreatePopup(100, 80, owner.GetHWND()));
        owned.CenterWindow();
        const RECT got = WindowRect(owned.GetHWND());
        const LONG x = c.expected.x == -1 ? (area.left + area.right) / 2 - 50 : c.expected.x;
        const LONG y = c.expected.y == -1 ? (area.top + area.bottom) / 2 - 40 : c.expected.y;
        EXPECT_EQ(x, got.left) << c.ownerAt.x << "," << c.ownerAt.y;
        EXPECT_EQ(y, got.top) << c.ownerAt.x << "," << c.ownerAt.y;
        DestroyWindow(owned.GetHWND());
    }
}

TEST(WindowWndTest, ShowModalReturnsTheCloseValueAndFreesTheOwner) {
    TestWindow owner, dialog;
    ASSERT_NE(nullptr, owner.Create(nullptr, L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 0, 50, 50));
    ASSERT_NE(nullptr, dialog.CreatePopup(100, 80, owner.GetHWND()));
    dialog.refuseClose = true;
    std::vector<bool> ownerEnabled;
    dialog.PostToGuiThread([&] {
        ownerEnabled.push_back(IsWindowEnabled(owner.GetHWND()) != FALSE);
        dialog.Close(3);  // refused by the window
        dialog.PostToGuiThread([&] {
            ownerEnabled.push_back(IsWindowEnabled(owner.GetHWND()) != FALSE);
            dialog.Close(42);
        });
    });
    EXPECT_EQ(42u, dialog.ShowModal());
    EXPECT_EQ((std::vector<bool>{false, false}), ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner.GetHWND()));
    EXPECT_EQ((std::vector<UINT>{WM_CLOSE, WM_CLOSE, WM_NCDESTROY}), dialog.seen);
    EXPECT_TRUE(dialog.gone);  // after the last message, with the handle cleared

    // WM_QUIT ends the loop early and is posted again for the caller's loop.
    TestWindow quitting;
    ASSERT_NE(nullptr, quitting.CreatePopup(100, 80));
    PostQuitMessage(7);
    EXPECT_EQ(0u, quitting.ShowModal());
    EXPECT_TRUE(IsWindow(quitting.GetHWND()));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(7u, msg.wParam);
}

TEST(WindowWndTest, MessageFiltersSeeKeysBeforeTheWindow) {
    TestWindow window, other;
    ASSERT_NE(nullptr, window.CreatePopup(100, 80));
    ASSERT_NE(nullptr, other.CreatePopup(100, 80));
    KeyFilter filter, otherFilter;
    AddMessageFilter(window.GetHWND(), &filter);
    AddMessageFilter(other.GetHWND(), &otherFilter);
    PostMessageW(window.GetHWND(), WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(window.GetHWND(), WM_KEYDOWN, VK_RETURN, 0);
    window.PostToGuiThread([&] { window.Close(9); });
    EXPECT_EQ(9u, window.ShowModal());
    EXPECT_EQ((std::vector<WPARAM>{VK_ESCAPE, VK_RETURN}), filter.keys);
    EXPECT_TRUE(otherFilter.keys.empty());
    // Escape was swallowed by the filter; Return reached the window.
    EXPECT_EQ((std::vector<UINT>{WM_KEYDOWN, WM_CLOSE, WM_NCDESTROY}), window.seen);
    // Each filter sees its own window's messages only.
    PostMessageW(other.GetHWND(), WM_KEYDOWN, 'B', 0);
    other.PostToGuiThread([&] { other.Close(1); });
    other.ShowModal();
    EXPECT_EQ((std::vector<WPARAM>{'B'}), otherFilter.keys);
    EXPECT_EQ(2u, filter.keys.size());
}

TEST(WindowWndTest, GuiTasksFromAnotherThreadRunInOrderOnTheWindowThread) {
    TestWindow window;
    ASSERT_NE(nullptr, window.CreatePopup(100, 80));
    std::shared_ptr<CGuiTaskQueue> tasks = window.GuiTasks();
    std::vector<int> order;
    std::atomic<int> offThread{0};
    const DWORD guiThread = GetCurrentThreadId();
    std::thread worker([&] {
        for (int i = 0; i < 2000; ++i) {
            tasks->Post([&, i] {
                order.push_back(i);
                offThread += GetCurrentThreadId() != guiThread ? 1 : 0;
            });
        }
        tasks->Post([&] { window.Close(5); });
    });
    EXPECT_EQ(5u, window.ShowModal());
    worker.join();
    ASSERT_EQ(2000u, order.size());
    for (int i = 0; i < 2000; ++i) {
        ASSERT_EQ(i, order[i]);
    }
    EXPECT_EQ(0, offThread.load());

    // After the window: posts are refused and their closures destroyed, never run.
    auto token = std::make_shared<int>(0);
    bool ran = false;
    EXPECT_FALSE(tasks->Post([token, &ran] { ran = true; }));
    EXPECT_EQ(1, token.use_count());

    // Closures still queued when the window goes are dropped.
    TestWindow shortLived;
    ASSERT_NE(nullptr, shortLived.CreatePopup(100, 80));
    EXPECT_TRUE(shortLived.PostToGuiThread([token, &ran] { ran = true; }));
    EXPECT_EQ(2, token.use_count());
    DestroyWindow(shortLived.GetHWND());
    EXPECT_EQ(1, token.use_count());
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&msg);
    }
    EXPECT_FALSE(ran);
}

TEST(WindowWndTest, DoubleBufferedPaintFollowsTheWindowLayout) {
    for (const DWORD exStyle : {DWORD{0}, DWORD{WS_EX_LAYOUTRTL}}) {
        TestWindow window;
        window.paint = [](HDC dc, const RECT& client) {
            FillColor(dc, client, 0xFFFFFFFF);
            FillColor(dc, {0, 0, 100, client.bottom}, 0xFFFF0000);  // the logical left strip
        };
        ASSERT_NE(nullptr, window.CreatePopup(300, 50, nullptr, exStyle));
        ShowWindow(window.GetHWND(), SW_SHOWNA);
        UpdateWindow(window.GetHWND());

        HDC windowDc = GetDC(window.GetHWND());
        SetLayout(windowDc, 0);  // read the pixels as they are on the screen
        DibSurface copy;
        MakeCanvas(copy, 300, 50, 0);
        BitBlt(copy.Dc(), 0, 0, 300, 50, windowDc, 0, 0, SRCCOPY);
        ReleaseDC(window.GetHWND(), windowDc);
        const RECT red = FindPixels(copy, [](uint32_t p) { return Rgb(p) == 0xFF0000; });
        const RECT expected = exStyle == 0 ? RECT{0, 0, 100, 50} : RECT{200, 0, 300, 50};
        EXPECT_TRUE(EqualRect(&expected, &red)) << exStyle << ": " << red.left << "-" << red.right;
        DestroyWindow(window.GetHWND());
    }
}
