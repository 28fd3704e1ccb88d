// Unicode text on the system clipboard.
//
// Another program may hold the clipboard open for a moment (clipboard managers do,
// right after every change). Both directions try to open it for up to
// kClipboardPatienceMs, kClipboardRetryStepMs apart, and then give up, so a command
// never hangs on someone else's lock; the caller tells the user that the clipboard was
// busy. Half a second waits out every hold seen in practice and is still short enough
// to pass for the command's own time.
#pragma once

#include <windows.h>

#include <string>

namespace tessel::win32 {

inline constexpr DWORD kClipboardPatienceMs = 500;
inline constexpr DWORD kClipboardRetryStepMs = 20;

// Empties the clipboard and puts `text` on it (the system offers the code-page text
// from it). False when the clipboard stayed locked or memory ran out; the clipboard
// is then left as it was.
bool PutClipboardText(HWND owner, const std::wstring& text);

enum class ClipboardRead { Text, NoText, Busy };
// The clipboard's Unicode text (empty unless Text comes back).
ClipboardRead GetClipboardText(HWND owner, std::wstring& text);

}  // namespace tessel::win32
