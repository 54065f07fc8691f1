// Typed look-up of a function exported by a DLL that is loaded at run time.
#pragma once

#include <windows.h>

// Null when the module is null or does not export |name| (a name or an ordinal).
template <typename Function>
Function GetExportedFunction(HMODULE module, LPCSTR name) {
    if (module == nullptr) {
        return nullptr;
    }
    // Through void(*)(): FARPROC and the real signature are unrelated function types.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(module, name)));
}
