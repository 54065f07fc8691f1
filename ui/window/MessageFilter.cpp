#include "ui/window/MessageFilter.h"

#include <algorithm>
#include <vector>

namespace SkinUI {
namespace {

struct Registration {
    HWND scope;
    IMessageFilterUI* filter;
};

// Modal loops and windows belong to one thread; each thread has its own filters.
std::vector<Registration>& Filters() {
    thread_local std::vector<Registration> filters;
    return filters;
}

bool IsRegistered(const Registration& r) {
    const auto& all = Filters();
    return std::any_of(all.begin(), all.end(), [&](const Registration& x) {
        return x.scope == r.scope && x.filter == r.filter;
    });
}

bool InScope(HWND scope, HWND target) {
    if (scope == nullptr) {
        return true;
    }
    return target != nullptr && (target == scope || ::IsChild(scope, target));
}

}  // namespace

void AddMessageFilter(HWND scope, IMessageFilterUI* filter) {
    if (filter != nullptr) {
        Filters().push_back({scope, filter});
    }
}

void RemoveMessageFilter(IMessageFilterUI* filter) {
    auto& all = Filters();
    all.erase(std::remove_if(all.begin(), all.end(),
                             [&](const Registration& r) { return r.filter == filter; }),
              all.end());
}

void RemoveMessageFiltersOf(HWND scope) {
    auto& all = Filters();
    all.erase(std::remove_if(all.begin(), all.end(),
                             [&](const Registration& r) { return r.scope == scope; }),
              all.end());
}

bool OfferToMessageFilters(const MSG& msg) {
    if (Filters().empty()) {
        return false;
    }
    // A copy, so that filters may change the registrations; each is checked again before use.
    const std::vector<Registration> snapshot = Filters();
    for (const Registration& r : snapshot) {
        if (!InScope(r.scope, msg.hwnd) || !IsRegistered(r)) {
            continue;
        }
        bool handled = false;
        r.filter->MessageFilter(msg.message, msg.wParam, msg.lParam, handled);
        if (handled) {
            return true;
        }
    }
    return false;
}

}  // namespace SkinUI
