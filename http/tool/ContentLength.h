// Strict reading of a "Content-Length" header value, shared by both back-ends.
#pragma once

#include <cstdint>

// True when |text| is one non-negative decimal number (surrounding blanks allowed) that fits
// in 63 bits; anything else (signs, letters, empty text, overflow) is not a length.
bool ParseContentLength(const wchar_t* text, int64_t& value);
// The same for a header value that arrived as narrow text.
bool ParseContentLength(const char* text, int64_t& value);
