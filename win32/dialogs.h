// CommonDialog: the open and save dialogs over GetOpenFileNameW/GetSaveFileNameW, with
// the properties of the common dialog control the programs were designed around. One
// object keeps FileName from one dialog to the next unless its owner clears it.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

namespace tessel::win32 {

class CommonDialog {
public:
    // OFN_* flags; OFN_EXPLORER is always added.
    DWORD Flags = 0;
    // "name|pattern|name|pattern|", as the control takes it.
    std::wstring Filter;
    std::wstring DialogTitle;
    // The name the dialog starts with, and afterwards the one chosen.
    std::wstring FileName;

    // False when cancelled or failed (FileName is then as it was).
    bool ShowOpen(HWND owner);
    bool ShowSave(HWND owner);

private:
    bool Show(HWND owner, bool save);
};

}  // namespace tessel::win32
