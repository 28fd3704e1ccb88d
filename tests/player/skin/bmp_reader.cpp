#include "tests/player/skin/bmp_reader.h"

#include <cstdlib>
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

BmpImage DecodeBmp(const std::string& b) {
    if (b.size() < 54 || b[0] != 'B' || b[1] != 'M') throw std::runtime_error("not a BMP file");
    const std::uint32_t dataOffset = Le(b, 10, 4);
    const std::int32_t width = std::int32_t(Le(b, 18, 4));
    const std::int32_t rawHeight = std::int32_t(Le(b, 22, 4));
    const std::uint32_t bpp = Le(b, 28, 2), compression = Le(b, 30, 4);
    if (compression != 0 || (bpp != 24 && bpp != 32)) throw std::runtime_error("unsupported BMP format");
    if (width <= 0 || rawHeight == 0 || width > 65536 || std::abs(rawHeight) > 65536)
        throw std::runtime_error("absurd BMP size");
    BmpImage img;
    img.width = width;
    img.height = std::abs(rawHeight);
    const std::size_t bytesPerPixel = bpp / 8;
    const std::size_t rowBytes = (std::size_t(width) * bytesPerPixel + 3) & ~std::size_t(3);
    img.pixels.resize(std::size_t(width) * std::size_t(img.height));
    for (std::int32_t y = 0; y < img.height; ++y) {
        const std::int32_t fileRow = rawHeight > 0 ? img.height - 1 - y : y;
        const std::size_t rowAt = dataOffset + std::size_t(fileRow) * rowBytes;
        for (std::int32_t x = 0; x < width; ++x)
            img.pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                Le(b, rowAt + std::size_t(x) * bytesPerPixel, 3);
    }
    return img;
}

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
