#include "editor/core/design_scale.h"

#include "common/twips.h"

namespace listwright {

int DesignScale::Pixels(double twips) const {
    return tessel::TwipsToPixels(twips, tessel::TwipsPerPixelForDpi(dpi_, dpi_).x);
}

PixelRect DesignScale::Rect(double left, double top, double width, double height) const {
    const int x = Pixels(left), y = Pixels(top);
    return PixelRect{x, y, x + Pixels(width), y + Pixels(height)};
}

int DesignScale::FontHeight() const { return -Pixels(180); }

}  // namespace listwright
