#include "player/windows/walk_pump_win32.h"

#include <windows.h>

#include "win32/window.h"

namespace tessel::player {

bool LetWindowsAnswerDuringWalk() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return false;
        if (win32::TranslateDialogKeys(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

}  // namespace tessel::player
