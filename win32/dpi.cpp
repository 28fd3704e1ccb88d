#include "win32/dpi.h"

#include <iterator>
#include <vector>

namespace tessel::win32 {
namespace {

// Functions of newer systems, looked up so that the programs still start on older
// ones (which then run them at the system DPI). A module every program has loaded
// (user32.dll) is only found; another one (shcore.dll) is loaded from the system folder.
template <typename Function>
Function SystemFunction(const wchar_t* module, const char* name, bool load = false) {
    HMODULE dll = load ? ::LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32) : ::GetModuleHandleW(module);
    FARPROC found = dll ? ::GetProcAddress(dll, name) : nullptr;
    // Through the generic function pointer type: a direct cast between unrelated
    // function types draws a warning.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

template <typename Function>
Function User32Function(const char* name) {
    return SystemFunction<Function>(L"user32.dll", name);
}

bool IsComboBox(HWND window) {
    wchar_t name[16] = {};
    return ::GetClassNameW(window, name, static_cast<int>(std::size(name))) > 0 &&
           ::lstrcmpiW(name, L"ComboBox") == 0;
}

}  // namespace

int SystemDpi() {
    static const auto getDpiForSystem = User32Function<UINT(WINAPI*)()>("GetDpiForSystem");
    if (getDpiForSystem) {
        if (const UINT dpi = getDpiForSystem()) return static_cast<int>(dpi);
    }
    WindowDcGuard screen(nullptr);
    const int dpi = screen.get() ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : kDefaultDpi;
}

int WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window)) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

int MonitorDpiAt(POINT point) {
    // Windows 8.1 and later (shcore.dll); MDT_EFFECTIVE_DPI is 0.
    using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
    static const auto getDpiForMonitor = SystemFunction<GetDpiForMonitorFn>(L"shcore.dll", "GetDpiForMonitor", true);
    HMONITOR monitor = ::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    UINT dpiX = 0, dpiY = 0;
    if (getDpiForMonitor && monitor && SUCCEEDED(getDpiForMonitor(monitor, 0, &dpiX, &dpiY)) && dpiY > 0)
        return static_cast<int>(dpiY);
    return SystemDpi();
}

void AdjustWindowRectForDpi(RECT& rect, DWORD style, bool menu, DWORD exStyle, int dpi) {
    // Windows 10 1607 and later; before it every window has the system's frame.
    static const auto adjustForDpi =
        User32Function<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (!adjustForDpi || !adjustForDpi(&rect, style, menu, exStyle, static_cast<UINT>(dpi)))
        ::AdjustWindowRectEx(&rect, style, menu, exStyle);
}

void ControlScaler::Attach(HWND window) { dpi_ = WindowDpi(window); }

void ControlScaler::DpiChanged(HWND window, WPARAM wParam, LPARAM lParam) {
    const int newDpi = DpiOfChange(wParam);
    const int oldDpi = dpi_;
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    if (newDpi <= 0 || newDpi == oldDpi) {
        if (suggested)
            ::SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                           suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    dpi_ = newDpi;
    auto scale = [&](LONG v) { return ::MulDiv(v, newDpi, oldDpi); };

    std::vector<HWND> children;
    for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);

    // One font for all: the one the controls share (scroll bars and frames have none),
    // grown by the same ratio.
    unique_hfont font;
    for (HWND child : children) {
        HFONT current = reinterpret_cast<HFONT>(::SendMessageW(child, WM_GETFONT, 0, 0));
        LOGFONTW log{};
        if (!current || !::GetObjectW(current, sizeof log, &log)) continue;
        log.lfHeight = scale(log.lfHeight);
        log.lfWidth = scale(log.lfWidth);
        font.reset(::CreateFontIndirectW(&log));
        break;
    }
    for (HWND child : children) {
        RECT r{};
        ::GetWindowRect(child, &r);
        if (IsComboBox(child)) {
            // Its height is that of the list it drops, not of the box that shows.
            RECT dropped{};
            if (::SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)))
                r.bottom = r.top + (dropped.bottom - dropped.top);
        }
        ::MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        if (font && ::SendMessageW(child, WM_GETFONT, 0, 0)) {
            ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        }
        ::SetWindowPos(child, nullptr, scale(r.left), scale(r.top), scale(r.right) - scale(r.left),
                       scale(r.bottom) - scale(r.top), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The previous scaled font is used by nobody now.
    if (font) font_ = std::move(font);
    if (suggested)
        ::SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(window, nullptr, TRUE);
}

}  // namespace tessel::win32
