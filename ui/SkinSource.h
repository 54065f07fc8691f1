// Loading a window's skin on Windows: the five values a window supplies, the package opened
// from them (resource "ZIPRES", a zip file, "xml" resources or plain files), the tree built
// and attached, and the message that ends the process when a present skin is unusable.
#pragma once

#include <windows.h>

#include <string>

#include "ui/SkinPackage.h"

namespace SkinUI {

class CSkinManagerUI;
class ISkinBuilderCallback;

struct SkinSourceValues {
    SkinSource kind = SkinSource::kFiles;
    int resourceId = 0;        // the archive's identifier (resource type "ZIPRES")
    std::wstring skinFolder;   // appended to the executable's folder when none is set
    std::wstring zipFileName;  // kind kZipFile only
    std::wstring rootFile;     // with kXmlResource: a decimal resource identifier
};

enum class SkinLoadResult {
    kBuilt,      // the tree is attached to the manager
    kNoPackage,  // no archive resource (or an empty one): an empty window, no message
    kFailed,     // the root file is missing or unreadable, or it built no control
};

// The module whose resources hold the skin; the executable when none is set.
void SetSkinInstance(HINSTANCE instance);
HINSTANCE GetSkinInstance();

// Sets the resource folder if none is set yet, opens the source, builds |rootFile| and, on
// success, attaches the tree to |manager|.
SkinLoadResult LoadWindowSkin(CSkinManagerUI& manager, const SkinSourceValues& source,
                              ISkinBuilderCallback* callback,
                              CSkinPackage& package = CSkinPackage::Instance());

// What a window does with kFailed: a message box without owner ("加载资源文件失败",
// caption "SkinUI", error icon), then the process ends with exit code 1.
[[noreturn]] void ExitOnSkinLoadFailure();

}  // namespace SkinUI
