// The editor's two dialogs: owned popups with a caption and a system menu, on the
// button face colour, sized by their client area in twips at the DPI of the monitor
// they open on.
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
        const SIZE size = DesignWindowSize(widthTwips, heightTwips, style, 0, menuBar != nullptr,
                                           tessel::win32::MonitorDpiAt(topLeft));
        try {
            RegisterWindowClass(className, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                                LoadIconW(nullptr, IDI_APPLICATION));
            CreateWindowOf(className, caption, style, 0, topLeft.x, topLeft.y, size.cx, size.cy, owner, menuBar);
        } catch (const tessel::win32::WideError& e) {
            tessel::win32::DebugReport(e.Text());
            return false;
        }
        // The DPI the system gave the window is the one its controls are made for.
        scale_ = DesignScale(FitWindowToDesign(Handle(), widthTwips, heightTwips));
        return true;
    }
    // A control's place from its design, and the controls' font, at the window's DPI.
    RECT Place(double left, double top, double width, double height) const {
        return ToRect(scale_.Rect(left, top, width, height));
    }
    HFONT Font() const { return UiFont(scale_.Dpi()); }

private:
    DesignScale scale_{DesignScale::kDefaultDpi};
};

}  // namespace listwright
