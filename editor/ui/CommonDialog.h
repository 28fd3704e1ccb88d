// The open and save dialogs of the editor: one object for the whole run, so its
// file-name field keeps the last name chosen in any of them.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace listwright {

class CommonDialog {
public:
    // "name|pattern|..." as the editor writes filters. Nothing if cancelled or failed.
    std::optional<std::wstring> ShowOpen(HWND owner, const wchar_t* title, const wchar_t* filter);
    std::optional<std::wstring> ShowSave(HWND owner, const wchar_t* title, const wchar_t* filter);
    const std::wstring& FileName() const { return fileName_; }

private:
    std::optional<std::wstring> Show(HWND owner, const wchar_t* title, const wchar_t* filter, bool save);
    std::wstring fileName_;
};

}  // namespace listwright
