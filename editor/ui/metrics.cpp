#include "editor/ui/metrics.h"

#include "common/twips.h"
#include "win32/handle.h"

namespace listwright {
namespace {
const tessel::TwipsPerPixel& Factors() {
    static const tessel::TwipsPerPixel f = tessel::ScreenTwipsPerPixel();
    return f;
}
}  // namespace

int TwipsX(double twips) { return tessel::TwipsToPixels(twips, Factors().x); }
int TwipsY(double twips) { return tessel::TwipsToPixels(twips, Factors().y); }

RECT TwipsRect(double left, double top, double width, double height) {
    const int x = TwipsX(left), y = TwipsY(top);
    return RECT{x, y, x + TwipsX(width), y + TwipsY(height)};
}

HFONT UiFont() {
    static tessel::win32::unique_hfont font(CreateFontW(-TwipsY(180), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                                        SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                                        DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                                        L"MS UI Gothic"));
    return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace listwright
