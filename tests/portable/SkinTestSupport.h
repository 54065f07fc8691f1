// Helpers for the toolkit's native tests: the shipped skin files, a notifier that records
// what it receives, and a package over the skin files.
#pragma once

#include <string>
#include <vector>

#include "ui/SkinNotify.h"
#include "ui/SkinPackage.h"

// The bytes of a shipped skin file ("skin.xml", "home.xml", "banner.xml").
std::string ReadTestSkinFile(const char* name);
// A package reading the shipped skin files as plain files.
void OpenTestSkinFolder(SkinUI::CSkinPackage& package);

struct RecordedNotify {
    std::wstring type;
    std::wstring sender;
    int32_t wParam;
    int32_t lParam;
    bool operator==(const RecordedNotify& o) const {
        return type == o.type && sender == o.sender && wParam == o.wParam && lParam == o.lParam;
    }
};

class RecordingNotifier : public SkinUI::INotifyUI {
  public:
    void Notify(SkinUI::SkinNotify& msg) override;
    std::vector<RecordedNotify> received;
};
