#include "ui/SkinSource.h"

#include "common/Resource.h"
#include "common/SystemInfo.h"
#include "ui/SkinBuilder.h"
#include "ui/SkinManager.h"
#include "ui/controls/Control.h"

namespace SkinUI {

namespace {

HINSTANCE g_instance = nullptr;

// A copy of a resource's bytes; false when it is missing, cannot be loaded or is empty.
bool ReadResource(HINSTANCE instance, int id, const wchar_t* type, std::string& bytes) {
    const void* data = nullptr;
    size_t size = 0;
    if (!FindResourceBytes(instance, MAKEINTRESOURCEW(id), type, data, size)) {
        return false;
    }
    bytes.assign(static_cast<const char*>(data), size);
    return true;
}

}  // namespace

void SetSkinInstance(HINSTANCE instance) {
    g_instance = instance;
}

HINSTANCE GetSkinInstance() {
    return g_instance != nullptr ? g_instance : ::GetModuleHandleW(nullptr);
}

SkinLoadResult LoadWindowSkin(CSkinManagerUI& manager, const SkinSourceValues& source,
                              ISkinBuilderCallback* callback, CSkinPackage& package) {
    if (package.GetResourcePath().empty()) {
        package.SetResourcePath(GetModuleFolder() + L"\\" + source.skinFolder);
    }
    package.SetSourceKind(source.kind);
    const HINSTANCE instance = GetSkinInstance();
    switch (source.kind) {
        case SkinSource::kZipFile:
            package.OpenZipFile(source.zipFileName);  // a failure shows in the root's load
            break;
        case SkinSource::kZipResource:
            if (!package.IsOpen()) {
                const void* data = nullptr;
                size_t size = 0;
                if (!FindResourceBytes(instance, MAKEINTRESOURCEW(source.resourceId), L"ZIPRES",
                                       data, size)) {
                    return SkinLoadResult::kNoPackage;
                }
                package.OpenZip(data, size);  // the package keeps its own copy
            }
            break;
        case SkinSource::kXmlResource:
            package.SetXmlResourceReader([instance](int id, std::string& bytes) {
                return ReadResource(instance, id, L"xml", bytes);
            });
            break;
        case SkinSource::kFiles:
            break;
    }
    CSkinBuilder builder(package, callback);
    std::unique_ptr<CControlUI> root = builder.Build(source.rootFile, &manager);
    if (!root) {
        return SkinLoadResult::kFailed;
    }
    manager.AttachRoot(std::move(root));
    return SkinLoadResult::kBuilt;
}

void ExitOnSkinLoadFailure() {
    ::MessageBoxW(nullptr, L"\u52a0\u8f7d\u8d44\u6e90\u6587\u4ef6\u5931\u8d25", L"SkinUI",
                  MB_OK | MB_ICONERROR);
    ::ExitProcess(1);
}

}  // namespace SkinUI
