// The sample installer's individual steps: the progress file, the record of its command line,
// the product file, and the helper process that stays behind after the installer has ended.
#pragma once

#include <windows.h>

#include <string>

// Replaces the progress file with the decimal percentage. The text goes to a side file first and
// is then moved over the old one, so a reader never sees a half-written or empty file.
bool WriteProgress(const std::wstring& progressPath, int percent);

// Writes |commandLine| as UTF-8 into "commandline.txt" in the progress file's folder.
bool RecordCommandLine(const std::wstring& progressPath, const std::wstring& commandLine);

// Joins the install folder given by /path= with the product's own folders
// ("Orbitane\Orbitane Repavio\"), whether or not the folder ends in a backslash.
std::wstring ProductFolder(const std::wstring& installFolder);

// Creates the product folder and writes the embedded Repavio.exe into it. Error code or 0.
DWORD InstallProduct(const std::wstring& productFolder);

// Copies this installer to "tandrel-download.tmp" in a folder of its own under the temp folder
// and starts it there to wait |lingerMs| before it ends.
bool StartLingeringHelper(DWORD lingerMs);
