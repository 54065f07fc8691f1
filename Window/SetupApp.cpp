#include "Window/SetupApp.h"

#include <ole2.h>

#include "Window/SetupFrameWnd.h"

namespace {

// Visible pop-up with border, caption and system menu, clipping siblings and children; the
// skinned window drops the caption bits itself.
constexpr DWORD kSetupWindowStyle = 0x96C80000;

}  // namespace

int RunSetupWindow(HINSTANCE instance, const std::function<void(CSetupFrameWnd&)>& beforeShow) {
    // The folder dialog's new style and the taskbar button need COM on this thread.
    const bool oleReady = SUCCEEDED(::OleInitialize(nullptr));
    SkinUI::CWindowWnd::SetInstance(instance);

    // Detached worker threads of the install flow may still call the window until the
    // process ends, so the object outlives its window and is never destroyed.
    auto* window = new CSetupFrameWnd();
    if (window->Create(nullptr, L"", kSetupWindowStyle, 0) != nullptr) {
        window->CenterWindow();
        if (beforeShow) {
            beforeShow(*window);
        }
        window->ShowModal();
    }
    if (oleReady) {
        ::OleUninitialize();
    }
    return 0;
}
