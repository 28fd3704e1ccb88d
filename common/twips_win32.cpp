#include <windows.h>

#include "common/twips.h"

namespace tessel {

TwipsPerPixel ScreenTwipsPerPixel() {
    // The programs are DPI aware, so this is the system's own setting: 96 DPI (15
    // twips) at 100 %, 192 DPI (7.5 twips) at 200 %.
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) return {};
    const int dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return TwipsPerPixelForDpi(dpiX, dpiY);
}

}  // namespace tessel
