// The system clipboard for the editor: Unicode text. Another program may hold the
// clipboard open for a moment; opening is retried for a short while and then given
// up, so a command never hangs on it.
#pragma once

#include <windows.h>

#include "editor/core/clipboard.h"

namespace listwright {

class Win32Clipboard final : public ClipboardPort {
public:
    explicit Win32Clipboard(HWND owner) : owner_(owner) {}
    void SetOwner(HWND owner) { owner_ = owner; }
    Status SetText(const std::wstring& text) override;
    Status GetText(std::wstring& text) override;

    // How long opening is retried in all.
    static constexpr DWORD kRetryMilliseconds = 500;
    static constexpr DWORD kRetryStepMilliseconds = 20;

private:
    bool Open();
    HWND owner_;
};

}  // namespace listwright
