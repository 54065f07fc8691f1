// CSkinWindowBase: creation and skin loading, message routing, notifications, the default key
// and the reserved buttons. The frame's handlers (hit testing, sizes, system commands) are in
// SkinWindowFrame.cpp.
#include "ui/window/SkinWindowBase.h"

#include "ui/SkinSource.h"
#include "ui/controls/Control.h"
#include "ui/window/SkinWindowHost.h"

namespace SkinUI {

SKIN_BEGIN_NOTIFY_MAP(CSkinWindowBase, CNotifyRouter)
SKIN_NOTIFY_HANDLER(SkinNotifyType::kClick, &CSkinWindowBase::OnControlClick)
SKIN_END_NOTIFY_MAP()

CSkinWindowBase::CSkinWindowBase()
    : host_(std::make_unique<CSkinWindowHost>(manager_, CSkinPackage::Instance())) {}

CSkinWindowBase::~CSkinWindowBase() {
    RemoveMessageFilter(this);
    manager_.RemoveNotifier(this);
    host_->Attach(nullptr);
}

void CSkinWindowBase::SetRightToLeftReading(bool rtl) {
    manager_.SetRightToLeftReading(rtl);
}

double CSkinWindowBase::MeasureFullPaint() {
    if (GetHWND() == nullptr) {
        return 0;
    }
    ::InvalidateRect(GetHWND(), nullptr, FALSE);
    ::UpdateWindow(GetHWND());
    return host_->LastPaintMicroseconds();
}

double CSkinWindowBase::LastPaintMicroseconds() const {
    return host_->LastPaintMicroseconds();
}

LRESULT CSkinWindowBase::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    bool handled = true;
    LRESULT result = 0;
    switch (message) {
        // clang-format off
        case WM_CLOSE:         result = OnClose(wParam, lParam, handled); break;
        case WM_DESTROY:       result = OnDestroy(wParam, lParam, handled); break;
        case WM_NCACTIVATE:    result = OnNcActivate(wParam, lParam, handled); break;
        case WM_NCCALCSIZE:    result = OnNcCalcSize(wParam, lParam, handled); break;
        case WM_NCPAINT:       result = OnNcPaint(wParam, lParam, handled); break;
        case WM_NCHITTEST:     result = OnNcHitTest(wParam, lParam, handled); break;
        case WM_GETMINMAXINFO: result = OnGetMinMaxInfo(wParam, lParam, handled); break;
        case WM_MOUSEWHEEL:    result = OnMouseWheel(wParam, lParam, handled); break;
        case WM_MOUSEHOVER:    result = OnMouseHover(wParam, lParam, handled); break;
        case WM_SIZE:          result = OnSize(wParam, lParam, handled); break;
        case WM_CHAR:          result = OnChar(wParam, lParam, handled); break;
        case WM_SYSCOMMAND:    result = OnSysCommand(wParam, lParam, handled); break;
        case WM_CREATE:        result = OnCreate(wParam, lParam, handled); break;
        case WM_KEYDOWN:       result = OnKeyDown(wParam, lParam, handled); break;
        case WM_KILLFOCUS:     result = OnKillFocus(wParam, lParam, handled); break;
        case WM_SETFOCUS:      result = OnSetFocus(wParam, lParam, handled); break;
        case WM_LBUTTONDOWN:   result = OnLButtonDown(wParam, lParam, handled); break;
        case WM_LBUTTONUP:     result = OnLButtonUp(wParam, lParam, handled); break;
        case WM_MOUSEMOVE:     result = OnMouseMove(wParam, lParam, handled); break;
        default:               handled = false; break;
            // clang-format on
    }
    if (handled) {
        return result;
    }
    handled = false;
    result = OnOtherMessage(message, wParam, lParam, handled);
    if (handled) {
        return result;
    }
    if (host_->HandleMessage(message, wParam, lParam, result)) {
        return result;
    }
    return CWindowWnd::HandleWindowMessage(message, wParam, lParam);
}

void CSkinWindowBase::OnWindowGone(HWND) {
    RemoveMessageFilter(this);
    manager_.RemoveNotifier(this);
    host_->Attach(nullptr);
}

LRESULT CSkinWindowBase::OnCreate(WPARAM, LPARAM, bool&) {
    const HWND window = GetHWND();
    ::SetWindowLongW(window, GWL_STYLE, WindowStyle() | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    // The frame is recomputed without the caption: the whole window becomes client area.
    RECT client = {};
    ::GetClientRect(window, &client);
    ::SetWindowPos(window, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    host_->Attach(window);
    AddMessageFilter(window, this);

    SkinSourceValues source;
    source.kind = SkinSourceKind();
    source.resourceId = SkinResourceId();
    source.skinFolder = SkinFolder();
    source.zipFileName = SkinZipFileName();
    source.rootFile = SkinFile();
    switch (LoadWindowSkin(manager_, source, this)) {
        case SkinLoadResult::kBuilt:
            manager_.AddNotifier(this);
            OnSkinLoaded();
            return 0;
        case SkinLoadResult::kNoPackage:
            return 0;  // an empty window, and nothing to tell the user
        case SkinLoadResult::kFailed:
            break;
    }
    ExitOnSkinLoadFailure();
}

void CSkinWindowBase::Notify(SkinNotify& msg) {
    NotifyPump(msg);
}

LRESULT CSkinWindowBase::MessageFilter(UINT message, WPARAM wParam, LPARAM, bool& handled) {
    if (message != WM_KEYDOWN || (wParam != VK_RETURN && wParam != VK_ESCAPE)) {
        return 0;
    }
    bool keyHandled = true;
    const LRESULT result = OnDefaultKey(wParam, keyHandled);
    handled = keyHandled;
    return result;
}

std::unique_ptr<CControlUI> CSkinWindowBase::CreateControl(const std::wstring&) {
    return nullptr;
}

LRESULT CSkinWindowBase::OnDefaultKey(WPARAM key, bool& handled) {
    if (key == VK_ESCAPE) {
        Close(1);
        return 0;
    }
    handled = false;
    return 0;
}

void CSkinWindowBase::OnControlClick(SkinNotify& msg) {
    if (msg.sender == nullptr) {
        return;
    }
    const std::wstring& name = msg.sender->GetName();
    if (name == L"closebtn") {
        Close(1);
    } else if (name == L"minbtn") {
        ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (name == L"maxbtn") {
        ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    } else if (name == L"restorebtn") {
        ::SendMessageW(GetHWND(), WM_SYSCOMMAND, SC_RESTORE, 0);
    }
}

// The handlers the base leaves to the rest of the routing.
#define SKIN_NOT_HANDLED(handler)                                     \
    LRESULT CSkinWindowBase::handler(WPARAM, LPARAM, bool& handled) { \
        handled = false;                                              \
        return 0;                                                     \
    }
SKIN_NOT_HANDLED(OnClose)
SKIN_NOT_HANDLED(OnDestroy)
SKIN_NOT_HANDLED(OnMouseWheel)
SKIN_NOT_HANDLED(OnMouseHover)
SKIN_NOT_HANDLED(OnChar)
SKIN_NOT_HANDLED(OnKeyDown)
SKIN_NOT_HANDLED(OnKillFocus)
SKIN_NOT_HANDLED(OnSetFocus)
SKIN_NOT_HANDLED(OnLButtonDown)
SKIN_NOT_HANDLED(OnLButtonUp)
SKIN_NOT_HANDLED(OnMouseMove)
#undef SKIN_NOT_HANDLED

LRESULT CSkinWindowBase::OnOtherMessage(UINT, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

}  // namespace SkinUI
