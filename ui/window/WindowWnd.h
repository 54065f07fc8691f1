// CWindowWnd wraps one native window: class registration, creation with the object as its
// creation parameter, message routing to a virtual handler, the modal loop, centring, icons,
// and a queue that lets worker threads run closures on the window's thread.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

#include "ui/render/GdiHandles.h"
#include "ui/window/GuiTaskQueue.h"

namespace SkinUI {

class CWindowWnd {
  public:
    CWindowWnd();
    // Detaches from a window that still exists (later messages get default handling) and
    // destroys it.
    virtual ~CWindowWnd();
    CWindowWnd(const CWindowWnd&) = delete;
    CWindowWnd& operator=(const CWindowWnd&) = delete;

    // The module that owns the window classes, icons and skin resources (default: the
    // executable).
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetInstance();

    HWND GetHWND() const { return hwnd_; }

    // Registers the class on first use (ERROR_CLASS_ALREADY_EXISTS counts as success) and
    // creates the window; nullptr when either fails.
    HWND Create(HWND parent, LPCWSTR name, DWORD style, DWORD exStyle, int x = CW_USEDEFAULT,
                int y = CW_USEDEFAULT, int cx = CW_USEDEFAULT, int cy = CW_USEDEFAULT,
                HMENU menu = nullptr);
    HWND Create(HWND parent, LPCWSTR name, DWORD style, DWORD exStyle, const RECT& rc,
                HMENU menu = nullptr);

    // Shows the window, disables its owner and runs the thread's messages (each offered to
    // the message filters first) until the window is destroyed; returns the first parameter
    // of the last WM_CLOSE it received. The owner is enabled again before the window goes.
    // A WM_QUIT ends the loop early and is posted again for the enclosing loop.
    UINT ShowModal();
    // Posts WM_CLOSE with |result| as its first parameter, if the window exists.
    void Close(UINT result = IDOK);
    // Centres a top-level window over its owner, or over the work area of the nearest monitor
    // when it has no owner or the owner is minimized, then moves it inside that monitor's
    // work area; never resizes, activates or reorders it.
    void CenterWindow();
    // Loads icon |resourceId| from GetInstance() in the large and small system sizes, each
    // rounded up to a multiple of 16 pixels, and sets both on the window.
    void SetIcon(UINT resourceId);

    // Any thread: runs |task| on the window's thread (see CGuiTaskQueue::Post).
    bool PostToGuiThread(std::function<void()> task) { return tasks_->Post(std::move(task)); }
    // For worker threads that may outlive this object.
    std::shared_ptr<CGuiTaskQueue> GuiTasks() const { return tasks_; }

  protected:
    virtual LPCWSTR ClassName() const = 0;
    // A system or registered class to copy (its window procedure is kept for chaining);
    // nullptr registers a class of our own.
    virtual LPCWSTR SuperclassName() const { return nullptr; }
    virtual UINT ClassStyle() const { return CS_DBLCLKS; }
    // Every message of the window; the base passes it to the chained window procedure.
    virtual LRESULT HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // After the window's last message (WM_NCDESTROY); the handle is no longer valid. The
    // object may delete itself here.
    virtual void OnWindowGone(HWND window);

    LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam);

  private:
    bool RegisterWindowClass();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    // Worker threads read it (Close, GetHWND) while the window's thread may clear it.
    std::atomic<HWND> hwnd_{nullptr};
    WNDPROC chained_ = ::DefWindowProcW;
    std::shared_ptr<CGuiTaskQueue> tasks_;
    // While ShowModal runs: where it collects WM_CLOSE's first parameter. It lives on
    // ShowModal's stack, so the result survives an object deleted in OnWindowGone.
    UINT* modalResult_ = nullptr;
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
};

}  // namespace SkinUI
