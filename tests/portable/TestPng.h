// Writes small RGBA PNG files in memory for the image tests (zlib does the compression).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// |rgba| holds width x height pixels, 4 bytes each (R, G, B, A), top row first.
std::string EncodeTestPng(int width, int height, const std::vector<uint8_t>& rgba);

// A width x height picture filled with one RGBA colour.
std::string SolidTestPng(int width, int height, uint32_t rgbaBigEndian);
