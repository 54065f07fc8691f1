#include "common/Resource.h"

bool FindResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type, const void*& data,
                       size_t& size) {
    data = nullptr;
    size = 0;
    HRSRC info = ::FindResourceW(module, name, type);
    if (info == nullptr) {
        return false;
    }
    // Resources are never freed explicitly: they belong to the module's image.
    HGLOBAL loaded = ::LoadResource(module, info);
    const DWORD length = ::SizeofResource(module, info);
    const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
    if (bytes == nullptr || length == 0) {
        return false;
    }
    data = bytes;
    size = length;
    return true;
}
