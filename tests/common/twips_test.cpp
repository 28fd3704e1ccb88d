#include "common/twips.h"

#include <gtest/gtest.h>

#include <limits>

namespace tessel {
namespace {

TEST(RoundHalfEven, TiesGoToEven) {
    const std::pair<double, int> cases[] = {
        {0.5, 0},  {1.5, 2},   {2.5, 2},   {3.5, 4},   {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
        {2.4999, 2}, {2.5001, 3}, {-2.5001, -3}, {7.0, 7}, {0.0, 0},   {103.75, 104}, {-20.0, -20},
    };
    for (auto [value, expected] : cases) EXPECT_EQ(RoundHalfEven(value), expected) << value;
    EXPECT_EQ(RoundHalfEven(1e300), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundHalfEven(-1e300), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Twips, ConversionsAtCommonScreenSettings) {
    const TwipsPerPixel at96 = TwipsPerPixelForDpi(96, 96);
    EXPECT_DOUBLE_EQ(at96.x, 15.0);
    EXPECT_EQ(TwipsToPixels(1440, at96.x), 96);
    EXPECT_EQ(TwipsToPixels(1245, at96.y), 83);
    EXPECT_EQ(TwipsToPixels(7.5, at96.x), 0);    // half a pixel: ties to even
    EXPECT_EQ(TwipsToPixels(22.5, at96.x), 2);
    const TwipsPerPixel at120 = TwipsPerPixelForDpi(120, 120);
    EXPECT_DOUBLE_EQ(at120.y, 12.0);
    EXPECT_EQ(TwipsToPixels(1245, at120.y), 104);  // 103.75
    EXPECT_DOUBLE_EQ(PixelsToTwips(96, at96.x), 1440.0);
    const TwipsPerPixel broken = TwipsPerPixelForDpi(0, -1);
    EXPECT_DOUBLE_EQ(broken.x, 15.0);  // a screen reporting nonsense keeps the default
}

}  // namespace
}  // namespace tessel
