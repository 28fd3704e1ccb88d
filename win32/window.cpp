#include "win32/window.h"

#include <exception>
#include <utility>

#include "win32/error_text.h"

namespace tessel::win32 {

Window::~Window() {
    if (!hwnd_) return;
    // The object goes first: cut the window loose, so that the messages of its
    // destruction (and any that a window outliving us would get) reach nobody's
    // handler.
    ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    ::DestroyWindow(std::exchange(hwnd_, nullptr));
}

void Window::RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background, HICON icon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), className, &wc)) return;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &Window::Thunk;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hIcon = icon;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    if (!::RegisterClassExW(&wc)) throw WideError(LastErrorText(L"RegisterClassEx"));
}

void Window::CreateWindowOf(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, int x,
                            int y, int width, int height, HWND parent, HMENU menu) {
    if (!::CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent, menu,
                           ::GetModuleHandleW(nullptr), this))
        throw WideError(LastErrorText(L"CreateWindowEx"));
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    // A handler that failed leaves the message to the default processing.
    if (!ReportFailure(L"a handler", [&] { result = self->HandleMessage(message, wParam, lParam); }))
        result = ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

HWND CreateChild(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style, const RECT& pixels,
                 int id, HFONT font, DWORD exStyle) {
    HWND child = ::CreateWindowExW(exStyle, windowClass, text, WS_CHILD | style, pixels.left, pixels.top,
                                   pixels.right - pixels.left, pixels.bottom - pixels.top, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr),
                                   nullptr);
    if (!child) {
        DebugReport(LastErrorText(L"CreateWindowEx"));
        return nullptr;
    }
    if (font) ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

namespace {
constexpr const wchar_t* kDialogKeysProperty = L"TesselDialogKeys";
}

void UseDialogKeys(HWND window, bool use) {
    if (!use) {
        ::RemovePropW(window, kDialogKeysProperty);
        return;
    }
    if (!::SetPropW(window, kDialogKeysProperty, reinterpret_cast<HANDLE>(1)))
        DebugReport(LastErrorText(L"SetProp"));
}

bool TranslateDialogKeys(MSG& msg) {
    // Only keys: a property is looked up on the server under Wine, too slow for every
    // message of a list filling with thousands of entries.
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST || !msg.hwnd) return false;
    HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    if (!root || !::GetPropW(root, kDialogKeysProperty)) return false;
    return ::IsDialogMessageW(root, &msg) != FALSE;
}

std::wstring WindowText(HWND window) {
    // A caption may be long (the body window's carries a handed-over path).
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
    const int n = ::GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

RedrawOff::RedrawOff(HWND window) : window_(window) { ::SendMessageW(window_, WM_SETREDRAW, FALSE, 0); }

RedrawOff::~RedrawOff() {
    ::SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
    ::RedrawWindow(window_, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

}  // namespace tessel::win32
