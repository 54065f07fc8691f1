// Reading a resource of a loaded module: where its bytes lie in the module's image. Not for
// unloading or caching: the bytes stay valid while the module stays loaded.
#pragma once

#include <windows.h>

#include <cstddef>

// The bytes of resource |name| of |type| in |module| (null: the executable). False when it is
// missing, cannot be loaded or is empty.
bool FindResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type, const void*& data, size_t& size);
