// A skinned window of the player: painted from its skin picture, and closed only by
// ending the player (Alt+F4 on it, or a close request from outside, ends it properly:
// the medium closed, the settings saved, the tray icon removed).
#pragma once

#include <windows.h>

#include "player/shared/window_hosts.h"
#include "win32/paint.h"

namespace tessel::player {

class PlayerWindow : public win32::PaintedWindow {
protected:
    explicit PlayerWindow(WindowHost& host) : windowHost_(host) {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        // The media keys' application commands reach whichever window has the focus.
        if (auto taken = windowHost_.MediaKeyMessage(message, wParam, lParam)) return *taken;
        if (message != WM_CLOSE) return PaintedWindow::HandleMessage(message, wParam, lParam);
        windowHost_.Shutdown();
        return 0;
    }

private:
    WindowHost& windowHost_;
};

}  // namespace tessel::player
