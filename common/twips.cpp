#include "common/twips.h"

#include <cmath>
#include <limits>

namespace tessel {

std::int32_t RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kMax = std::numeric_limits<std::int32_t>::max();
    constexpr double kMin = std::numeric_limits<std::int32_t>::min();
    if (value >= kMax) return std::numeric_limits<std::int32_t>::max();
    if (value <= kMin) return std::numeric_limits<std::int32_t>::min();
    const double floorValue = std::floor(value);
    const double fraction = value - floorValue;
    double result = floorValue;
    if (fraction > 0.5) {
        result = floorValue + 1.0;
    } else if (fraction == 0.5) {
        // A tie goes to the even neighbour.
        result = std::fmod(floorValue, 2.0) == 0.0 ? floorValue : floorValue + 1.0;
    }
    return static_cast<std::int32_t>(result);
}

TwipsPerPixel TwipsPerPixelForDpi(int dpiX, int dpiY) {
    TwipsPerPixel t;
    if (dpiX > 0) t.x = 1440.0 / dpiX;
    if (dpiY > 0) t.y = 1440.0 / dpiY;
    return t;
}

std::int32_t TwipsToPixels(double twips, double twipsPerPixel) {
    return RoundHalfEven(twips / twipsPerPixel);
}

double PixelsToTwips(double pixels, double twipsPerPixel) { return pixels * twipsPerPixel; }

}  // namespace tessel
