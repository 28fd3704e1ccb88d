// Twips (1/1440 inch) and pixels. Window designs are in twips; windows are placed in
// pixels; every fractional value becomes an integer by rounding half to even.
#pragma once

#include <cstdint>

namespace tessel {

// Nearest integer, ties to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2).
// Values beyond the 32-bit range are clamped to it.
std::int32_t RoundHalfEven(double value);

struct TwipsPerPixel {
    double x = 15.0;  // 1440 / horizontal DPI
    double y = 15.0;  // 1440 / vertical DPI
};

TwipsPerPixel TwipsPerPixelForDpi(int dpiX, int dpiY);
std::int32_t TwipsToPixels(double twips, double twipsPerPixel);
double PixelsToTwips(double pixels, double twipsPerPixel);

#ifdef _WIN32
// The screen's factors at the system DPI (the programs are DPI aware: at 200 % a pixel
// is 7.5 twips).
TwipsPerPixel ScreenTwipsPerPixel();
#endif

}  // namespace tessel
