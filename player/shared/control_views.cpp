#include "player/shared/control_views.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "win32/window.h"

namespace tessel::player {

void ToolTips::Create(HWND owner) {
    owner_ = owner;
    tip_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, ::GetModuleHandleW(nullptr), nullptr));
}

void ToolTips::SetForWindow(HWND tool, const std::wstring& text) {
    if (!tip_) return;
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    const bool relayed = std::find(relayed_.begin(), relayed_.end(), tool) != relayed_.end();
    info.uFlags = TTF_IDISHWND | (relayed ? 0u : TTF_SUBCLASS);
    info.hwnd = owner_;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(tip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    if (!text.empty()) ::SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void ToolTips::RelayFrom(HWND tool) {
    if (std::find(relayed_.begin(), relayed_.end(), tool) == relayed_.end()) relayed_.push_back(tool);
}

void ToolTips::Relay(HWND tool, UINT message, WPARAM wParam, LPARAM lParam) const {
    if (!tip_ || message < WM_MOUSEFIRST || message > WM_MOUSELAST) return;
    MSG msg{tool, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()), {}};
    ::GetCursorPos(&msg.pt);
    ::SendMessageW(tip_.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
}

void ToolTips::SetForRect(UINT id, const RECT& rect, const std::wstring& text) {
    if (!tip_) return;
    TOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = owner_;
    info.uId = id;
    info.rect = rect;
    info.lpszText = const_cast<wchar_t*>(text.c_str());
    ::SendMessageW(tip_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    if (!text.empty()) ::SendMessageW(tip_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

namespace {

// Enabled and tool tip are the same for every kind.
bool CommonChange(Control& control, HWND window, ToolTips* tips, ControlChange change) {
    switch (change) {
        case ControlChange::Enabled:
            ::EnableWindow(window, control.Enabled());
            return true;
        case ControlChange::ToolTip:
            if (tips) tips->SetForWindow(window, control.ToolTipText());
            return true;
        default:
            return false;
    }
}

void ApplyCommon(Control& control, HWND window, ToolTips* tips) {
    ::EnableWindow(window, control.Enabled());
    if (tips && !control.ToolTipText().empty()) tips->SetForWindow(window, control.ToolTipText());
}

void PushScrollInfo(const ScrollBar& bar, HWND window) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_POS;
    si.nMin = bar.Min();
    si.nMax = bar.Max();
    si.nPos = bar.Value();
    ::SetScrollInfo(window, SB_CTL, &si, TRUE);
}

}  // namespace

void BindLabel(Label& label, HWND window, ToolTips* tips) {
    ::SetWindowTextW(window, label.Caption().c_str());
    ApplyCommon(label, window, tips);
    label.view = [&label, window, tips](ControlChange change, std::size_t) {
        if (CommonChange(label, window, tips, change)) return;
        ::SetWindowTextW(window, label.Caption().c_str());
    };
}

void BindCheckBox(CheckBox& box, HWND window, ToolTips* tips) {
    ::SendMessageW(window, BM_SETCHECK, static_cast<WPARAM>(box.Value()), 0);
    ApplyCommon(box, window, tips);
    box.view = [&box, window, tips](ControlChange change, std::size_t) {
        if (CommonChange(box, window, tips, change)) return;
        ::SendMessageW(window, BM_SETCHECK, static_cast<WPARAM>(box.Value()), 0);
    };
}

void BindScrollBar(ScrollBar& bar, HWND window, ToolTips* tips) {
    PushScrollInfo(bar, window);
    ApplyCommon(bar, window, tips);
    bar.view = [&bar, window, tips](ControlChange change, std::size_t) {
        if (CommonChange(bar, window, tips, change)) return;
        PushScrollInfo(bar, window);
    };
}

void BindListBox(ListBox& list, HWND window, ToolTips* tips) {
    {
        win32::RedrawOff quiet(window);
        ::SendMessageW(window, LB_RESETCONTENT, 0, 0);
        for (const std::wstring& item : list.Items()) {
            ::SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
    }
    ApplyCommon(list, window, tips);
    list.view = [&list, window, tips](ControlChange change, std::size_t index) {
        if (CommonChange(list, window, tips, change)) return;
        switch (change) {
            case ControlChange::ItemAdded:
                ::SendMessageW(window, LB_INSERTSTRING, index,
                               reinterpret_cast<LPARAM>(list.List(index).c_str()));
                break;
            case ControlChange::ItemRemoved:
                ::SendMessageW(window, LB_DELETESTRING, index, 0);
                break;
            case ControlChange::ItemsCleared:
                ::SendMessageW(window, LB_RESETCONTENT, 0, 0);
                break;
            case ControlChange::Selection:
                ::SendMessageW(window, LB_SETSEL, list.Selected(index) ? TRUE : FALSE,
                               static_cast<LPARAM>(index));
                break;
            case ControlChange::Value:
                ::SendMessageW(window, LB_SETCARETINDEX, static_cast<WPARAM>(list.ListIndex()), FALSE);
                break;
            case ControlChange::BatchBegin:
                // Adding tens of thousands of items with redrawing on takes minutes.
                ::SendMessageW(window, WM_SETREDRAW, FALSE, 0);
                break;
            case ControlChange::BatchEnd:
                ::SendMessageW(window, WM_SETREDRAW, TRUE, 0);
                ::InvalidateRect(window, nullptr, TRUE);
                break;
            default:
                break;
        }
    };
}

void BindComboBox(ComboBox& combo, HWND window, ToolTips* tips) {
    ::SendMessageW(window, CB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < combo.ListCount(); ++i) {
        ::SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(combo.List(i).c_str()));
    }
    ::SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(combo.ListIndex()), 0);
    ApplyCommon(combo, window, tips);
    combo.view = [&combo, window, tips](ControlChange change, std::size_t index) {
        if (CommonChange(combo, window, tips, change)) return;
        if (change == ControlChange::ItemAdded) {
            ::SendMessageW(window, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(combo.List(index).c_str()));
        } else {
            ::SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(combo.ListIndex()), 0);
        }
    };
}

void OnCheckBoxClicked(CheckBox& box) { box.SetValue(box.Value() == 1 ? 0 : 1); }

void OnScroll(ScrollBar& bar, HWND window, WORD code, int largeChange) {
    int value = bar.Value();
    switch (code) {
        case SB_LINELEFT: value -= 1; break;
        case SB_LINERIGHT: value += 1; break;
        case SB_PAGELEFT: value -= largeChange; break;
        case SB_PAGERIGHT: value += largeChange; break;
        case SB_LEFT: value = bar.Min(); break;
        case SB_RIGHT: value = bar.Max(); break;
        case SB_THUMBPOSITION: {
            // Read the tracked position from the bar rather than the message's 16 bits.
            SCROLLINFO si{};
            si.cbSize = sizeof si;
            si.fMask = SIF_TRACKPOS;
            if (!::GetScrollInfo(window, SB_CTL, &si)) return;
            value = si.nTrackPos;
            break;
        }
        default: return;
    }
    if (value < bar.Min()) value = bar.Min();
    if (value > bar.Max()) value = bar.Max();
    bar.SetValueByUser(value);
}

void OnListSelectionChanged(ListBox& list, HWND window) {
    const LRESULT count = ::SendMessageW(window, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count && static_cast<std::size_t>(i) < list.ListCount(); ++i) {
        const bool selected = ::SendMessageW(window, LB_GETSEL, static_cast<WPARAM>(i), 0) > 0;
        list.SetSelected(static_cast<std::size_t>(i), selected);
    }
    const LRESULT caret = ::SendMessageW(window, LB_GETCARETINDEX, 0, 0);
    if (caret >= 0 && caret < count) list.SetListIndex(static_cast<int>(caret));
}

void OnComboSelectionChanged(ComboBox& combo, HWND window) {
    const LRESULT index = ::SendMessageW(window, CB_GETCURSEL, 0, 0);
    combo.SetListIndex(index == CB_ERR ? -1 : static_cast<int>(index));
}

}  // namespace tessel::player
