// CSkinWindowHost: the manager's side of a native window. It paints the control tree double
// buffered, lays it out when it changed or the window was resized, and turns mouse, keyboard
// and timer messages into the manager's input; the manager reaches the window back through it.
#pragma once

#include <windows.h>

#include "ui/SkinPainter.h"
#include "ui/render/BackBuffer.h"
#include "ui/window/SkinResources.h"

namespace SkinUI {

class CSkinManagerUI;
class CSkinPackage;

class CSkinWindowHost : public ISkinWindowHost {
  public:
    CSkinWindowHost(CSkinManagerUI& manager, const CSkinPackage& package);
    ~CSkinWindowHost();
    CSkinWindowHost(const CSkinWindowHost&) = delete;
    CSkinWindowHost& operator=(const CSkinWindowHost&) = delete;

    // Binds the manager to |window| (null: to nothing; fonts and images are released).
    void Attach(HWND window);

    // The manager's own handling of |message|: painting, layout, the mouse and the keyboard
    // for the controls, cursors over links, the manager's timers. False when the message is
    // none of its business.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Microseconds the last WM_PAINT took, from before the layout to the copy on screen.
    double LastPaintMicroseconds() const { return lastPaintMicros_; }

    // ISkinWindowHost
    void Invalidate(const IntRect& rect) override;
    void ResizeWindow(int width, int height) override;
    void RequestLayout() override;
    bool StartTimer(uint32_t timerId, uint32_t elapse) override;
    void StopTimer(uint32_t timerId) override;

  private:
    IntRect ClientRect() const;
    void LayOut();
    void Paint();
    void OnKeyDown(WPARAM key, LPARAM flags);
    bool SetCursorOverLink();

    CSkinManagerUI& manager_;
    CSkinResources resources_;
    CBackBuffer buffer_;
    HWND window_ = nullptr;
    bool trackingLeave_ = false;
    bool layoutPosted_ = false;
    bool releasingCapture_ = false;
    double lastPaintMicros_ = 0;
};

}  // namespace SkinUI
