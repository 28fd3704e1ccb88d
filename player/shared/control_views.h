// Win32 views of the state-holding controls: each binder makes a real child window
// follow its control object, and the On... functions carry the user's changes back
// into the object (which runs its handler when the value differs).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "player/shared/controls.h"
#include "win32/handle.h"

namespace tessel::player {

// One tool-tip window per form (the form owns it; it goes with the form); tools are
// child windows or rectangles of the form.
class ToolTips {
public:
    void Create(HWND owner);
    // A child window as a tool.
    void SetForWindow(HWND tool, const std::wstring& text);
    // The owner hands this tool's mouse messages over itself (Relay) instead of the
    // tip window subclassing it: under Wine a subclassed list box takes every message
    // slower, and filling it with thousands of entries takes several times as long.
    void RelayFrom(HWND tool);
    void Relay(HWND tool, UINT message, WPARAM wParam, LPARAM lParam) const;
    // A rectangle of the owner (a painted label or image button) as a tool.
    void SetForRect(UINT id, const RECT& rect, const std::wstring& text);
    HWND Handle() const { return tip_.get(); }

private:
    HWND owner_ = nullptr;
    win32::unique_hwnd tip_;
    std::vector<HWND> relayed_;
};

void BindLabel(Label& label, HWND window, ToolTips* tips);
void BindCheckBox(CheckBox& box, HWND window, ToolTips* tips);
void BindScrollBar(ScrollBar& bar, HWND window, ToolTips* tips);
void BindListBox(ListBox& list, HWND window, ToolTips* tips);
void BindComboBox(ComboBox& combo, HWND window, ToolTips* tips);

// The user clicked a check box: it turns on from 0 or 2 and off from 1.
void OnCheckBoxClicked(CheckBox& box);
// WM_HSCROLL from a scroll bar control. Dragging the thumb applies on release only.
void OnScroll(ScrollBar& bar, HWND window, WORD code, int largeChange = 10);
// LBN_SELCHANGE: copy the window's selection into the object.
void OnListSelectionChanged(ListBox& list, HWND window);
// CBN_SELCHANGE.
void OnComboSelectionChanged(ComboBox& combo, HWND window);

}  // namespace tessel::player
