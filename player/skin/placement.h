// Where the body window goes: against the skin window's lower-left corner, moved by the
// skin's offsets. Sizes and positions of the windows are in twips; the result is the
// body window's top-left corner in screen pixels.
#pragma once

#include <cstdint>

#include "common/twips.h"

namespace tessel::player {

// The body window's design size; it does not change with the skin.
inline constexpr double kPlayerFormWidthTwips = 1440;
inline constexpr double kPlayerFormHeightTwips = 1245;

struct PlacementInput {
    double skinLeft = 0, skinTop = 0, skinHeight = 0;  // twips
    double playerWidth = kPlayerFormWidthTwips;         // twips
    double playerHeight = kPlayerFormHeightTwips;       // twips
    std::int32_t playerOffsetX = 0, playerOffsetY = 0;  // pixels
    TwipsPerPixel factors;
};

struct PixelPoint {
    std::int32_t x = 0, y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

// x = (skin left - player width) / horizontal factor + offset x, y = (skin top + skin
// height - player height) / vertical factor + offset y, each rounded half to even.
// With offsets (0, 0) the body window's lower-right corner touches the skin window's
// lower-left corner.
PixelPoint PlayerFormPosition(const PlacementInput& in);

struct PixelSize {
    std::int32_t width = 0, height = 0;
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

// The body window's size in pixels for the screen's factors: the scan size of p_mask.bmp.
PixelSize PlayerFormPixelSize(TwipsPerPixel factors);

}  // namespace tessel::player
