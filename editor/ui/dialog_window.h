// The editor's two dialogs: owned popups with a caption and a system menu, on the
// button face colour, sized by their client area in twips.
#pragma once

#include <windows.h>

#include "editor/ui/metrics.h"
#include "win32/dpi.h"
#include "win32/error_text.h"

namespace listwright {

class DialogWindow : public tessel::win32::ScaledWindow {
protected:
    // False when the window could not be made (reported for a debugger). A menu bar
    // belongs to the window once it exists.
    bool CreateDialogWindow(const wchar_t* className, const wchar_t* caption, HWND owner, POINT topLeft,
                            double widthTwips, double heightTwips, HMENU menuBar = nullptr) {
        const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        RECT r{0, 0, TwipsX(widthTwips), TwipsY(heightTwips)};
        AdjustWindowRectEx(&r, style, menuBar != nullptr, 0);
        try {
            RegisterWindowClass(className, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                LoadIconW(nullptr, IDI_APPLICATION));
            CreateWindowOf(className, caption, style, 0, topLeft.x, topLeft.y, r.right - r.left, r.bottom - r.top,
                           owner, menuBar);
        } catch (const tessel::win32::WideError& e) {
            tessel::win32::DebugReport(e.Text());
            return false;
        }
        return true;
    }
};

}  // namespace listwright
