// Message filters: objects that see a GUI thread's queued messages before they are
// dispatched (keyboard shortcuts of a skinned window, for instance) and may swallow them.
#pragma once

#include <windows.h>

namespace SkinUI {

class IMessageFilterUI {
  public:
    // Called for a queued message of the filter's window (or of any window when it was
    // registered without one). Setting |handled| stops the message: it is not dispatched and
    // no later filter sees it. |handled| is false on entry.
    virtual LRESULT MessageFilter(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

  protected:
    ~IMessageFilterUI() = default;
};

// The filters of the calling thread, offered messages in registration order. A filter is
// registered for |scope|: messages to that window or any window inside it (nullptr: every
// message of the thread). Filters of a window are removed when it is destroyed.
void AddMessageFilter(HWND scope, IMessageFilterUI* filter);
void RemoveMessageFilter(IMessageFilterUI* filter);
void RemoveMessageFiltersOf(HWND scope);

// Offers |msg| to the thread's filters; true when one handled it. A filter may add or remove
// filters (itself included) while it runs.
bool OfferToMessageFilters(const MSG& msg);

}  // namespace SkinUI
