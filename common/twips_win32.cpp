#include <windows.h>

#include "common/twips.h"

namespace tessel {

TwipsPerPixel ScreenTwipsPerPixel() {
    // The programs declare no DPI awareness, so this is 96 DPI (15 twips) unless the
    // system runs at another setting and scales us.
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return {};
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return TwipsPerPixelForDpi(dpiX, dpiY);
}

}  // namespace tessel
