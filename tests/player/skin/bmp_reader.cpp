#include "tests/player/skin/bmp_reader.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tessel::test {

namespace {

std::uint32_t Le(const std::string& b, std::size_t at, int bytes) {
    if (at + std::size_t(bytes) > b.size()) throw std::runtime_error("file too short");
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | std::uint8_t(b[at + std::size_t(i)]);
    return v;
}

}  // namespace

std::vector<std::pair<int, int>> IcoImageSizes(const std::string& b) {
    if (Le(b, 0, 2) != 0 || Le(b, 2, 2) != 1) throw std::runtime_error("not an icon file");
    std::vector<std::pair<int, int>> sizes;
    const std::uint32_t count = Le(b, 4, 2);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * std::size_t(i);
        const std::uint32_t size = Le(b, entry + 8, 4), offset = Le(b, entry + 12, 4);
        if (std::size_t(offset) + size > b.size()) throw std::runtime_error("icon image beyond the file");
        // The image's own header must agree with its directory entry (height doubled
        // for the AND mask).
        const int w = int(Le(b, offset + 4, 4)), h2 = int(Le(b, offset + 8, 4));
        const int dw = std::uint8_t(b[entry]) == 0 ? 256 : std::uint8_t(b[entry]);
        const int dh = std::uint8_t(b[entry + 1]) == 0 ? 256 : std::uint8_t(b[entry + 1]);
        if (w != dw || h2 != 2 * dh) throw std::runtime_error("icon header disagrees with its entry");
        sizes.emplace_back(w, h2 / 2);
    }
    return sizes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + path);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace tessel::test
