#include "SkinTestSupport.h"

#include "common/ZipReader.h"
#include "ui/SkinFile.h"
#include "ui/controls/Control.h"

std::string ReadTestSkinFile(const char* name) {
    std::string bytes;
    SkinUI::ReadSkinFile(DecodeUtf8(std::string(TANDREL_SKIN_DATA_DIR "/") + name), 1 << 24, bytes);
    return bytes;
}

void OpenTestSkinFolder(SkinUI::CSkinPackage& package) {
    package.SetResourcePath(DecodeUtf8(TANDREL_SKIN_DATA_DIR "/"));
    package.SetSourceKind(SkinUI::SkinSource::kFiles);
}

void RecordingNotifier::Notify(SkinUI::SkinNotify& msg) {
    received.push_back(
        RecordedNotify{msg.type, msg.sender ? msg.sender->GetName() : L"", msg.wParam, msg.lParam});
}
