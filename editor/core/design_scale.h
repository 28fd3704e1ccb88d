// The editor's windows are designed in twips (1/1440 inch). On a monitor of a given
// DPI a pixel is 1440 / DPI twips, so the same design is 1:1 at 96 DPI (100 %) and
// twice as many pixels at 192 DPI (200 %); the controls' font grows with it. Each
// window takes the DPI of the monitor it opens on, not the one the session began with.
#pragma once

namespace listwright {

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

class DesignScale {
public:
    static constexpr int kDefaultDpi = 96;
    // A DPI the system could not tell (0 or less) is taken as 96.
    explicit DesignScale(int dpi) : dpi_(dpi > 0 ? dpi : kDefaultDpi) {}
    int Dpi() const { return dpi_; }
    // A measure of the design in pixels, rounded half to even.
    int Pixels(double twips) const;
    // A control's place from its design; each measure is converted on its own, as the
    // design gives them.
    PixelRect Rect(double left, double top, double width, double height) const;
    // The controls' font: 9 points (180 twips) of character height, given as a
    // negative height as fonts are asked for by character height.
    int FontHeight() const;

private:
    int dpi_;
};

}  // namespace listwright
