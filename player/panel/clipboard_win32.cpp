#include "player/panel/clipboard_win32.h"

#include <cstring>

namespace tessel::player {

bool PutClipboardText(HWND owner, const std::wstring& text) {
    // The memory first: once the clipboard is emptied there is no way back.
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return false;
    void* target = ::GlobalLock(block);
    if (!target) {
        ::GlobalFree(block);
        return false;
    }
    std::memcpy(target, text.c_str(), bytes);
    ::GlobalUnlock(block);

    bool open = false;
    for (int attempt = 0; attempt < kClipboardAttempts && !open; ++attempt) {
        if (attempt > 0) ::Sleep(kClipboardRetryPause);
        open = ::OpenClipboard(owner) != FALSE;
    }
    if (!open) {
        ::GlobalFree(block);
        return false;
    }
    bool placed = false;
    if (::EmptyClipboard()) placed = ::SetClipboardData(CF_UNICODETEXT, block) != nullptr;
    ::CloseClipboard();
    // Once placed, the block belongs to the system.
    if (!placed) ::GlobalFree(block);
    return placed;
}

}  // namespace tessel::player
