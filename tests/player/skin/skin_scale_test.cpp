#include "player/skin/skin_scale.h"

#include <gtest/gtest.h>

#include <vector>

namespace tessel::player {
namespace {

TEST(SkinScale, TheDisplayScaleRoundedHalvesUpBetweenOneAndThree) {
    // dpi: 96 is 100 %, 144 is 150 %, 240 is 250 %.
    const std::pair<int, int> cases[] = {{0, 1},   {72, 1},  {96, 1},  {120, 1}, {143, 1}, {144, 2},
                                         {192, 2}, {239, 2}, {240, 3}, {288, 3}, {384, 3}};
    for (auto [dpi, k] : cases) EXPECT_EQ(SkinScaleForDpi(dpi), k) << dpi;
}

TEST(SkinScale, TheSkinnedWindowsTwipsPerPixelShrinkWithTheScale) {
    // At 100 % a skin pixel is 15 twips; at k, k screen pixels make one.
    EXPECT_EQ(SkinTwipsPerPixel(1).x, 15.0);
    EXPECT_EQ(SkinTwipsPerPixel(2).y, 7.5);
    EXPECT_EQ(SkinTwipsPerPixel(3).x, 5.0);
    EXPECT_EQ(SkinTwipsPerPixel(0).x, 15.0);
}

TEST(SkinScale, RunsAndPicturesGrowIntoWholeBlocks) {
    // A 3 x 2 shape: row 0 pixels 0 and 2, row 1 pixels 1..2.
    const std::vector<PixelRun> runs{{0, 0, 1}, {0, 2, 3}, {1, 1, 3}};
    EXPECT_EQ(ScaleRuns(runs, 1), runs);
    EXPECT_EQ(ScaleRuns(runs, 2), (std::vector<PixelRun>{{0, 0, 2}, {0, 4, 6}, {1, 0, 2}, {1, 4, 6},
                                                          {2, 2, 6}, {3, 2, 6}}));
    EXPECT_EQ(CountRunPixels(ScaleRuns(runs, 3)), 9 * CountRunPixels(runs));

    BmpImage picture;
    picture.width = 2;
    picture.height = 2;
    picture.pixels = {1, 2, 3, 4};
    EXPECT_EQ(ScaleNearest(picture, 1).pixels, picture.pixels);
    const BmpImage doubled = ScaleNearest(picture, 2);
    EXPECT_EQ(doubled.width, 4);
    EXPECT_EQ(doubled.height, 4);
    EXPECT_EQ(doubled.pixels, (std::vector<std::uint32_t>{1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}));
}

}  // namespace
}  // namespace tessel::player
