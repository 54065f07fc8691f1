#include "Window/EmbeddedPackage.h"

#include <windows.h>

#include <cstring>

#include "common/FileUtil.h"
#include "common/Resource.h"
#include "common/Log.h"
#include "common/StringUtil.h"
#include "common/TextConvert.h"
#include "common/ZipExtract.h"

namespace {

// The bytes of a raw-data resource of this executable; false when it is absent or empty.
bool FindRawResource(int id, const void*& bytes, size_t& size) {
    return FindResourceBytes(nullptr, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /*RT_RCDATA*/,
                             bytes, size);
}

}  // namespace

void LoadResZipFile(const std::wstring& workFolder) {
    TLOG("CSetupFrameWnd::LoadResZipFile", "LoadResZipFile");
    const void* bytes = nullptr;
    size_t size = 0;
    if (!FindRawResource(kLanguagePackageResource, bytes, size)) {
        TLOG("CSetupFrameWnd::LoadResZipFile", "ERR:language package resource missing");
        return;
    }
    ExtractZipToFolder(bytes, size, workFolder + L"language\\");
}

std::wstring LoadDomainFile() {
    TLOG("CSetupFrameWnd::LoadDomainFile", "LoadDomainFile");
    // The text ends at the first zero byte or at 254 bytes, whichever comes first: a longer
    // resource is cut so that the area always keeps its terminating zero.
    char text[255] = {};
    const void* bytes = nullptr;
    size_t size = 0;
    if (FindRawResource(kDomainResource, bytes, size)) {
        std::memcpy(text, bytes, size < sizeof(text) - 1 ? size : sizeof(text) - 1);
    }
    std::wstring domain = LocaleToWide(text);
    ReplaceAll(domain, L"\r\n", L"");
    TLOG("CSetupFrameWnd::LoadDomainFile", "Domain:%s", text);
    return domain;
}

bool WriteDomainFile(const std::wstring& productFolder, const std::wstring& customValue) {
    if (customValue.empty()) {
        return false;
    }
    const std::string narrow = WideToLocale(customValue);
    return WriteWholeFile(productFolder + L"domain", narrow.data(), narrow.size());
}
