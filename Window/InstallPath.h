// The install folder chosen on the home page: taking it from the path box, testing it before a
// download starts, and creating the product's folder under it before the installer runs.
#pragma once

#include <string>

// The text of the path box as the install path: a backslash is appended when it lacks one.
std::wstring InstallPathFromBox(const std::wstring& boxText);

// True when |path| is a usable install folder: it exists, or only its last folder is missing
// (it is created at install time). A missing parent folder or drive is refused. An existing
// file is not told apart from a folder.
bool CheckInstallPath(const std::wstring& path);

// Creates |installPath| + |subFolder| ("Orbitane\Orbitane Repavio\") with every missing parent
// and returns it. Failures show later, when the installer cannot write there.
std::wstring CreateProductFolder(const std::wstring& installPath, const std::wstring& subFolder);
