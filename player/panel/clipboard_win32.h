// Plain text onto the clipboard. Another program may hold the clipboard open for a
// moment (clipboard managers do, right after every change): we try a few times over a
// short while, then give up, so the panel never hangs on someone else's lock.
#pragma once

#include <windows.h>

#include <string>

namespace tessel::player {

inline constexpr int kClipboardAttempts = 10;
inline constexpr DWORD kClipboardRetryPause = 30;  // ms between attempts

// Empties the clipboard and puts `text` on it as Unicode text (the system offers the
// code-page text from it). False when the clipboard stayed locked or memory ran out;
// the clipboard is then left as it was.
bool PutClipboardText(HWND owner, const std::wstring& text);

}  // namespace tessel::player
