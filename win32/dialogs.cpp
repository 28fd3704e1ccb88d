#include "win32/dialogs.h"

#include <algorithm>
#include <vector>

namespace tessel::win32 {

bool CommonDialog::ShowOpen(HWND owner) { return Show(owner, false); }
bool CommonDialog::ShowSave(HWND owner) { return Show(owner, true); }

bool CommonDialog::Show(HWND owner, bool save) {
    // The control's "name|pattern|" becomes the NUL-separated pairs of the dialog,
    // ended by two NULs.
    std::vector<wchar_t> filter(Filter.begin(), Filter.end());
    for (wchar_t& c : filter) {
        if (c == L'|') c = L'\0';
    }
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    std::vector<wchar_t> file(32768, L'\0');
    FileName.copy(file.data(), std::min<std::size_t>(FileName.size(), file.size() - 1));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.data();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = DialogTitle.empty() ? nullptr : DialogTitle.c_str();
    ofn.Flags = Flags | OFN_EXPLORER;
    if (!(save ? ::GetSaveFileNameW(&ofn) : ::GetOpenFileNameW(&ofn))) return false;
    FileName = file.data();
    return true;
}

}  // namespace tessel::win32
