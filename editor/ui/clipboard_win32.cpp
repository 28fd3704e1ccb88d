#include "editor/ui/clipboard_win32.h"

#include <cstring>

#include "editor/ui/win32util.h"

namespace listwright {

bool Win32Clipboard::Open() {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (OpenClipboard(owner_)) return true;
        if (GetTickCount64() - start >= kRetryMilliseconds) return false;
        Sleep(kRetryStepMilliseconds);
    }
}

ClipboardPort::Status Win32Clipboard::SetText(const std::wstring& text) {
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    unique_hglobal memory(GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) {
        ReportLastError(L"GlobalAlloc");
        return Status::Busy;
    }
    void* target = GlobalLock(memory.get());
    if (!target) return Status::Busy;
    std::memcpy(target, text.c_str(), bytes);
    GlobalUnlock(memory.get());

    if (!Open()) return Status::Busy;
    Status status = Status::Busy;
    if (EmptyClipboard() && SetClipboardData(CF_UNICODETEXT, memory.get())) {
        memory.release();  // the clipboard owns it now
        status = Status::Ok;
    } else {
        ReportLastError(L"SetClipboardData");
    }
    CloseClipboard();
    return status;
}

ClipboardPort::Status Win32Clipboard::GetText(std::wstring& text) {
    text.clear();
    if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return Status::NoText;
    if (!Open()) return Status::Busy;
    Status status = Status::NoText;
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            // Stop at the terminating NUL, and never read past the block.
            const SIZE_T limit = GlobalSize(data) / sizeof(wchar_t);
            SIZE_T length = 0;
            while (length < limit && chars[length] != L'\0') ++length;
            text.assign(chars, length);
            GlobalUnlock(data);
            status = Status::Ok;
        }
    }
    CloseClipboard();
    return status;
}

}  // namespace listwright
