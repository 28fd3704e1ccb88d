// tesselplay: the entry point runs StartUp and then lives on window events.
#include <windows.h>

#include <memory>

#include "player/playback/mmc/media_layers_win32.h"
#include "player/startup/Initialize.h"
#include "win32/window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // An existence test on an empty card reader or disc drive (a list line, a dropped
    // path) fails quietly instead of raising the system's "no disk" box, once per line.
    // The editor started from the panel inherits the mode.
    ::SetErrorMode(::GetErrorMode() | SEM_FAILCRITICALERRORS);
    tessel::player::StartOptions options;
    options.makeDevice = [](HWND) -> std::unique_ptr<tessel::MediaDevice> {
        return tessel::MakePlayerMediaDevice();
    };
    // Lives for the whole process and is never destroyed: Shutdown ends the process
    // from inside a handler, and nothing must run after that.
    auto* app = new tessel::player::PlayerApp(std::move(options));
    if (!app->StartUp()) return 0;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        // The control panel's Tab and arrow keys.
        if (tessel::win32::TranslateDialogKeys(msg)) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
