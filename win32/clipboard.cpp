#include "win32/clipboard.h"

#include <cstring>

#include "win32/error_text.h"
#include "win32/handle.h"

namespace tessel::win32 {
namespace {

bool OpenPatiently(HWND owner) {
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        if (::OpenClipboard(owner)) return true;
        if (::GetTickCount64() - start >= kClipboardPatienceMs) return false;
        ::Sleep(kClipboardRetryStepMs);
    }
}

}  // namespace

bool PutClipboardText(HWND owner, const std::wstring& text) {
    // The memory first: once the clipboard is emptied there is no way back.
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    unique_hglobal block(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!block) {
        DebugReport(LastErrorText(L"GlobalAlloc"));
        return false;
    }
    void* target = ::GlobalLock(block.get());
    if (!target) return false;
    std::memcpy(target, text.c_str(), bytes);
    ::GlobalUnlock(block.get());

    if (!OpenPatiently(owner)) return false;
    bool placed = false;
    if (::EmptyClipboard() && ::SetClipboardData(CF_UNICODETEXT, block.get())) {
        block.release();  // the system's now
        placed = true;
    } else {
        DebugReport(LastErrorText(L"SetClipboardData"));
    }
    ::CloseClipboard();
    return placed;
}

ClipboardRead GetClipboardText(HWND owner, std::wstring& text) {
    text.clear();
    if (!::IsClipboardFormatAvailable(CF_UNICODETEXT)) return ClipboardRead::NoText;
    if (!OpenPatiently(owner)) return ClipboardRead::Busy;
    ClipboardRead read = ClipboardRead::NoText;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(::GlobalLock(data))) {
            // Up to the terminating NUL, and never past the block.
            const SIZE_T limit = ::GlobalSize(data) / sizeof(wchar_t);
            SIZE_T length = 0;
            while (length < limit && chars[length] != L'\0') ++length;
            text.assign(chars, length);
            ::GlobalUnlock(data);
            read = ClipboardRead::Text;
        }
    }
    ::CloseClipboard();
    return read;
}

}  // namespace tessel::win32
