#include "player/playback/video_window_win32.h"

#include <cwchar>
#include <string>

#include "player/shared/on_screen_win32.h"

namespace tessel::player {
namespace {

HWND AsHwnd(WindowId window) { return reinterpret_cast<HWND>(window); }

bool IsVideoClass(HWND window) {
    wchar_t name[32] = {};
    if (::GetClassNameW(window, name, 32) == 0) return false;
    return _wcsicmp(name, kVideoClassMediaFoundation) == 0 || _wcsicmp(name, kVideoClassDirectShow) == 0 ||
           _wcsicmp(name, kVideoClassAvi) == 0;
}

bool OwnedByThisProcess(HWND window) {
    DWORD process = 0;
    return ::GetWindowThreadProcessId(window, &process) != 0 && process == ::GetCurrentProcessId();
}


}  // namespace

bool VideoWindowsWin32::IsVideoWindow(WindowId window) const {
    HWND hwnd = AsHwnd(window);
    return hwnd != nullptr && ::IsWindow(hwnd) && OwnedByThisProcess(hwnd) && IsVideoClass(hwnd);
}

bool VideoWindowsWin32::Rect(WindowId window, ScreenRect& rect) const {
    if (!IsVideoWindow(window)) return false;
    RECT r{};
    if (!::GetWindowRect(AsHwnd(window), &r)) return false;
    rect = ScreenRect{r.left, r.top, r.right, r.bottom};
    return true;
}

void VideoWindowsWin32::Resize(WindowId window, int left, int top, int width, int height) {
    if (!IsVideoWindow(window)) return;
    // A minimised or maximised window keeps its restored size for later; the size
    // asked for is meant to show now.
    HWND hwnd = AsHwnd(window);
    if (::IsIconic(hwnd) || ::IsZoomed(hwnd)) ::ShowWindow(hwnd, SW_RESTORE);
    ::SetWindowPos(hwnd, HWND_TOPMOST, left, top, width, height, SWP_NOZORDER);
    KeepWindowOnScreen(hwnd);
}

void VideoWindowsWin32::Show(WindowId window, DisplayAction action) {
    if (!IsVideoWindow(window)) return;
    int command = -1;
    switch (action) {
        case DisplayAction::Restore: command = SW_RESTORE; break;
        case DisplayAction::Minimize: command = SW_MINIMIZE; break;
        case DisplayAction::Maximize: command = SW_MAXIMIZE; break;
        case DisplayAction::Hide: command = SW_HIDE; break;
        default: return;
    }
    ::ShowWindow(AsHwnd(window), command);
}

void VideoWindowsWin32::MakeTopmost(WindowId window) {
    if (!IsVideoWindow(window)) return;
    ::SetWindowPos(AsHwnd(window), HWND_TOPMOST, 1, 1, 1, 1, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

WindowId VideoWindowsWin32::Find(const std::wstring& windowClass, const std::wstring& title) {
    // FindWindowW finds the first match of any process; walk them all to find ours.
    HWND window = nullptr;
    while ((window = ::FindWindowExW(nullptr, window, windowClass.c_str(), title.c_str())) != nullptr) {
        if (OwnedByThisProcess(window)) return reinterpret_cast<WindowId>(window);
    }
    return 0;
}

}  // namespace tessel::player
