// Reads the uncompressed BMP and ICO files the skins ship as, for checking them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessel::test {

struct BmpImage {
    std::int32_t width = 0, height = 0;
    std::vector<std::uint32_t> pixels;  // top row first, 0x00RRGGBB
};

// 24- or 32-bit BI_RGB, bottom-up or top-down. Throws std::runtime_error otherwise.
BmpImage DecodeBmp(const std::string& bytes);

// The (width, height) of every image an icon file holds.
std::vector<std::pair<int, int>> IcoImageSizes(const std::string& bytes);

std::string ReadBytes(const std::string& path);

}  // namespace tessel::test
