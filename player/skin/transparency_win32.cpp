#include "player/skin/transparency_win32.h"

namespace tessel::player {
namespace {

using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

// Looked up once: user32 stays loaded for the life of any window program, so the
// address found stays valid.
SetLayeredFn LookUpSetLayered() {
    static const SetLayeredFn found = [] {
        HMODULE user32 = ::GetModuleHandleW(L"user32");
        if (!user32) return SetLayeredFn{};
        return reinterpret_cast<SetLayeredFn>(
            reinterpret_cast<void*>(::GetProcAddress(user32, "SetLayeredWindowAttributes")));
    }();
    return found;
}

}  // namespace

bool LayeredWindowsAvailable() {
    HMODULE user32 = ::LoadLibraryW(L"user32");
    if (!user32) return false;
    const bool found = ::GetProcAddress(user32, "SetLayeredWindowAttributes") != nullptr;
    ::FreeLibrary(user32);
    return found;
}

bool SetWindowAlpha(bool layeredAvailable, HWND window, int alpha) {
    if (!layeredAvailable) return true;
    SetLayeredFn setLayered = LookUpSetLayered();
    if (!setLayered || !::IsWindow(window)) return false;
    const LONG_PTR style = ::GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (!(style & WS_EX_LAYERED)) ::SetWindowLongPtrW(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
    const BYTE value = static_cast<BYTE>(alpha < 0 ? 0 : alpha > 255 ? 255 : alpha);
    return setLayered(window, 0, value, LWA_ALPHA) != FALSE;
}

}  // namespace tessel::player
