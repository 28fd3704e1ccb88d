// The monitors' work areas and the move of a window that reaches none of them
// (on_screen.h has the rule).
#pragma once

#include <windows.h>

#include <vector>

#include "player/shared/llvariable.h"

namespace tessel::player {

// The work area of every monitor of the desktop (the monitor less the taskbar and
// docked bars), in the order the system enumerates them.
std::vector<ScreenRect> MonitorWorkAreas();

// The rectangle `window` should take now: its own when it reaches a work area.
ScreenRect OnScreenRect(HWND window, const std::vector<ScreenRect>& workAreas);

// Moves `window` into the nearest work area when it reaches none; a minimised window
// is left alone (its place is the system's). True if it moved.
bool KeepWindowOnScreen(HWND window);

}  // namespace tessel::player
