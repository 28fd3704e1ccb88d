// The display scale. Both programs declare per-monitor DPI awareness in their
// manifest, so the system never stretches their windows (a blur at 150 % or 200 %):
// they size themselves from the DPI of the monitor they are on, 96 being 100 %.
#pragma once

#include <windows.h>

#include "win32/handle.h"

namespace tessel::win32 {

inline constexpr int kDefaultDpi = 96;

// The system DPI: the scale windows start at (the main monitor's when the session
// began).
int SystemDpi();

// The DPI of the monitor a window is on; the system DPI where the system cannot tell
// a window's own (before Windows 10).
int WindowDpi(HWND window);

// The new DPI that WM_DPICHANGED brings (across and down are the same on every
// monitor Windows knows).
inline int DpiOfChange(WPARAM wParam) { return HIWORD(wParam); }

// A window of standard controls moved to a monitor of another scale (WM_DPICHANGED):
// it takes the rectangle the system suggests, and every child control's place and size
// and the controls' font grow or shrink by the new DPI over the old. The window's own
// layout code may then run again on WM_SIZE as usual.
class ControlScaler {
public:
    // The DPI the window's controls were made for.
    void Attach(HWND window);
    int Dpi() const { return dpi_; }
    // The handling of WM_DPICHANGED.
    void DpiChanged(HWND window, WPARAM wParam, LPARAM lParam);

private:
    int dpi_ = kDefaultDpi;
    // The scaled font the controls now use (their original one belongs to the form).
    unique_hfont font_;
};

}  // namespace tessel::win32
