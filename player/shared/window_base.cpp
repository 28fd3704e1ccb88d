#include "player/shared/window_base.h"

#include <algorithm>
#include <exception>
#include <stdexcept>
#include <string>

#include "player/shared/unique_handle.h"

namespace tessel::player {

std::wstring ErrorText(const wchar_t* operation, DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = std::wstring(operation) + L" (" + std::to_wstring(error) + L")";
    if (n && buffer) {
        std::wstring reason(buffer, n);
        while (!reason.empty() && (reason.back() == L'\n' || reason.back() == L'\r')) reason.pop_back();
        text += L": " + reason;
    }
    if (buffer) ::LocalFree(buffer);
    return text;
}

std::wstring LastErrorText(const wchar_t* operation) { return ErrorText(operation, ::GetLastError()); }

std::wstring WideFromUtf8(const char* text) {
    const int size = static_cast<int>(std::char_traits<char>::length(text));
    if (size == 0) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text, size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(n, 0)), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_UTF8, 0, text, size, wide.data(), n);
    return wide;
}

namespace {
std::string AsciiPart(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}
}  // namespace

WideError::WideError(std::wstring text) : std::runtime_error(AsciiPart(text)), text_(std::move(text)) {}

WindowBase::~WindowBase() {
    if (hwnd_) {
        HWND hwnd = hwnd_;
        ::DestroyWindow(hwnd);  // WM_NCDESTROY clears hwnd_ and the binding
    }
}

void WindowBase::RegisterWindowClass(const wchar_t* className, HICON icon, UINT style, HBRUSH background) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (::GetClassInfoExW(::GetModuleHandleW(nullptr), className, &wc)) return;
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = &WindowBase::Thunk;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.hIcon = icon;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    if (!::RegisterClassExW(&wc)) {
        throw WideError(LastErrorText(L"RegisterClassEx"));
    }
}

void WindowBase::CreateWindowOf(const wchar_t* className, const std::wstring& caption, DWORD style,
                                DWORD exStyle, int x, int y, int width, int height, HMENU menu) {
    HWND hwnd = ::CreateWindowExW(exStyle, className, caption.c_str(), style, x, y, width, height,
                                  nullptr, menu, ::GetModuleHandleW(nullptr), this);
    if (!hwnd) throw WideError(LastErrorText(L"CreateWindowEx"));
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowBase* self = nullptr;
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        self = static_cast<WindowBase*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<WindowBase*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);

    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& e) {
        // A handler failed: say so where a debugger sees it and carry on with the
        // default processing, never letting the exception unwind through user32.
        ::OutputDebugStringA("tesselplay: handler failed: ");
        ::OutputDebugStringA(e.what());
        ::OutputDebugStringA("\n");
        result = ::DefWindowProcW(hwnd, message, wParam, lParam);
    } catch (...) {
        ::OutputDebugStringA("tesselplay: handler failed\n");
        result = ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

void PaintDoubleBuffered(HWND window, SIZE size, const std::function<void(HDC)>& paint) {
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(window, &ps);
    unique_memory_dc mem(::CreateCompatibleDC(dc));
    unique_hbitmap buffer(::CreateCompatibleBitmap(dc, std::max<LONG>(1, size.cx), std::max<LONG>(1, size.cy)));
    if (mem && buffer) {
        SelectObjectGuard select(mem.get(), buffer.get());
        paint(mem.get());
        ::BitBlt(dc, 0, 0, size.cx, size.cy, mem.get(), 0, 0, SRCCOPY);
    } else {
        paint(dc);
    }
    ::EndPaint(window, &ps);
}

}  // namespace tessel::player
