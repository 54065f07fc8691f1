#include "ui/window/SkinWindowHost.h"

#include <windowsx.h>

#include "ui/SkinManager.h"
#include "ui/controls/Control.h"
#include "ui/render/ColorDraw.h"
#include "ui/window/GdiSkinPainter.h"

namespace SkinUI {

namespace {

// Posted to the window when the controls must be laid out again; one per burst of changes.
UINT LayoutMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"SkinUI.Layout");
    return message;
}

SkinPoint PointOf(LPARAM lParam) {
    return SkinPoint{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
}

bool IsAutoRepeat(LPARAM flags) {
    return (flags & (LPARAM{1} << 30)) != 0;
}

double MicrosecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1e6 /
           static_cast<double>(frequency.QuadPart);
}

}  // namespace

CSkinWindowHost::CSkinWindowHost(CSkinManagerUI& manager, const CSkinPackage& package)
    : manager_(manager), resources_(manager, package) {}

CSkinWindowHost::~CSkinWindowHost() {
    Attach(nullptr);
}

void CSkinWindowHost::Attach(HWND window) {
    window_ = window;
    if (window != nullptr) {
        manager_.SetHost(this);
        return;
    }
    manager_.ReleaseWindow();
    resources_.Clear();
    trackingLeave_ = false;
    layoutPosted_ = false;
}

IntRect CSkinWindowHost::ClientRect() const {
    RECT rc = {};
    ::GetClientRect(window_, &rc);
    return ToIntRect(rc);
}

void CSkinWindowHost::Invalidate(const IntRect& rect) {
    if (window_ != nullptr) {
        const RECT rc = ToRect(rect);
        ::InvalidateRect(window_, &rc, FALSE);
    }
}

void CSkinWindowHost::ResizeWindow(int width, int height) {
    if (window_ != nullptr) {
        ::SetWindowPos(window_, nullptr, 0, 0, width, height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CSkinWindowHost::RequestLayout() {
    if (window_ != nullptr && !layoutPosted_) {
        layoutPosted_ = ::PostMessageW(window_, LayoutMessage(), 0, 0) != FALSE;
    }
}

bool CSkinWindowHost::StartTimer(uint32_t timerId, uint32_t elapse) {
    return window_ != nullptr && ::SetTimer(window_, timerId, elapse, nullptr) != 0;
}

void CSkinWindowHost::StopTimer(uint32_t timerId) {
    if (window_ != nullptr) {
        ::KillTimer(window_, timerId);
    }
}

void CSkinWindowHost::LayOut() {
    // Lays out only when something changed; moved controls invalidate their old and new
    // places, so the paint that follows covers them.
    if (!::IsIconic(window_)) {
        manager_.UpdateLayout(ClientRect());
    }
}

void CSkinWindowHost::Paint() {
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    LayOut();  // before BeginPaint, so what the layout invalidates is painted now
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window_, &ps);
    if (dc == nullptr) {
        return;
    }
    const IntRect client = ClientRect();
    if (!::IsRectEmpty(&ps.rcPaint) &&
        buffer_.Begin(dc, client.Width(), client.Height(), ps.rcPaint)) {
        // Controls paint over this; where none does, the window shows its plain background.
        FillColor(buffer_.Dc(), ps.rcPaint, FromColorRef(::GetSysColor(COLOR_WINDOW)));
        {
            CGdiSkinPainter painter(buffer_.Dc(), ps.rcPaint, resources_, manager_);
            manager_.Paint(painter, client, ToIntRect(ps.rcPaint));
        }
        buffer_.Present(dc, ps.rcPaint);
    }
    ::EndPaint(window_, &ps);
    lastPaintMicros_ = MicrosecondsSince(start);
}

void CSkinWindowHost::OnKeyDown(WPARAM key, LPARAM flags) {
    manager_.ShowFocusCues();
    if (key == VK_TAB) {
        manager_.MoveFocus((::GetKeyState(VK_SHIFT) & 0x8000) == 0);
        return;
    }
    // A held Space or Enter clicks once, as on a system button.
    if ((key == VK_SPACE || key == VK_RETURN) && IsAutoRepeat(flags)) {
        return;
    }
    manager_.OnKeyDown(static_cast<uint32_t>(key));
}

bool CSkinWindowHost::SetCursorOverLink() {
    POINT pt;
    if (!::GetCursorPos(&pt) || !::ScreenToClient(window_, &pt)) {
        return false;
    }
    const SkinPoint at{pt.x, pt.y};
    const CControlUI* control = manager_.FindControlAt(at);
    if (control == nullptr || !control->WantsHandCursor(at)) {
        return false;
    }
    ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
    return true;
}

bool CSkinWindowHost::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (window_ == nullptr) {
        return false;
    }
    result = 0;
    if (message == LayoutMessage() && message != 0) {
        layoutPosted_ = false;
        LayOut();
        return true;
    }
    switch (message) {
        case WM_PAINT:
            Paint();
            return true;
        case WM_ERASEBKGND:
            result = 1;  // everything is painted from the back buffer
            return true;
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) {
                LayOut();
            }
            return true;
        case WM_MOUSEMOVE:
            if (!trackingLeave_) {
                TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, window_, 0};
                trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
            }
            manager_.OnMouseMove(PointOf(lParam));
            return true;
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            manager_.OnMouseLeaveWindow();
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:  // a second click, as system buttons take it
            ::SetCapture(window_);
            manager_.OnButtonDown(PointOf(lParam));
            return true;
        case WM_LBUTTONUP:
            // The capture ends before the click is reported: a click handler may open a
            // dialog, which must not find the mouse held by this window.
            releasingCapture_ = true;
            if (::GetCapture() == window_) {
                ::ReleaseCapture();
            }
            releasingCapture_ = false;
            manager_.OnButtonUp(PointOf(lParam));
            return true;
        case WM_CAPTURECHANGED:
            if (!releasingCapture_) {
                manager_.OnCaptureLost();
            }
            return true;
        case WM_KEYDOWN:
            OnKeyDown(wParam, lParam);
            return true;
        case WM_KEYUP:
            manager_.OnKeyUp(static_cast<uint32_t>(wParam));
            return true;
        case WM_CHAR:
            manager_.OnChar(static_cast<uint32_t>(wParam));
            return true;
        case WM_SETCURSOR:
            if (LOWORD(lParam) == HTCLIENT && SetCursorOverLink()) {
                result = TRUE;
                return true;
            }
            return false;
        case WM_TIMER:
            return manager_.OnTimer(static_cast<uint32_t>(wParam));
        default:
            return false;
    }
}

}  // namespace SkinUI
