#include "player/playback/media_key_hotkeys_win32.h"

#include <iterator>
#include <utility>

namespace tessel::player {
namespace {

// Hot key numbers of our own (applications own 0x0000-0xBFFF), one per media key in
// the order of kMediaKeys.
constexpr int kFirstHotKeyId = 0x7E50;

int IndexOf(MediaKey key) {
    for (int i = 0; i < static_cast<int>(std::size(kMediaKeys)); ++i)
        if (kMediaKeys[i] == key) return i;
    return -1;
}

}  // namespace

MediaKeyHotkeys::MediaKeyHotkeys(Action act) : act_(std::move(act)) {}

MediaKeyHotkeys::~MediaKeyHotkeys() { Unregister(); }

void MediaKeyHotkeys::Register(HWND window) {
    if (window != window_) Unregister();
    window_ = window;
    for (int i = 0; i < kKeyCount; ++i) {
        // A key held already stays held (giving it back first would let another
        // program take it in between); one that another program held last time is
        // tried again, it may have been given back since.
        if (registered_[i]) continue;
        // No repeats: a held Play/Pause key must not toggle on and off.
        registered_[i] = ::RegisterHotKey(window, kFirstHotKeyId + i, MOD_NOREPEAT,
                                          static_cast<UINT>(VirtualKeyOf(kMediaKeys[i]))) != FALSE;
    }
}

void MediaKeyHotkeys::Unregister() {
    for (int i = 0; i < kKeyCount; ++i) {
        if (registered_[i]) ::UnregisterHotKey(window_, kFirstHotKeyId + i);
        registered_[i] = false;
    }
    window_ = nullptr;
}

bool MediaKeyHotkeys::Registered(MediaKey key) const {
    const int i = IndexOf(key);
    return i >= 0 && registered_[i];
}

std::optional<LRESULT> MediaKeyHotkeys::Message(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY) {
        const INT_PTR i = static_cast<INT_PTR>(wParam) - kFirstHotKeyId;
        if (i < 0 || i >= kKeyCount || !registered_[i]) return std::nullopt;
        if (act_) act_(kMediaKeys[i]);
        return 0;
    }
    if (message == WM_APPCOMMAND) {
        const std::optional<MediaKey> key = MediaKeyOfAppCommand(GET_APPCOMMAND_LPARAM(lParam));
        // A registered key was answered as a hot key already; the command the
        // system may make of the same key press must not act a second time.
        if (!key || Registered(*key)) return std::nullopt;
        if (act_) act_(*key);
        return TRUE;
    }
    return std::nullopt;
}

}  // namespace tessel::player
