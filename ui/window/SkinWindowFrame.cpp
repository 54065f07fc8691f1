// The frame of a skinned window, which has no system frame of its own: hit testing for the
// drag area and the resize border, the non-client messages, sizes and system commands.
#include <windowsx.h>

#include "ui/controls/Control.h"
#include "ui/render/GdiHandles.h"
#include "ui/window/SkinWindowBase.h"

namespace SkinUI {

namespace {

MONITORINFO MonitorOf(HWND window) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &info);
    return info;
}

// The classes a press on which is a press on the control, even inside the drag area.
bool IsClickable(const CControlUI& control) {
    const std::wstring cls = control.GetClass();
    return cls == L"Button" || cls == L"Option" || cls == L"Text";
}

}  // namespace

bool CSkinWindowBase::IsMaximized() const {
    return ::IsZoomed(GetHWND()) != FALSE;
}

LONG CSkinWindowBase::WindowStyle() const {
    return ::GetWindowLongW(GetHWND(), GWL_STYLE) & ~static_cast<LONG>(WS_CAPTION);
}

LRESULT CSkinWindowBase::OnNcActivate(WPARAM wParam, LPARAM, bool& handled) {
    if (::IsIconic(GetHWND())) {
        handled = false;
        return 0;
    }
    // Nothing of the system's frame is drawn; deactivation is allowed.
    return wParam == 0 ? TRUE : FALSE;
}

LRESULT CSkinWindowBase::OnNcCalcSize(WPARAM wParam, LPARAM lParam, bool&) {
    if (!IsMaximized()) {
        return 0;
    }
    RECT* proposed = wParam != 0 ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0]
                                 : reinterpret_cast<RECT*>(lParam);
    const RECT work = MonitorOf(GetHWND()).rcWork;
    proposed->right = proposed->left + (work.right - work.left);
    proposed->bottom = proposed->top + (work.bottom - work.top);
    return WVR_REDRAW;
}

LRESULT CSkinWindowBase::OnNcPaint(WPARAM, LPARAM, bool&) {
    return 0;
}

LRESULT CSkinWindowBase::OnNcHitTest(WPARAM, LPARAM lParam, bool&) {
    POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ::ScreenToClient(GetHWND(), &pt);
    RECT client = {};
    ::GetClientRect(GetHWND(), &client);
    const SkinWindowAttributes& attributes = GetManager().GetWindowAttributes();

    if (!IsMaximized()) {
        const IntRect& box = attributes.sizeBox;
        const bool left = pt.x < client.left + box.left;
        const bool right = pt.x >= client.right - box.right;
        if (pt.y < client.top + box.top) {
            return left ? HTTOPLEFT : right ? HTTOPRIGHT : HTTOP;
        }
        if (pt.y >= client.bottom - box.bottom) {
            return left ? HTBOTTOMLEFT : right ? HTBOTTOMRIGHT : HTBOTTOM;
        }
        if (left) {
            return HTLEFT;
        }
        if (right) {
            return HTRIGHT;
        }
    }

    const IntRect& caption = attributes.caption;
    if (pt.x >= client.left + caption.left && pt.x < client.right - caption.right &&
        pt.y >= caption.top && pt.y < caption.bottom) {
        const CControlUI* control = GetManager().FindControlAt(SkinPoint{pt.x, pt.y});
        if (control != nullptr && !IsClickable(*control)) {
            return HTCAPTION;
        }
    }
    return HTCLIENT;
}

LRESULT CSkinWindowBase::OnGetMinMaxInfo(WPARAM, LPARAM lParam, bool& handled) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    const MONITORINFO monitor = MonitorOf(GetHWND());
    const RECT& work = monitor.rcWork;
    info->ptMaxPosition.x = work.left - monitor.rcMonitor.left;
    info->ptMaxPosition.y = work.top - monitor.rcMonitor.top;
    info->ptMaxTrackSize.x = work.right - work.left;
    info->ptMaxTrackSize.y = work.bottom - work.top;
    const SkinSize& minimum = GetManager().GetWindowAttributes().minInfo;
    info->ptMinTrackSize.x = minimum.cx;
    info->ptMinTrackSize.y = minimum.cy;
    handled = false;
    return 0;
}

LRESULT CSkinWindowBase::OnSize(WPARAM wParam, LPARAM, bool& handled) {
    const SkinSize& round = GetManager().GetWindowAttributes().roundCorner;
    if (wParam != SIZE_MINIMIZED && (round.cx != 0 || round.cy != 0)) {
        RECT rc = {};
        ::GetWindowRect(GetHWND(), &rc);
        UniqueRegion region(::CreateRoundRectRgn(0, 0, rc.right - rc.left + 1,
                                                 rc.bottom - rc.top + 1, round.cx, round.cy));
        // Once SetWindowRgn succeeds the window owns the region; on failure it is still ours.
        if (region && ::SetWindowRgn(GetHWND(), region.get(), TRUE) != 0) {
            region.release();
        }
    }
    handled = false;  // the manager lays the controls out for the new size
    return 0;
}

LRESULT CSkinWindowBase::OnSysCommand(WPARAM wParam, LPARAM lParam, bool&) {
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        ::SendMessageW(GetHWND(), WM_CLOSE, 0, 0);
        return 0;
    }
    const bool wasMaximized = IsMaximized();
    const LRESULT result = CallDefault(WM_SYSCOMMAND, wParam, lParam);
    const HWND window = GetHWND();
    if (window != nullptr && ::IsWindow(window) && IsMaximized() != wasMaximized) {
        CControlUI* maxButton = FindControl(L"maxbtn");
        CControlUI* restoreButton = FindControl(L"restorebtn");
        if (maxButton != nullptr && restoreButton != nullptr) {
            maxButton->SetVisible(!IsMaximized());
            restoreButton->SetVisible(IsMaximized());
        }
    }
    return result;
}

}  // namespace SkinUI
