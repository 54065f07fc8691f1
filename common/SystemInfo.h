// Facts about the machine and about this program: Windows edition and bitness, free disk
// space, file versions, the Program Files folder and the program's own folders.
#pragma once

#include <cstdint>
#include <string>

std::wstring GetWindowsProductName();

// True on an x64 or Itanium Windows; false for any other native architecture.
bool IsNative64Bit();
bool IsNative64BitArchitecture(unsigned architecture);

// "major.minor.build.revision" of the file's fixed version; empty without a version resource.
std::wstring GetFileVersionString(const std::wstring& filePath);

// Total free bytes of the volume holding |path|, in MiB (truncated). False leaves |freeMB| as is.
bool GetFreeDiskMB(const std::wstring& path, uint32_t& freeMB);

// The Program Files folder for 32-bit programs, with a trailing backslash ("\" when unknown).
std::wstring GetProgramFilesFolder();

// Full path of the running executable.
std::wstring GetModulePath();

// Folder of the running executable, normalised, without a trailing backslash.
std::wstring GetModuleFolder();

// File name of the running executable without its last extension ("tandrel-download").
std::wstring GetExecutableTitle();

// Program Files folder + "tandrel_down\" + executable title + "\".
std::wstring GetWorkFolder();

// The user's default UI language identifier in decimal ("1033").
std::wstring GetUiLanguageCode();
