// The skins' bitmap and icon files, read by our own bounds-checked code: whatever the
// bytes, nothing is read outside the file (AddressSanitizer), a decoded picture has
// exactly its sides' pixels, and for the plain kind of bitmap (the 40-byte header,
// uncompressed, 1 to 32 bits) a slow reference written here agrees on every pixel and
// on whether the file can be used at all. An icon accepted lies within its file.
#include <optional>

#include "fuzz/fuzz_support.h"
#include "player/skin/image_files.h"

namespace player = tessel::player;

namespace {

constexpr std::int32_t kMaxSide = 64;

std::uint32_t Le(std::string_view d, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<std::uint8_t>(d[at + static_cast<std::size_t>(i)]);
    return v;
}

// nothing: not the plain kind; else whether it is usable and its pixels.
std::optional<std::optional<std::vector<std::uint32_t>>> Reference(std::string_view d) {
    if (d.size() < 54 || d[0] != 'B' || d[1] != 'M' || Le(d, 14, 4) != 40 || Le(d, 30, 4) != 0) return std::nullopt;
    const std::int64_t width = static_cast<std::int32_t>(Le(d, 18, 4));
    std::int64_t height = static_cast<std::int32_t>(Le(d, 22, 4));
    const std::uint32_t bits = Le(d, 28, 2);
    if (Le(d, 26, 2) != 1 || width <= 0 || height == 0) return std::nullopt;
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width > kMaxSide || height > kMaxSide) return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return std::nullopt;
    const std::uint64_t used = Le(d, 46, 4);
    const std::uint64_t entries = bits <= 8 ? ((used == 0 || used > (1u << bits)) ? (1u << bits) : used) : 0;
    const std::optional<std::vector<std::uint32_t>> unusable;
    if (54 + entries * 4 > d.size()) return unusable;
    const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
    const std::uint64_t at = Le(d, 10, 4);
    if (at > d.size() || stride * static_cast<std::uint64_t>(height) > d.size() - at) return unusable;
    std::vector<std::uint32_t> pixels;
    for (std::int64_t y = 0; y < height; ++y) {
        const std::uint64_t row = at + static_cast<std::uint64_t>(topDown ? y : height - 1 - y) * stride;
        for (std::int64_t x = 0; x < width; ++x) {
            std::uint32_t index = 0;
            if (bits == 24 || bits == 32) {
                pixels.push_back(Le(d, static_cast<std::size_t>(row + static_cast<std::uint64_t>(x) * (bits / 8)), 3));
                continue;
            }
            const std::uint64_t bit = static_cast<std::uint64_t>(x) * bits;
            const std::uint32_t byte = static_cast<std::uint8_t>(d[static_cast<std::size_t>(row + bit / 8)]);
            index = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
            pixels.push_back(index < entries ? Le(d, static_cast<std::size_t>(54 + index * 4), 3) : 0u);
        }
    }
    return std::optional<std::vector<std::uint32_t>>(pixels);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    player::BmpImage image;
    const player::ImageProblem problem = player::DecodeBmp(file, kMaxSide, image);
    if (problem == player::ImageProblem::None) {
        FUZZ_CHECK(image.width > 0 && image.width <= kMaxSide && image.height > 0 && image.height <= kMaxSide);
        FUZZ_CHECK(image.pixels.size() == static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
        for (std::uint32_t p : image.pixels) FUZZ_CHECK(p <= 0xFFFFFFu);
    }
    if (problem == player::ImageProblem::TooLarge) FUZZ_CHECK(image.width > kMaxSide || image.height > kMaxSide);
    if (const auto expected = Reference(file)) {
        FUZZ_CHECK((problem == player::ImageProblem::None) == expected->has_value());
        if (expected->has_value()) FUZZ_CHECK(image.pixels == **expected);
    }

    // The same bytes as an icon: accepted only when every listed image lies within.
    const player::ImageProblem icon = player::CheckIco(file);
    if (icon == player::ImageProblem::None) {
        const std::uint32_t count = Le(file, 4, 2);
        FUZZ_CHECK(count > 0 && 6 + count * 16ull <= size);
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t bytes = Le(file, 6 + i * 16 + 8, 4), at = Le(file, 6 + i * 16 + 12, 4);
            FUZZ_CHECK(at <= size && bytes <= size - at && bytes >= 33);
        }
    }
    return 0;
}
