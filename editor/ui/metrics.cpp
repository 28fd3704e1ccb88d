#include "editor/ui/metrics.h"

#include <map>

#include "win32/dpi.h"
#include "win32/handle.h"

namespace listwright {
namespace {

// Functions of newer systems, looked up so that the editor still starts without them.
template <typename Function>
Function SystemFunction(const wchar_t* module, const char* name, bool load) {
    HMODULE dll = load ? LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32) : GetModuleHandleW(module);
    FARPROC found = dll ? GetProcAddress(dll, name) : nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

}  // namespace

int MonitorDpiAt(POINT point) {
    // Windows 8.1 and later (shcore.dll); MDT_EFFECTIVE_DPI is 0.
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpiForMonitor = SystemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor", true);
    HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    UINT dpiX = 0, dpiY = 0;
    if (getDpiForMonitor && monitor && SUCCEEDED(getDpiForMonitor(monitor, 0, &dpiX, &dpiY)) && dpiY > 0)
        return static_cast<int>(dpiY);
    return tessel::win32::SystemDpi();
}

SIZE DesignWindowSize(double widthTwips, double heightTwips, DWORD style, DWORD exStyle, bool menu, int dpi) {
    // Windows 10 1607 and later; before it every window has the system's frame.
    using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = SystemFunction<AdjustForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi", false);
    const DesignScale scale(dpi);
    RECT r{0, 0, scale.Pixels(widthTwips), scale.Pixels(heightTwips)};
    if (!adjustForDpi || !adjustForDpi(&r, style, menu, exStyle, static_cast<UINT>(scale.Dpi())))
        AdjustWindowRectEx(&r, style, menu, exStyle);
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
