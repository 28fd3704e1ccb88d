#include "player/skin/placement.h"

#include <gtest/gtest.h>

namespace tessel::player {
namespace {

TEST(Placement, BodyWindowSitsAtTheSkinOffsetsHalfPixelsRoundingToEven) {
    const struct {
        double left, top, height;  // the skin window, twips
        std::int32_t offsetY, offsetX;
        TwipsPerPixel factors;
        PixelPoint at;
    } cases[] = {
        // At 500, 300 (pixels), 120 high, line 5 reading -20,116; moved with the skin.
        {7500, 4500, 1800, -20, 116, {15, 15}, {520, 317}},
        {6450, 5325, 1800, -20, 116, {15, 15}, {450, 372}},
        // Zero offsets: against the skin window's lower-left corner.
        {9600, 3000, 2700, 0, 0, {15, 15}, {640 - 96, 380 - 83}},
        // (7507.5 - 1440) / 15 = 404.5, + 116 = 520.5; 405.5 + 116 = 521.5; and
        // (-7.5 + 1800 - 1245) / 15 = 36.5.
        {7507.5, 0, 1800, 0, 116, {15, 15}, {520, 37}},
        {7522.5, -7.5, 1800, 0, 116, {15, 15}, {522, 36}},
        // 120 dpi: the body is 120 x 103.75 pixels; 300 + 120 - 103.75 - 20 = 296.25.
        {6000, 3600, 1440, -20, 116, {12, 12}, {500 - 120 + 116, 296}},
        // Different factors across and down are kept apart: 1245 / 20 = 62.25.
        {1000, 2000, 2000, 0, 0, {10, 20}, {100 - 144, 200 - 62}},
        // Extreme offsets do not overflow.
        {7500, 4500, 1800, 2147483647, 2147483647, {15, 15}, {2147483647, 2147483647}},
    };
    for (const auto& c : cases) {
        const PixelPoint p = PlayerFormPosition(PlacementInput{c.left, c.top, c.height, kPlayerFormWidthTwips,
                                                               kPlayerFormHeightTwips, c.offsetX, c.offsetY, c.factors});
        EXPECT_EQ(p.x, c.at.x) << c.left << "," << c.top;
        EXPECT_EQ(p.y, c.at.y) << c.left << "," << c.top;
    }
}

TEST(Placement, BodyWindowPixelSize) {
    EXPECT_EQ(PlayerFormPixelSize({15, 15}), (PixelSize{96, 83}));
    EXPECT_EQ(PlayerFormPixelSize({12, 12}), (PixelSize{120, 104}));
    EXPECT_EQ(PlayerFormPixelSize({10, 10}), (PixelSize{144, 124}));  // 124.5 rounds to even
}

}  // namespace
}  // namespace tessel::player
