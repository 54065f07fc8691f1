// The installer's progress file: one decimal percentage that the installer rewrites as it goes,
// and its place on the progress bar after the download's share.
#pragma once

#include <string>

// Reads the first 10 bytes of the file and parses them like atoi (leading white space, an
// optional sign, digits up to the first non-digit; 0 without digits; out-of-range values are
// held at the int limits). False, with |value| unchanged, when the file cannot be opened, for
// example before the installer has written it.
bool ReadProgressValue(const std::wstring& path, int& value);

// Parses like atoi, for text that is already in memory.
int ParseProgressText(const char* text);

// ratio + (100 - ratio) * value / 100, truncated toward zero. The value is first held within
// 0..100 so that a misbehaving installer can neither push the bar past 100 nor back into the
// download's share.
int MapInstallProgress(int ratio, int value);
