// CSkinPackage: where skin files and images come from. Plain files under the resource
// folder, a zip file there, an XML resource, or a zip archive held in memory (the resource
// bytes, copied once and kept). Look-ups in the archive ignore case and treat "\" as "/".
// No Windows header: the resource access is plugged in by SkinSource.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/ZipReader.h"

namespace SkinUI {

class CSkinMarkup;

// The four ways a window can name its skin.
enum class SkinSource {
    kFiles = 1,        // plain files under the resource folder
    kZipFile = 2,      // a zip file under the resource folder
    kXmlResource = 3,  // the skin files are "xml" resources named by decimal identifiers
    kZipResource = 4,  // a zip archive among the executable's resources
};

class CSkinPackage {
  public:
    static constexpr size_t kMaxArchiveSize = 64 * 1024 * 1024;
    static constexpr size_t kMaxEntrySize = 64 * 1024 * 1024;

    // The package of the process: opened once, kept until the process ends.
    static CSkinPackage& Instance();

    CSkinPackage() = default;
    CSkinPackage(const CSkinPackage&) = delete;
    CSkinPackage& operator=(const CSkinPackage&) = delete;

    // A trailing "\" is added unless the folder ends in "\" or "/".
    void SetResourcePath(const std::wstring& folder);
    const std::wstring& GetResourcePath() const { return resourcePath_; }

    SkinSource GetSourceKind() const { return kind_; }
    void SetSourceKind(SkinSource kind) { kind_ = kind; }

    // Opens the archive from a copy of the bytes. An open archive stays as it is (true).
    bool OpenZip(const void* data, size_t size);
    // Reads the zip file |fileName| under the resource folder and opens it.
    bool OpenZipFile(const std::wstring& fileName);
    bool IsOpen() const { return zip_.IsOpen(); }

    // Reads an "xml" resource by its identifier; false when it is missing.
    using ResourceReader = std::function<bool(int id, std::string& bytes)>;
    void SetXmlResourceReader(ResourceReader reader) { xmlReader_ = std::move(reader); }

    // The entry's index in the archive; -1 when absent, when no archive is open, or for a
    // name of 256 characters or more.
    int FindEntry(const std::wstring& name) const;
    // A file's bytes: from the archive when one is open, else (plain files) from the
    // resource folder. False when missing, damaged or over kMaxEntrySize. The drawing
    // engine's image source reads through this.
    bool ReadFile(const std::wstring& name, std::vector<uint8_t>& bytes) const;
    // Loads a skin file the way the source kind says.
    bool LoadMarkup(CSkinMarkup& markup, const std::wstring& name) const;

  private:
    // Keeps |bytes| as the archive and opens it.
    bool Adopt(std::string bytes);

    std::wstring resourcePath_;
    SkinSource kind_ = SkinSource::kFiles;
    std::string bytes_;  // the archive; the reader points into it
    CZipReader zip_;
    ResourceReader xmlReader_;
};

}  // namespace SkinUI
