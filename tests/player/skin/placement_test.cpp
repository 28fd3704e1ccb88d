#include "player/skin/placement.h"

#include <gtest/gtest.h>

namespace tessel::player {
namespace {

PlacementInput AtPixels(double left, double top, double height, std::int32_t offsetY, std::int32_t offsetX,
                        TwipsPerPixel f = {15, 15}) {
    PlacementInput in;
    in.skinLeft = left * f.x;
    in.skinTop = top * f.y;
    in.skinHeight = height * f.y;
    in.playerOffsetX = offsetX;
    in.playerOffsetY = offsetY;
    in.factors = f;
    return in;
}

TEST(Placement, BodyWindowSitsAtTheSkinOffsetsAndMovesWithTheSkinWindow) {
    // Skin window at 500, 300, 120 high; body 96 x 83; line 5 reading -20,116.
    EXPECT_EQ(PlayerFormPosition(AtPixels(500, 300, 120, -20, 116)), (PixelPoint{520, 317}));
    EXPECT_EQ(PlayerFormPosition(AtPixels(430, 355, 120, -20, 116)), (PixelPoint{450, 372}));
    // Zero offsets: against the skin window's lower-left corner.
    EXPECT_EQ(PlayerFormPosition(AtPixels(640, 200, 180, 0, 0)), (PixelPoint{640 - 96, 380 - 83}));
}

TEST(Placement, HalfPixelsRoundToEven) {
    PlacementInput in = AtPixels(0, 0, 120, 0, 116);
    in.skinLeft = 7507.5;  // (7507.5 - 1440) / 15 = 404.5, + 116 = 520.5
    EXPECT_EQ(PlayerFormPosition(in).x, 520);
    in.skinLeft = 7522.5;  // 405.5 + 116 = 521.5
    EXPECT_EQ(PlayerFormPosition(in).x, 522);
    in.skinTop = -7.5;     // (-7.5 + 1800 - 1245) / 15 = 36.5
    in.playerOffsetY = 0;
    EXPECT_EQ(PlayerFormPosition(in).y, 36);
}

TEST(Placement, OtherScreenFactors) {
    // 120 dpi: 12 twips per pixel; the body is 120 x 103.75 pixels there.
    const TwipsPerPixel f{12, 12};
    const PixelPoint p = PlayerFormPosition(AtPixels(500, 300, 120, -20, 116, f));
    EXPECT_EQ(p.x, 500 - 120 + 116);
    EXPECT_EQ(p.y, 296);  // 300 + 120 - 103.75 - 20 = 296.25
    // Different factors across and down are kept apart.
    const PixelPoint q = PlayerFormPosition(AtPixels(100, 100, 100, 0, 0, {10, 20}));
    EXPECT_EQ(q, (PixelPoint{100 - 144, 200 - 62}));  // 1245 / 20 = 62.25
}

TEST(Placement, BodyWindowPixelSize) {
    EXPECT_EQ(PlayerFormPixelSize({15, 15}), (PixelSize{96, 83}));
    EXPECT_EQ(PlayerFormPixelSize({12, 12}), (PixelSize{120, 104}));
    EXPECT_EQ(PlayerFormPixelSize({10, 10}), (PixelSize{144, 124}));  // 124.5 rounds to even
}

TEST(Placement, ExtremeOffsetsDoNotOverflow) {
    const PixelPoint p = PlayerFormPosition(AtPixels(500, 300, 120, 2147483647, 2147483647));
    EXPECT_EQ(p.x, 2147483647);
    EXPECT_EQ(p.y, 2147483647);
}

}  // namespace
}  // namespace tessel::player
