#include "ui/window/WindowWnd.h"

#include "ui/SkinSource.h"
#include "ui/window/MessageFilter.h"

namespace SkinUI {
namespace {

int RoundUpTo16(int size) {
    return (size + 15) / 16 * 16;
}

}  // namespace

CWindowWnd::CWindowWnd() : tasks_(std::make_shared<CGuiTaskQueue>()) {}

CWindowWnd::~CWindowWnd() {
    HWND window = hwnd_;
    if (window != nullptr && ::IsWindow(window)) {
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        tasks_->Detach();
        RemoveMessageFiltersOf(window);
        ::DestroyWindow(window);
    }
}

void CWindowWnd::SetInstance(HINSTANCE instance) {
    SetSkinInstance(instance);
}

HINSTANCE CWindowWnd::GetInstance() {
    return GetSkinInstance();
}

bool CWindowWnd::RegisterWindowClass() {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    if (SuperclassName() != nullptr) {
        if (!::GetClassInfoExW(nullptr, SuperclassName(), &wc) &&
            !::GetClassInfoExW(GetInstance(), SuperclassName(), &wc)) {
            return false;
        }
        chained_ = wc.lpfnWndProc;
    } else {
        wc.style = ClassStyle();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        chained_ = ::DefWindowProcW;
    }
    wc.lpfnWndProc = &CWindowWnd::WindowProc;
    wc.hInstance = GetInstance();
    wc.lpszClassName = ClassName();
    return ::RegisterClassExW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CWindowWnd::Create(HWND parent, LPCWSTR name, DWORD style, DWORD exStyle, int x, int y, int cx,
                        int cy, HMENU menu) {
    if (hwnd_ != nullptr || !RegisterWindowClass()) {
        return nullptr;
    }
    const HWND created = ::CreateWindowExW(exStyle, ClassName(), name, style, x, y, cx, cy, parent,
                                           menu, GetInstance(), this);
    return created != nullptr ? hwnd_.load() : nullptr;
}

HWND CWindowWnd::Create(HWND parent, LPCWSTR name, DWORD style, DWORD exStyle, const RECT& rc,
                        HMENU menu) {
    return Create(parent, name, style, exStyle, rc.left, rc.top, rc.right - rc.left,
                  rc.bottom - rc.top, menu);
}

LRESULT CALLBACK CWindowWnd::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    CWindowWnd* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        self = static_cast<CWindowWnd*>(create->lpCreateParams);
        if (self != nullptr) {
            self->hwnd_ = window;
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->tasks_->Attach(window);
        }
    } else {
        self = reinterpret_cast<CWindowWnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (self == nullptr) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    if (message != WM_NCDESTROY) {
        return self->Dispatch(message, wParam, lParam);
    }
    const LRESULT result = self->Dispatch(message, wParam, lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->tasks_->Detach();
    RemoveMessageFiltersOf(window);
    self->hwnd_ = nullptr;
    self->modalResult_ = nullptr;
    self->OnWindowGone(window);
    return result;
}

LRESULT CWindowWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CGuiTaskQueue::WakeMessage() && message != 0) {
        const std::shared_ptr<CGuiTaskQueue> tasks = tasks_;  // a task may delete |this|
        tasks->RunPending();
        return 0;
    }
    if (message != WM_CLOSE || modalResult_ == nullptr) {
        return HandleWindowMessage(message, wParam, lParam);
    }
    // The owner must be enabled before a modal window goes, or the system activates some
    // other program's window; if the close is refused, the owner is disabled again.
    *modalResult_ = static_cast<UINT>(wParam);
    const HWND window = hwnd_;
    const HWND owner = ::GetWindow(window, GW_OWNER);
    const bool reenabled = owner != nullptr && !::IsWindowEnabled(owner);
    if (reenabled) {
        ::EnableWindow(owner, TRUE);
    }
    const LRESULT result = HandleWindowMessage(message, wParam, lParam);
    if (::IsWindow(window)) {
        if (reenabled) {
            ::EnableWindow(owner, FALSE);
        }
    } else if (owner != nullptr) {
        ::SetFocus(owner);
    }
    return result;
}

LRESULT CWindowWnd::HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return CallDefault(message, wParam, lParam);
}

LRESULT CWindowWnd::CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::CallWindowProcW(chained_, hwnd_, message, wParam, lParam);
}

void CWindowWnd::OnWindowGone(HWND) {}

UINT CWindowWnd::ShowModal() {
    const HWND window = hwnd_;
    if (window == nullptr || !::IsWindow(window) || modalResult_ != nullptr) {
        return 0;
    }
    UINT result = 0;
    modalResult_ = &result;
    const HWND owner = ::GetWindow(window, GW_OWNER);
    ::ShowWindow(window, SW_SHOWNORMAL);
    const bool disabledOwner = owner != nullptr && ::IsWindowEnabled(owner);
    if (disabledOwner) {
        ::EnableWindow(owner, FALSE);
    }
    MSG msg = {};
    while (::IsWindow(window)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) {
            break;
        }
        if (!OfferToMessageFilters(msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    if (::IsWindow(window)) {
        // Left by WM_QUIT: the object still lives with its window.
        modalResult_ = nullptr;
    }
    if (disabledOwner && ::IsWindow(owner)) {
        ::EnableWindow(owner, TRUE);
    }
    return result;
}

void CWindowWnd::Close(UINT result) {
    const HWND window = hwnd_;
    if (window != nullptr && ::IsWindow(window)) {
        ::PostMessageW(window, WM_CLOSE, result, 0);
    }
}

void CWindowWnd::CenterWindow() {
    const HWND window = hwnd_;
    if (window == nullptr || (::GetWindowLongW(window, GWL_STYLE) & WS_CHILD) != 0) {
        return;
    }
    RECT rc = {};
    ::GetWindowRect(window, &rc);
    const int width = rc.right - rc.left;
    const int height = rc.bottom - rc.top;
    const HWND owner = ::GetWindow(window, GW_OWNER);
    const bool overOwner = owner != nullptr && !::IsIconic(owner);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(overOwner ? owner : window, MONITOR_DEFAULTTONEAREST),
                      &monitor);
    const RECT area = monitor.rcWork;
    RECT center = area;
    if (overOwner) {
        ::GetWindowRect(owner, &center);
    }
    int x = (center.left + center.right) / 2 - width / 2;
    int y = (center.top + center.bottom) / 2 - height / 2;
    if (x < area.left) {
        x = area.left;
    } else if (x + width > area.right) {
        x = area.right - width;
    }
    if (y < area.top) {
        y = area.top;
    } else if (y + height > area.bottom) {
        y = area.bottom - height;
    }
    ::SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWindowWnd::SetIcon(UINT resourceId) {
    if (hwnd_ == nullptr) {
        return;
    }
    const struct {
        int cx, cy;
        WPARAM kind;
        UniqueIcon* slot;
    } sizes[] = {
        {::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON), ICON_BIG, &bigIcon_},
        {::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON), ICON_SMALL, &smallIcon_},
    };
    for (const auto& size : sizes) {
        UniqueIcon icon(static_cast<HICON>(::LoadImageW(GetInstance(), MAKEINTRESOURCEW(resourceId),
                                                        IMAGE_ICON, RoundUpTo16(size.cx),
                                                        RoundUpTo16(size.cy), LR_DEFAULTCOLOR)));
        if (icon) {
            ::SendMessageW(hwnd_, WM_SETICON, size.kind, reinterpret_cast<LPARAM>(icon.get()));
            *size.slot = std::move(icon);  // the one replaced is no longer in use
        }
    }
}

}  // namespace SkinUI
