// The editor's measures on the monitor a window is on: its design in twips at that
// monitor's DPI (design_scale.h holds the rule), the frame around a client area, and
// the controls' font made for that DPI.
#pragma once

#include <windows.h>

#include "editor/core/design_scale.h"

namespace listwright {

inline RECT ToRect(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// The size of a window of this style whose client area is the design's width and
// height in twips, with the frame (caption, borders, menu bar) at the given DPI.
SIZE DesignWindowSize(double widthTwips, double heightTwips, DWORD style, DWORD exStyle, bool menu, int dpi);

// Sizes an existing window to its design at the DPI the system gave it (the monitor it
// was made on) and returns that DPI.
int FitWindowToDesign(HWND window, double widthTwips, double heightTwips);

// The controls' font at a DPI: a Japanese user-interface font of DesignScale's height.
// One per DPI, made at first use and kept for the run.
HFONT UiFont(int dpi);

}  // namespace listwright
