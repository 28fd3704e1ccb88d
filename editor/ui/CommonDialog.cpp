#include "editor/ui/CommonDialog.h"

#include <commdlg.h>

#include <algorithm>

#include <vector>

namespace listwright {

std::optional<std::wstring> CommonDialog::ShowOpen(HWND owner, const wchar_t* title, const wchar_t* filter) {
    return Show(owner, title, filter, false);
}

std::optional<std::wstring> CommonDialog::ShowSave(HWND owner, const wchar_t* title, const wchar_t* filter) {
    return Show(owner, title, filter, true);
}

std::optional<std::wstring> CommonDialog::Show(HWND owner, const wchar_t* title, const wchar_t* filter,
                                               bool save) {
    // The platform wants the filter's parts NUL-separated and ended by two NULs.
    std::wstring filterParts(filter);
    for (wchar_t& c : filterParts) {
        if (c == L'|') c = L'\0';
    }
    filterParts.push_back(L'\0');
    filterParts.push_back(L'\0');

    std::vector<wchar_t> buffer(32768, L'\0');
    fileName_.copy(buffer.data(), std::min(fileName_.size(), buffer.size() - 1));

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filterParts.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = title;
    // Read-only box hidden; no extension added, no overwrite question of the dialog's
    // own (the editor asks itself), the chosen file need not exist; and the process's
    // current folder stays where it was, since relative entries resolve against it.
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_NOCHANGEDIR;
    const BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return std::nullopt;
    fileName_.assign(buffer.data());
    return fileName_;
}

}  // namespace listwright
