#include "player/shared/on_screen_win32.h"

#include "player/shared/on_screen.h"

namespace tessel::player {

std::vector<ScreenRect> MonitorWorkAreas() {
    std::vector<ScreenRect> areas;
    auto add = [](HMONITOR monitor, HDC, LPRECT, LPARAM data) -> BOOL {
        MONITORINFO info{};
        info.cbSize = sizeof info;
        if (::GetMonitorInfoW(monitor, &info)) {
            const RECT& w = info.rcWork;
            reinterpret_cast<std::vector<ScreenRect>*>(data)->push_back(ScreenRect{w.left, w.top, w.right, w.bottom});
        }
        return TRUE;
    };
    ::EnumDisplayMonitors(nullptr, nullptr, add, reinterpret_cast<LPARAM>(&areas));
    return areas;
}

ScreenRect OnScreenRect(HWND window, const std::vector<ScreenRect>& workAreas) {
    RECT r{};
    if (!::GetWindowRect(window, &r)) return {};
    const ScreenRect now{r.left, r.top, r.right, r.bottom};
    if (::IsIconic(window)) return now;
    return KeepOnScreen(now, workAreas);
}

bool KeepWindowOnScreen(HWND window) {
    RECT r{};
    if (!window || !::GetWindowRect(window, &r)) return false;
    const ScreenRect to = OnScreenRect(window, MonitorWorkAreas());
    if (to.left == r.left && to.top == r.top) return false;
    return ::SetWindowPos(window, nullptr, to.left, to.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

}  // namespace tessel::player
