// The display scale. Both programs declare per-monitor DPI awareness in their
// manifest, so the system never stretches their windows (a blur at 150 % or 200 %):
// they size themselves from the DPI of the monitor they are on, 96 being 100 %.
#pragma once

#include <windows.h>

#include "win32/handle.h"
#include "win32/window.h"

namespace tessel::win32 {

inline constexpr int kDefaultDpi = 96;

// The system DPI: the scale windows start at (the main monitor's when the session
// began).
int SystemDpi();

// The DPI of the monitor a window is on; the system DPI where the system cannot tell
// a window's own (before Windows 10).
int WindowDpi(HWND window);

// The DPI of the monitor that holds the point (the nearest monitor if none does); the
// system DPI where the system cannot tell a monitor's own (before Windows 8.1).
int MonitorDpiAt(POINT point);

// AdjustWindowRectEx with the frame (caption, borders, menu bar) at the given DPI; at
// the system's where the system cannot tell another (before Windows 10 1607).
void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi);

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
    // The handling of WM_DPICHANGED.
    void DpiChanged(HWND window, WPARAM wParam, LPARAM lParam);

private:
    int dpi_ = kDefaultDpi;
    // The scaled font the controls now use (their original one belongs to the form).
    unique_hfont font_;
};

// A window of standard controls that follows the display scale: WM_DPICHANGED scales
// its controls. The form calls AttachScaler once its controls exist, and hands the
// messages it does not take to ScaledWindow::HandleMessage.
class ScaledWindow : public Window {
protected:
    void AttachScaler() { scaler_.Attach(Handle()); }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_DPICHANGED) return Window::HandleMessage(message, wParam, lParam);
        // Moved to a monitor of another scale: the controls and their font follow.
        scaler_.DpiChanged(Handle(), wParam, lParam);
        return 0;
    }

private:
    ControlScaler scaler_;
};

}  // namespace tessel::win32
