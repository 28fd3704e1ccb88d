#include "player/skin/mask_runs.h"

#include <gtest/gtest.h>

#include <vector>

namespace tessel::player {
namespace {

constexpr std::uint32_t kMagenta = DibPixel(255, 0, 255);

// A mask picture in memory, top-down.
struct TestMask {
    std::int32_t width, height;
    std::vector<std::uint32_t> data;
    TestMask(std::int32_t w, std::int32_t h, std::uint32_t fill) : width(w), height(h), data(std::size_t(w) * std::size_t(h), fill) {}
    std::uint32_t& at(std::int32_t x, std::int32_t y) { return data[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    MaskPixels View() const { return {data.data(), width, height, width}; }
};

// That the runs are exactly the opaque points of a per-pixel scan, row by row and
// maximal, whatever the mask, its padding and the scan's size, is the fuzz target's
// property; here, cases worked out by hand.
TEST(MaskRuns, BottomUpBitmapsAndTheEdgesTheRandomMasksMiss) {
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
    // A mask all of the key colour, a key with bits beyond 24 (it matches no pixel), no
    // pixels at all (everything opaque), and scans of no width or height.
    TestMask m(5, 2, kMagenta | 0xFF000000u);
    EXPECT_TRUE(MaskToRuns(m.View(), 5, 2, kMagenta).empty());
    EXPECT_EQ(CountRunPixels(MaskToRuns(m.View(), 5, 2, kMagenta | 0x01000000u)), 10);
    EXPECT_EQ(MaskToRuns(MaskPixels{}, 4, 2, kMagenta), (std::vector<PixelRun>{{0, 0, 4}, {1, 0, 4}}));
    EXPECT_TRUE(MaskToRuns(m.View(), 0, 2, kMagenta).empty());
    EXPECT_TRUE(MaskToRuns(m.View(), 5, -1, kMagenta).empty());
}

// Rows merge into one band only when they follow each other and every run agrees.
TEST(MaskRuns, RectanglesOfTheShapeCountBandsNotRows) {
    EXPECT_EQ(ShapeRectangleCount({}), 0u);
    EXPECT_EQ(ShapeRectangleCount({{0, 0, 5}, {1, 0, 5}, {2, 0, 5}}), 1u);
    EXPECT_EQ(ShapeRectangleCount({{0, 0, 5}, {2, 0, 5}}), 2u) << "a row between them";
    EXPECT_EQ(ShapeRectangleCount({{0, 0, 2}, {0, 4, 6}, {1, 0, 2}, {1, 4, 6},  // one band of two
                                   {2, 0, 2},                                   // fewer runs
                                   {3, 0, 2}, {3, 4, 7}}),                      // the last run wider
              5u);
    EXPECT_EQ(ShapeRectangleCount({{0, 1, 2}, {1, 0, 2}}), 2u) << "the first run starts elsewhere";
    // A checkerboard: no two rows alike, one rectangle per opaque run.
    TestMask board(6, 4, kMagenta);
    for (int y = 0; y < 4; ++y)
        for (int x = (y + 1) % 2; x < 6; x += 2) board.at(x, y) = 0;
    EXPECT_EQ(ShapeRectangleCount(MaskToRuns(board.View(), 6, 4, kMagenta)), 12u);
}

}  // namespace
}  // namespace tessel::player
