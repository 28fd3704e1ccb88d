#include "player/skin/skin_scale.h"

#include <gtest/gtest.h>

#include <vector>

namespace tessel::player {
namespace {

TEST(SkinScale, TheDisplayScaleRoundedHalvesUpBetweenOneAndThreeAndItsTwipsPerPixel) {
    // dpi: 96 is 100 %, 144 is 150 %, 240 is 250 %.
    const std::pair<int, int> cases[] = {{0, 1},   {72, 1},  {96, 1},  {120, 1}, {143, 1}, {144, 2},
                                         {192, 2}, {239, 2}, {240, 3}, {288, 3}, {384, 3}};
    for (auto [dpi, k] : cases) EXPECT_EQ(SkinScaleForDpi(dpi), k) << dpi;
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

// WM_DPICHANGED: the skin at the new DPI's scale where the system suggests, centred
// when the whole-number scale makes it larger or smaller than the suggestion.
TEST(SkinScale, AMoveToAnotherScaleTakesTheSuggestedRectangle) {
    const PixelSize azure{320, 120};
    EXPECT_EQ(SkinRectForDpiChange({200, 150, 840, 390}, azure, 192), (PixelRect{200, 150, 840, 390}));
    EXPECT_EQ(SkinRectForDpiChange({-900, -700, -580, -580}, azure, 96), (PixelRect{-900, -700, -580, -580}));
    // 150 %: the suggestion is 480 x 180, the skin at 2 is 640 x 240.
    EXPECT_EQ(SkinRectForDpiChange({200, 150, 680, 330}, azure, 144), (PixelRect{120, 120, 760, 360}));
    // 125 %: 400 x 150 suggested, the skin stays 320 x 120; odd differences round down.
    EXPECT_EQ(SkinRectForDpiChange({-500, -300, -100, -150}, azure, 120), (PixelRect{-460, -285, -140, -165}));
    EXPECT_EQ(SkinRectForDpiChange({0, 0, 321, 119}, azure, 96), (PixelRect{0, -1, 320, 119}));

    // A 200 % monitor left of x = 1920, a 100 % one right of it. The skin window, 640
    // wide at 200 %, is moved to 1700: the larger part is on the right, which brings 96
    // DPI and a suggestion on that monitor. Shrunk from its corner it would stand at
    // 1700..2020, mostly on the left again; taken where suggested, it stays right.
    const PixelRect moved = SkinRectForDpiChange({1920, 300, 2240, 420}, azure, 96);
    EXPECT_GT(moved.right - 1920, 1920 - moved.left);
}

}  // namespace
}  // namespace tessel::player
