#include "player/skin/placement.h"

namespace tessel::player {

PixelPoint PlayerFormPosition(const PlacementInput& in) {
    // The offsets are whole pixels added before rounding, so only the twips part can
    // carry a fraction (a half pixel at factors other than 15).
    const double x = (in.skinLeft - in.playerWidth) / in.factors.x + in.playerOffsetX;
    const double y = (in.skinTop + in.skinHeight - in.playerHeight) / in.factors.y + in.playerOffsetY;
    return {RoundHalfEven(x), RoundHalfEven(y)};
}

PixelSize PlayerFormPixelSize(TwipsPerPixel factors) {
    return {TwipsToPixels(kPlayerFormWidthTwips, factors.x), TwipsToPixels(kPlayerFormHeightTwips, factors.y)};
}

}  // namespace tessel::player
