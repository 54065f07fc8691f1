// CSkinWindowBase: a borderless window drawn entirely from its skin. It loads the skin when it
// is created, acts as its own caption and resize frame, handles the reserved window buttons and
// Escape, and turns control events into named notifications routed through notification maps.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "ui/NotifyRouter.h"
#include "ui/SkinManager.h"
#include "ui/SkinNotify.h"
#include "ui/SkinPackage.h"
#include "ui/window/MessageFilter.h"
#include "ui/window/WindowWnd.h"

namespace SkinUI {

class CSkinWindowHost;

// A derived window supplies ClassName, SkinFolder and SkinFile, and overrides the hooks it
// needs. Every message handler gets the message's two parameters and |handled|, which is true
// on entry; a handler that leaves a message to the rest of the routing sets it to false.
//
// Message routing (HandleWindowMessage):
//   1. WM_CLOSE ... WM_MOUSEMOVE below go to their handler; if |handled| stays true its
//      result is the message's result.
//   2. Otherwise, and for every other message, OnOtherMessage with |handled| false.
//   3. Otherwise the manager's own handling: painting, mouse and keyboard for the controls,
//      focus, the manager's timers.
//   4. Otherwise the default window procedure.
//
// Threads: everything here runs on the thread that created the window. Worker threads must
// not touch the window or its controls; they post closures with PostToGuiThread (or keep
// GuiTasks() when they may outlive the window). Posting never blocks, and a worker must never
// wait for a posted closure to run: the GUI thread may be waiting for that worker.
class CSkinWindowBase : public CWindowWnd,
                        public CNotifyRouter,
                        public INotifyUI,
                        public IMessageFilterUI,
                        public ISkinBuilderCallback {
  public:
    CSkinWindowBase();
    ~CSkinWindowBase() override;

    CSkinManagerUI& GetManager() { return manager_; }
    const CSkinManagerUI& GetManager() const { return manager_; }
    // A control of the tree by its name, or null.
    CControlUI* FindControl(const std::wstring& name) const { return manager_.FindControl(name); }

    // Text of every control drawn with right-to-left reading order, each in its own alignment.
    // The right-to-left skin files are already laid out mirrored, so the window itself is
    // never mirrored.
    void SetRightToLeftReading(bool rtl);

    // INotifyUI: hands the record to NotifyPump. Overrides should end by calling this.
    void Notify(SkinNotify& msg) override;
    // IMessageFilterUI: Enter and Escape key presses go to OnDefaultKey first.
    LRESULT MessageFilter(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // ISkinBuilderCallback: controls for element names the toolkit does not know; none.
    std::unique_ptr<CControlUI> CreateControl(const std::wstring& className) override;

    // Paints the whole window now and returns the microseconds that paint took, from the
    // layout to the copy on screen (for measurements).
    double MeasureFullPaint();
    // Microseconds of the last paint (the first one decodes the images and makes the fonts).
    double LastPaintMicroseconds() const;

  protected:
    // ---- Hooks, in the order of the window's contract (ClassName, SuperclassName and
    // ClassStyle come from CWindowWnd: the class name, none, CS_DBLCLKS).

    // The router described above.
    LRESULT HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // After the window's last message: leaves the message filters and notifiers and drops the
    // manager's references into the tree (the tree itself lives until the object dies).
    void OnWindowGone(HWND window) override;
    // The skin is built and attached (end of WM_CREATE); the window is not shown yet.
    virtual void OnSkinLoaded() {}
    // A "click" notification: "closebtn" closes with 1, "minbtn", "maxbtn" and "restorebtn"
    // send the matching system command. Overrides handle their own names first, then call
    // this.
    virtual void OnControlClick(SkinNotify& msg);
    // The folder under the executable's folder that holds the skin (plain files or zip file).
    virtual std::wstring SkinFolder() const = 0;
    // The root skin file (kXmlResource: its decimal resource identifier). Asked once, while
    // the window is being created.
    virtual std::wstring SkinFile() = 0;
    // Enter and Escape before they are dispatched: Escape calls Close(1) and is handled; Enter
    // is left alone, so it reaches the focused control.
    virtual LRESULT OnDefaultKey(WPARAM key, bool& handled);
    virtual SkinSource SkinSourceKind() const { return SkinSource::kFiles; }
    // The zip file under the skin folder (kZipFile only).
    virtual std::wstring SkinZipFileName() const { return std::wstring(); }
    // The identifier of the "ZIPRES" resource holding the skin (kZipResource); 0 for none.
    virtual int SkinResourceId() const { return 0; }

    virtual LRESULT OnClose(WPARAM wParam, LPARAM lParam, bool& handled);    // not handled
    virtual LRESULT OnDestroy(WPARAM wParam, LPARAM lParam, bool& handled);  // not handled
    // True exactly for deactivation; left to the system while minimized.
    virtual LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam, bool& handled);
    // The whole window is client area; maximized, the work area.
    virtual LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam, bool& handled);
    // Nothing is drawn outside the client area.
    virtual LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam, bool& handled);
    // The "sizebox" border resizes, the "caption" area drags (except over buttons, options
    // and text controls), the rest is client.
    virtual LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam, bool& handled);
    // Maximized to the work area; minimum size from "mininfo". Also left to the system.
    virtual LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam, bool& handled);  // not handled
    virtual LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam, bool& handled);  // not handled
    // A rounded window region when the skin gives "roundcorner"; also left to the manager,
    // which lays the controls out again.
    virtual LRESULT OnSize(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnChar(WPARAM wParam, LPARAM lParam, bool& handled);  // not handled
    // SC_CLOSE becomes WM_CLOSE with 0; after a maximize or restore "maxbtn" and "restorebtn"
    // swap visibility.
    virtual LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam, bool& handled);
    // Removes the caption bits, loads the skin, calls OnSkinLoaded. No skin resource: an empty
    // window. An unusable skin: a message box, then the process ends with exit code 1.
    virtual LRESULT OnCreate(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam, bool& handled);      // not handled
    virtual LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam, bool& handled);    // not handled
    virtual LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam, bool& handled);     // not handled
    virtual LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam, bool& handled);  // not handled
    virtual LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam, bool& handled);    // not handled
    virtual LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam, bool& handled);    // not handled
    // Every message no handler above took (window timers among them); |handled| is false on
    // entry.
    virtual LRESULT OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // The style applied at creation: the current one without the caption bits.
    virtual LONG WindowStyle() const;

    SKIN_DECLARE_NOTIFY_MAP()

  private:
    bool IsMaximized() const;

    CSkinManagerUI manager_;
    std::unique_ptr<CSkinWindowHost> host_;
};

}  // namespace SkinUI
