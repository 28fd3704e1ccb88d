// Windows that would come back where no screen is: a monitor unplugged, the resolution
// lowered, a docking station removed. The skin window has no caption to grab from the
// keyboard's window menu, so a window of ours off every screen is lost to most users.
#pragma once

#include <vector>

#include "player/shared/llvariable.h"

namespace tessel::player {

// Where a window with the screen rectangle `window` goes. A window that shares at least
// one pixel with a monitor's work area stays where it is (also at negative coordinates,
// which a monitor left of or above the main one has), as does any window when no
// monitor is known. Otherwise it moves into the work area nearest to it, no further
// than needed; one larger than that area gets its left or top edge on the area's.
ScreenRect KeepOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& workAreas);

}  // namespace tessel::player
