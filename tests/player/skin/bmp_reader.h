// Reads the ICO files the skins ship as, and any file's bytes, for checking them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessel::test {

// The (width, height) of every image an icon file holds.
std::vector<std::pair<int, int>> IcoImageSizes(const std::string& bytes);

std::string ReadBytes(const std::string& path);

}  // namespace tessel::test
