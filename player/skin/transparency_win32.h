// Window translucency through layered windows. The layered-window call is bound by
// name at run time: systems older than Windows 2000 lack it, and there the windows
// stay opaque and the sliders are locked.
#pragma once

#include <windows.h>

namespace tessel::player {

// True when user32 offers SetLayeredWindowAttributes.
bool LayeredWindowsAvailable();

// Makes `window` a layered window (once; the style is never taken away again, also not
// at 255) and gives it `alpha` unchanged (0 invisible, 255 opaque). Without layered
// windows nothing happens. False when the system refused (the window is gone).
bool SetWindowAlpha(bool layeredAvailable, HWND window, int alpha);

}  // namespace tessel::player
