// Recognises a Windows program by the first bytes of its file (DOS header, PE signature, file and
// optional header), so that an error page or any other file is never taken for an installer.
// No Windows header: also built natively under the sanitizers.
#pragma once

#include <cstddef>
#include <cstdint>

// How many leading bytes of a file IsWindowsProgramHeader needs at most. A program whose PE
// headers start later than this is not recognised.
constexpr size_t kPeHeaderProbeBytes = 4096;

// True when |data| (the first |size| bytes of a file) starts a 32- or 64-bit executable image
// that is not a DLL. Every offset read from the bytes is checked against |size|.
bool IsWindowsProgramHeader(const uint8_t* data, size_t size);
