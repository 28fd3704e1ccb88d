// Menus described by tables, and the popup menu at the mouse.
#pragma once

#include <windows.h>

#include <span>

#include "win32/handle.h"

namespace tessel::win32 {

// One line of a menu: a command (id and caption), a separator (no caption), or a
// submenu (caption and `submenu`, which then belongs to the menu it is put in).
struct MenuEntry {
    UINT id = 0;
    const wchar_t* caption = nullptr;
    HMENU submenu = nullptr;
};

// A popup menu, or a menu bar, holding the entries in their order. Empty (reported for
// a debugger) when the system makes no menu; an entry it refuses is left out.
unique_hmenu BuildPopupMenu(std::span<const MenuEntry> entries);
unique_hmenu BuildMenuBar(std::span<const MenuEntry> entries);

// Opens a popup menu whose commands go to `owner` as WM_COMMAND, at the point of a
// WM_CONTEXTMENU's lParam, or at the mouse for -1 (the keyboard's menu key, or a
// popup of a click). The owner is made the foreground window first: otherwise the
// menu does not close when the user clicks elsewhere (the notification-area icon's
// menu in particular).
void ShowPopupMenu(HMENU menu, HWND owner, LPARAM screenPoint = -1);
void ShowPopupMenu(HMENU menu, HWND owner, POINT screenPoint);

// A WM_CONTEXTMENU that the keyboard raised (Shift+F10, the menu key) carries no point.
bool ContextMenuFromKeyboard(LPARAM screenPoint);

// What a key message means to a control with a menu of its own: Shift+F10 and the
// menu key open it; their other halves must not reach the control either, or the
// system would open the menu bar (F10) or raise the menu a second time.
enum class MenuKey { None, Open, Swallow };
MenuKey ContextMenuKey(UINT message, WPARAM key, bool shiftDown);

// Where a list box's menu opens from the keyboard: at the lower left of the entry with
// the focus, kept inside the list's visible part, so it hangs under what it acts on;
// at the list's top left when it has no entry. Screen coordinates.
POINT ListEntryMenuPoint(HWND listBox);

}  // namespace tessel::win32
