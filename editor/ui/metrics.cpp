#include "editor/ui/metrics.h"

#include <map>

#include "win32/dpi.h"
#include "win32/handle.h"

namespace listwright {

SIZE DesignWindowSize(double widthTwips, double heightTwips, DWORD style, DWORD exStyle, bool menu, int dpi) {
    const DesignScale scale(dpi);
    RECT r{0, 0, scale.Pixels(widthTwips), scale.Pixels(heightTwips)};
    tessel::win32::AdjustWindowRectForDpi(r, style, menu, exStyle, scale.Dpi());
    return SIZE{r.right - r.left, r.bottom - r.top};
}

int FitWindowToDesign(HWND window, double widthTwips, double heightTwips) {
    const int dpi = tessel::win32::WindowDpi(window);
    const SIZE size = DesignWindowSize(widthTwips, heightTwips, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)),
                                       static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)),
                                       GetMenu(window) != nullptr, dpi);
    SetWindowPos(window, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return dpi;
}

HFONT UiFont(int dpi) {
    const DesignScale scale(dpi);
    static std::map<int, tessel::win32::unique_hfont> fonts;
    tessel::win32::unique_hfont& font = fonts[scale.Dpi()];
    if (!font) {
        font.reset(CreateFontW(scale.FontHeight(), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                               OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                               L"MS UI Gothic"));
    }
    return font ? font.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

}  // namespace listwright
