// Windows that paint all of themselves (the skinned windows), and what their painting
// shares.
#pragma once

#include <windows.h>

#include "win32/window.h"

namespace tessel::win32 {

// WM_PAINT is drawn into a bitmap first and copied in one go (no flicker), WM_PRINTCLIENT
// straight into the DC it brings, and the background is never erased: everything
// through the one PaintContent.
class PaintedWindow : public Window {
public:
    // Paints the whole client area into `dc`.
    virtual void PaintContent(HDC dc) = 0;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// Draws the top-left width x height of `bitmap` at (x, y); false when no memory DC
// could be had for it (nothing drawn).
bool DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height);

// Fills `area` one row at a time in colour(t), t running from 0 at the top towards 255
// at the bottom: the plain face of a skinned window that has no picture.
void FillRows(HDC dc, const RECT& area, COLORREF (*colour)(int t));

}  // namespace tessel::win32
