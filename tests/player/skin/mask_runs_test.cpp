#include "player/skin/mask_runs.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>

namespace tessel::player {
namespace {

constexpr std::uint32_t kMagenta = DibPixel(255, 0, 255);

// A mask picture in memory, top-down, with optional padding at the end of each row.
struct TestMask {
    std::int32_t width, height, pitch;
    std::vector<std::uint32_t> data;
    TestMask(std::int32_t w, std::int32_t h, std::uint32_t fill, std::int32_t padding = 0)
        : width(w), height(h), pitch(w + padding), data(std::size_t(w + padding) * std::size_t(h), fill) {}
    std::uint32_t& at(std::int32_t x, std::int32_t y) { return data[std::size_t(y) * std::size_t(pitch) + std::size_t(x)]; }
    MaskPixels View() const { return {data.data(), width, height, pitch}; }
};

// The reference: the per-pixel scan, column by column, reading each point as a pixel
// read would (the invalid colour, all bits set, beyond the bitmap) and keeping every
// point whose colour is not exactly the key.
std::set<std::pair<int, int>> PerPixelReference(const MaskPixels& m, int scanW, int scanH, std::uint32_t key) {
    std::set<std::pair<int, int>> opaque;
    for (int x = 0; x < scanW; ++x)
        for (int y = 0; y < scanH; ++y) {
            std::uint32_t colour = 0xFFFFFFFFu;
            if (x < m.width && y < m.height) colour = m.pixels[std::ptrdiff_t(y) * m.stride + x] & 0xFFFFFFu;
            if (colour != key) opaque.insert({x, y});
        }
    return opaque;
}

std::set<std::pair<int, int>> Expand(const std::vector<PixelRun>& runs) {
    std::set<std::pair<int, int>> points;
    for (const PixelRun& r : runs)
        for (int x = r.left; x < r.right; ++x) EXPECT_TRUE(points.insert({x, r.y}).second) << "runs overlap";
    return points;
}

// Rows top to bottom, runs left to right, never touching.
void ExpectWellFormed(const std::vector<PixelRun>& runs) {
    for (std::size_t i = 0; i < runs.size(); ++i) {
        EXPECT_LT(runs[i].left, runs[i].right);
        if (i == 0) continue;
        EXPECT_LE(runs[i - 1].y, runs[i].y);
        if (runs[i - 1].y == runs[i].y) {
            EXPECT_LT(runs[i - 1].right, runs[i].left);
        }
    }
}

TEST(MaskRuns, MatchThePerPixelScanOnRandomMasks) {
    std::mt19937 rng(20240611);
    for (int round = 0; round < 300; ++round) {
        const int w = 1 + int(rng() % 40), h = 1 + int(rng() % 30);
        const int padding = int(rng() % 3);
        // Key pixels come in clumps of varying density so that runs of every length occur.
        TestMask m(w, h, 0, padding);
        const unsigned density = rng() % 100;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::uint32_t p = (rng() % 100 < density) ? kMagenta : DibPixel(int(rng() % 256), int(rng() % 2) * 255, 255);
                p |= (rng() % 2) ? 0xFF000000u : 0u;  // the unused top byte must not matter
                m.at(x, y) = p;
            }
        // Scans smaller than, equal to and larger than the mask.
        const int scanW = int(rng() % (w + 10)), scanH = int(rng() % (h + 10));
        SCOPED_TRACE(::testing::Message() << "round " << round << " mask " << w << "x" << h << " scan " << scanW << "x" << scanH);
        const auto runs = MaskToRuns(m.View(), scanW, scanH, kMagenta);
        ExpectWellFormed(runs);
        const auto reference = PerPixelReference(m.View(), scanW, scanH, kMagenta);
        EXPECT_EQ(Expand(runs), reference);
        EXPECT_EQ(CountRunPixels(runs), std::int64_t(reference.size()));
    }
}

TEST(MaskRuns, BottomUpBitmapWithNegativeStride) {
    // The same picture stored bottom-up: rows reversed, pointer at the top row's start.
    TestMask top(7, 5, kMagenta);
    top.at(1, 0) = 0;
    top.at(6, 4) = 0;
    top.at(3, 2) = 0;
    std::vector<std::uint32_t> bottomUp(top.data.size());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) bottomUp[std::size_t((4 - y) * 7 + x)] = top.at(x, y);
    const MaskPixels view{bottomUp.data() + 4 * 7, 7, 5, -7};
    EXPECT_EQ(MaskToRuns(view, 7, 5, kMagenta), MaskToRuns(top.View(), 7, 5, kMagenta));
    EXPECT_EQ(MaskToRuns(view, 7, 5, kMagenta),
              (std::vector<PixelRun>{{0, 1, 2}, {2, 3, 4}, {4, 6, 7}}));
}

// What the random masks do not reach: a mask all of the key colour, a key with bits
// beyond 24 (it matches no pixel), no pixels at all (everything opaque), and scans of
// no width or height.
TEST(MaskRuns, EdgesTheRandomMasksMiss) {
    TestMask m(5, 2, kMagenta | 0xFF000000u);
    EXPECT_TRUE(MaskToRuns(m.View(), 5, 2, kMagenta).empty());
    EXPECT_EQ(CountRunPixels(MaskToRuns(m.View(), 5, 2, kMagenta | 0x01000000u)), 10);
    EXPECT_EQ(MaskToRuns(MaskPixels{}, 4, 2, kMagenta), (std::vector<PixelRun>{{0, 0, 4}, {1, 0, 4}}));
    EXPECT_TRUE(MaskToRuns(m.View(), 0, 2, kMagenta).empty());
    EXPECT_TRUE(MaskToRuns(m.View(), 5, -1, kMagenta).empty());
}

}  // namespace
}  // namespace tessel::player
