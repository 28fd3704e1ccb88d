#include "win32/menus.h"

#include "win32/error_text.h"

namespace tessel::win32 {
namespace {

unique_hmenu Fill(unique_hmenu menu, std::span<const MenuEntry> entries) {
    if (!menu) {
        DebugReport(LastErrorText(L"CreateMenu"));
        return menu;
    }
    for (const MenuEntry& e : entries) {
        BOOL added;
        if (!e.caption) {
            added = ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        } else if (e.submenu) {
            added = ::AppendMenuW(menu.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(e.submenu), e.caption);
        } else {
            added = ::AppendMenuW(menu.get(), MF_STRING, e.id, e.caption);
        }
        if (!added) DebugReport(LastErrorText(L"AppendMenu"));
    }
    return menu;
}

}  // namespace

unique_hmenu BuildPopupMenu(std::span<const MenuEntry> entries) {
    return Fill(unique_hmenu(::CreatePopupMenu()), entries);
}

unique_hmenu BuildMenuBar(std::span<const MenuEntry> entries) { return Fill(unique_hmenu(::CreateMenu()), entries); }

void ShowPopupMenu(HMENU menu, HWND owner, LPARAM screenPoint) {
    POINT at{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    if (screenPoint == -1) ::GetCursorPos(&at);
    ::SetForegroundWindow(owner);
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    // The menu's loop ends properly only after one more message to the owner.
    ::PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace tessel::win32
