// The packages that travel inside the executable: the language package (raw data 105),
// unpacked into the work folder's "language\" on every start, and the domain text (raw
// data 106), which the installed product receives as its "domain" file.
#pragma once

#include <string>

enum : int { kLanguagePackageResource = 105, kDomainResource = 106 };

// Unpacks resource 105 into |workFolder| + "language\" (the work folder ends with "\").
void LoadResZipFile(const std::wstring& workFolder);

// Reads resource 106 and returns it with every CR LF pair removed; empty when absent.
std::wstring LoadDomainFile();

// Writes |customValue| (narrow, no line break, no terminating zero) as |productFolder| +
// "domain", replacing an older file. Nothing is written for an empty value.
bool WriteDomainFile(const std::wstring& productFolder, const std::wstring& customValue);
