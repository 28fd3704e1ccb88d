// ChildHook: a procedure of ours put in front of a child control's own window
// procedure, for the messages a form needs from one of its controls (mouse buttons,
// drops, focus) that the control does not pass on to its parent.
//
// The control's procedure is replaced directly (GWLP_WNDPROC), not with the common
// controls' SetWindowSubclass: that one looks the subclass chain up in the window's
// properties on every message, which under Wine is a trip to the server, and filling
// a list box with tens of thousands of entries through it took several (up to 40)
// times as long. For the same reason a control's tool tip is relayed by its form
// (ToolTips::Relay), not given TTF_SUBCLASS.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace tessel::win32 {

class ChildHook {
public:
    // Sees every message of the control first. A result means the message was taken;
    // nothing passes it on to the control's own procedure.
    using Handler = std::function<std::optional<LRESULT>(HWND control, UINT message, WPARAM wParam, LPARAM lParam)>;

    ChildHook() = default;
    ChildHook(const ChildHook&) = delete;
    ChildHook& operator=(const ChildHook&) = delete;
    ~ChildHook() { Detach(); }

    // Hooks one control (a hook serves one control at a time). The control's
    // GWLP_USERDATA is the hook's from now on.
    void Attach(HWND control, Handler handler);
    // Gives the control its own procedure back. Done by itself when the control is
    // destroyed (WM_NCDESTROY) and when the hook goes.
    void Detach();
    HWND Control() const { return control_; }

private:
    static LRESULT CALLBACK Proc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

    HWND control_ = nullptr;
    WNDPROC original_ = nullptr;
    Handler handler_;
};

}  // namespace tessel::win32
