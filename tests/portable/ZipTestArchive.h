// Builds small zip archives in memory for tests, including deliberately broken ones.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ZipTestEntry {
    std::string name;
    std::string data;
    bool deflate = true;
    // Overrides for forged headers; -1 keeps the true value.
    int64_t declaredSize = -1;
    int64_t declaredCrc = -1;
};

std::string BuildZipArchive(const std::vector<ZipTestEntry>& entries);
