#include "win32/child_hook.h"

#include <exception>

#include "win32/error_text.h"

namespace tessel::win32 {

void ChildHook::Attach(HWND control, Handler handler) {
    Detach();
    if (!control) return;
    handler_ = std::move(handler);
    control_ = control;
    ::SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    original_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChildHook::Proc)));
}

void ChildHook::Detach() {
    if (!control_) return;
    // Only while the procedure in place is still ours: whoever replaced it after us
    // keeps theirs.
    if (reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(control_, GWLP_WNDPROC)) == &ChildHook::Proc) {
        ::SetWindowLongPtrW(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        ::SetWindowLongPtrW(control_, GWLP_USERDATA, 0);
    }
    control_ = nullptr;
    original_ = nullptr;
}

LRESULT CALLBACK ChildHook::Proc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* hook = reinterpret_cast<ChildHook*>(::GetWindowLongPtrW(control, GWLP_USERDATA));
    if (!hook || !hook->original_) return ::DefWindowProcW(control, message, wParam, lParam);
    const WNDPROC original = hook->original_;
    std::optional<LRESULT> taken;
    ReportFailure(L"a control's handler", [&] { taken = hook->handler_(control, message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        // The control's own end always runs, after the hook let go of it.
        hook->Detach();
        taken.reset();
    }
    return taken ? *taken : ::CallWindowProcW(original, control, message, wParam, lParam);
}

}  // namespace tessel::win32
