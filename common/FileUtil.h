// File and folder queries and folder creation on the local file system.
#pragma once

#include <string>

// True when the file opens for reading (it is closed again at once).
bool FileExists(const std::wstring& path);

// True when the normalised path names an existing file or folder.
bool PathExists(const std::wstring& path);

// Creates the folder and every missing parent; true when the folder exists afterwards.
bool CreateFolderTree(const std::wstring& path);

// Writes |size| bytes as the whole content of |path|, replacing an older file.
bool WriteWholeFile(const std::wstring& path, const void* data, size_t size);
