// Test helpers for the language manager: the real language package unpacked into a scratch
// folder, UTF-16 ini files written by hand, and an independent reader of the package's
// text.ini files (plain parsing of the bytes, not the profile functions under test).
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/TestFolders.h"

// The package built for this tree, unpacked with the program's own extraction.
class UnpackedPackage {
  public:
    UnpackedPackage();
    // The language folder, ending with a backslash.
    const std::wstring& root() const { return folder_.path(); }
    bool ok() const { return ok_; }

  private:
    ScopedTempFolder folder_;
    bool ok_ = false;
};

// The twelve folder names in the order of the package.
const std::vector<std::wstring>& PackageLanguages();

// Writes |text| as UTF-16LE with a byte-order mark.
bool WriteUtf16File(const std::wstring& path, const std::wstring& text);

// Parses a UTF-16LE ini file with byte-order mark: key -> value of the lines below the first
// section header. Empty when the file is missing or not UTF-16LE.
std::map<std::wstring, std::wstring> ParseUtf16Ini(const std::wstring& path);

// The placeholders and markup tokens of a text ("{c COLOR}", "{/c}", "PRODUCT", "COLOR",
// "BRAND"), sorted, so that two translations of one text can be compared.
std::multiset<std::wstring> PlaceholderTokens(const std::wstring& text);
