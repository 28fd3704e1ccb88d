// The keyboard's media keys reaching the running player (media_keys.h says what each
// does). While a medium is open (playing or paused) they are hot keys of the control
// panel's window, so they work from any program and while every window of ours is
// hidden. While the player sits idle it holds none of them: a browser or another
// player started meanwhile must get the keys, not a program with nothing to play. A key that another program has
// taken already cannot be registered; that is no error for the user (the other program
// answers it), but while one of our windows has the focus the key still arrives as an
// application command, and that one we answer.
#pragma once

#include <windows.h>

#include <functional>
#include <iterator>
#include <optional>

#include "player/playback/media_keys.h"

namespace tessel::player {

class MediaKeyHotkeys {
public:
    using Action = std::function<void(MediaKey)>;

    explicit MediaKeyHotkeys(Action act);
    ~MediaKeyHotkeys();
    MediaKeyHotkeys(const MediaKeyHotkeys&) = delete;
    MediaKeyHotkeys& operator=(const MediaKeyHotkeys&) = delete;

    // Registers every media key not held yet as a hot key of `window` (whose thread
    // then gets WM_HOTKEY). A key that cannot be registered is left to WM_APPCOMMAND,
    // silently.
    void Register(HWND window);
    // Gives every registered key back; nothing happens for keys never registered.
    void Unregister();
    bool Registered(MediaKey key) const;

    // A message of one of the player's windows: WM_HOTKEY of one of our keys, or
    // WM_APPCOMMAND of a media key that is not registered, is acted on and taken (its
    // result comes back); everything else is left to the window.
    std::optional<LRESULT> Message(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static constexpr int kKeyCount = static_cast<int>(std::size(kMediaKeys));

    Action act_;
    HWND window_ = nullptr;
    bool registered_[kKeyCount] = {};
};

}  // namespace tessel::player
