// Mask bitmaps to row runs: whatever the bitmap's size, row order, scan size, pixels
// and key, the runs are exactly the opaque pixels of a per-pixel scan, row by row, left
// to right, maximal.
#include "fuzz/fuzz_support.h"
#include "player/skin/mask_runs.h"

namespace player = tessel::player;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tessel::fuzz::Input in(data, size);
    const std::int32_t width = in.Byte() % 40;
    const std::int32_t height = in.Byte() % 40;
    // Scans may be smaller or larger than the bitmap, and empty or negative.
    const std::int32_t scanWidth = static_cast<std::int32_t>(in.Byte() % 50) - 4;
    const std::int32_t scanHeight = static_cast<std::int32_t>(in.Byte() % 50) - 4;
    const std::uint8_t flags = in.Byte();
    const bool bottomUp = flags & 1;
    const bool noPixels = flags & 2;
    const std::int32_t padding = (flags >> 2) % 4;  // row stride beyond the width
    std::uint32_t key = in.Number(3);
    if (flags & 0x10) key |= static_cast<std::uint32_t>(in.Byte()) << 24;  // beyond 24 bits: matches nothing
    // A few colours, so that runs of the key and of other colours both occur.
    const std::uint32_t palette[4] = {key & 0xFFFFFFu, (key & 0xFFFFFFu) | 0xFF000000u, (key ^ 1u) & 0xFFFFFFu,
                                      in.Number(4)};

    const std::int32_t stride = width + padding;
    std::vector<std::uint32_t> storage(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height) + 1);
    for (std::uint32_t& p : storage) {
        const std::uint8_t b = in.Byte();
        p = palette[b % 4];
    }
    player::MaskPixels mask;
    mask.width = width;
    mask.height = height;
    if (!noPixels && width > 0 && height > 0) {
        // Row 0 is the top row: the last stored row of a bottom-up bitmap.
        mask.pixels = bottomUp ? storage.data() + static_cast<std::ptrdiff_t>(height - 1) * stride : storage.data();
        mask.stride = bottomUp ? -stride : stride;
    }
    const std::vector<player::PixelRun> runs = player::MaskToRuns(mask, scanWidth, scanHeight, key);

    // The per-pixel scan.
    auto opaque = [&](std::int32_t x, std::int32_t y) {
        if (mask.pixels == nullptr || x >= width || y >= height) return true;
        const std::uint32_t pixel = mask.pixels[static_cast<std::ptrdiff_t>(y) * mask.stride + x];
        return key > 0xFFFFFFu || (pixel & 0xFFFFFFu) != key;
    };
    std::vector<player::PixelRun> expected;
    for (std::int32_t y = 0; y < scanHeight; ++y) {
        for (std::int32_t x = 0; x < scanWidth;) {
            if (!opaque(x, y)) {
                ++x;
                continue;
            }
            const std::int32_t left = x;
            while (x < scanWidth && opaque(x, y)) ++x;
            expected.push_back({y, left, x});
        }
    }
    FUZZ_CHECK(runs == expected);
    std::int64_t count = 0;
    for (std::int32_t y = 0; y < scanHeight; ++y) {
        for (std::int32_t x = 0; x < scanWidth; ++x) count += opaque(x, y);
    }
    FUZZ_CHECK(player::CountRunPixels(runs) == count);
    return 0;
}
