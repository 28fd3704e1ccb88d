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
    if (ContextMenuFromKeyboard(screenPoint)) ::GetCursorPos(&at);
    ShowPopupMenu(menu, owner, at);
}

bool ContextMenuFromKeyboard(LPARAM screenPoint) {
    // Both halves -1, whatever the width of LPARAM the sender filled.
    return static_cast<short>(LOWORD(screenPoint)) == -1 && static_cast<short>(HIWORD(screenPoint)) == -1;
}

MenuKey ContextMenuKey(UINT message, WPARAM key, bool shiftDown) {
    const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    const bool up = message == WM_KEYUP || message == WM_SYSKEYUP;
    if (!down && !up) return MenuKey::None;
    if (key == VK_APPS) return down ? MenuKey::Open : MenuKey::Swallow;
    if (key == VK_F10 && shiftDown) return down ? MenuKey::Open : MenuKey::Swallow;
    return MenuKey::None;
}

POINT ListEntryMenuPoint(HWND listBox) {
    RECT client{};
    ::GetClientRect(listBox, &client);
    POINT at{client.left, client.top};
    const LRESULT caret = ::SendMessageW(listBox, LB_GETCARETINDEX, 0, 0);
    RECT item{};
    if (caret != LB_ERR && ::SendMessageW(listBox, LB_GETCOUNT, 0, 0) > caret &&
        ::SendMessageW(listBox, LB_GETITEMRECT, static_cast<WPARAM>(caret), reinterpret_cast<LPARAM>(&item)) !=
            LB_ERR) {
        at.x = item.left;
        at.y = item.bottom;
        if (at.y < client.top) at.y = client.top;
        if (at.y > client.bottom) at.y = client.bottom;
    }
    ::ClientToScreen(listBox, &at);
    return at;
}

void ShowPopupMenu(HMENU menu, HWND owner, POINT at) {
    ::SetForegroundWindow(owner);
    ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    // The menu's loop ends properly only after one more message to the owner.
    ::PostMessageW(owner, WM_NULL, 0, 0);
}

}  // namespace tessel::win32
