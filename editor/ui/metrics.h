// The editor's measures: twips to pixels at the screen's factors, and the font of
// every control.
#pragma once

#include <windows.h>

namespace listwright {

// Pixels for a horizontal and a vertical measure in twips, at the screen's factors.
int TwipsX(double twips);
int TwipsY(double twips);
// A control's place in pixels from its design in twips; each measure is converted on
// its own, as the design gives them.
RECT TwipsRect(double left, double top, double width, double height);

// The font of every control of the editor (a Japanese user-interface font).
HFONT UiFont();

}  // namespace listwright
