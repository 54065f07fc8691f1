#include "Window/FlowQuestions.h"

CloseDecision DecideClose(const CloseRequest& request) {
    CloseDecision decision;
    if (request.code == kCloseWithoutQuestion || request.startButtonVisible) {
        decision.choice = CloseChoice::kClose;
    } else if (!request.hasPages || request.questionOpen) {
        decision.choice = CloseChoice::kIgnore;
    } else {
        decision.choice = CloseChoice::kAsk;
        // On the progress page a download or an installation would be cut short.
        decision.questionKey =
            request.page == kProgressPage ? L"STR_CLOSE_TIP2" : L"STR_CLOSE_TIP1";
    }
    return decision;
}

unsigned MessageBoxType(MessageBoxKind kind, bool rightToLeft) {
    return rightToLeft ? (kind | kBoxRightToLeftFlags) : static_cast<unsigned>(kind);
}
