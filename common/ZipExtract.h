// Unpacking a zip archive held in memory into a folder on disk.
#pragma once

#include <cstddef>
#include <string>

// Unpacks every entry into |folder| (created with its parents when missing). Entries of size 0
// are folders. An entry whose name would leave the folder (absolute, drive-qualified or with a
// ".." part), or whose data is damaged, is skipped with a log line; a damaged archive writes
// nothing. Always returns true: missing files are the readers' business.
bool ExtractZipToFolder(const void* bytes, size_t size, const std::wstring& folder);

// True for an archive entry name that stays inside the target folder.
bool IsSafeEntryName(const std::wstring& name);
