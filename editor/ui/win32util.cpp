#include "editor/ui/win32util.h"

#include <exception>

#include "common/twips.h"

namespace listwright {

Window::~Window() {
    if (hwnd_) {
        // The C++ object goes first: cut the window loose so the thunk no longer calls it.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
}

bool Window::RegisterClassOnce(const wchar_t* className, HBRUSH background) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &existing)) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Window::Thunk;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hIcon = LoadIconW(nullptr, reinterpret_cast<LPCWSTR>(IDI_APPLICATION));
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    if (!RegisterClassExW(&wc)) {
        ReportLastError(L"RegisterClassExW");
        return false;
    }
    return true;
}

HWND Window::CreateAs(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle,
                      int x, int y, int width, int height, HWND owner, HMENU menu) {
    HWND hwnd = CreateWindowExW(exStyle, className, caption, style, x, y, width, height, owner, menu,
                                GetModuleHandleW(nullptr), this);
    if (!hwnd) ReportLastError(L"CreateWindowExW");
    return hwnd;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = self->HandleMessage(message, wParam, lParam);
    } catch (const std::exception& e) {
        OutputDebugStringA(e.what());
        result = DefWindowProcW(hwnd, message, wParam, lParam);
    } catch (...) {
        result = DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->WindowGone();
    }
    return result;
}

namespace {
const tessel::TwipsPerPixel& Factors() {
    static const tessel::TwipsPerPixel f = tessel::ScreenTwipsPerPixel();
    return f;
}
}  // namespace

int TwipsX(double twips) { return tessel::TwipsToPixels(twips, Factors().x); }
int TwipsY(double twips) { return tessel::TwipsToPixels(twips, Factors().y); }

HFONT UiFont() {
    static unique_gdiobj font(CreateFontW(-TwipsY(180), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                          SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                          DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS UI Gothic"));
    return font ? static_cast<HFONT>(font.get()) : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, int x,
                 int y, int width, int height, HWND parent, int id) {
    HWND hwnd = CreateWindowExW(exStyle, className, text, style | WS_CHILD | WS_VISIBLE, x, y, width, height,
                                parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) {
        ReportLastError(L"CreateWindowExW");
        return nullptr;
    }
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(UiFont()), FALSE);
    return hwnd;
}

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

HMENU BuildPopup(const MenuItem* items, std::size_t count) {
    HMENU popup = CreatePopupMenu();
    if (!popup) {
        ReportLastError(L"CreatePopupMenu");
        return nullptr;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const bool separator = items[i].caption[0] == L'-' && items[i].caption[1] == L'\0';
        AppendMenuW(popup, separator ? MF_SEPARATOR : MF_STRING, items[i].id, separator ? nullptr : items[i].caption);
    }
    return popup;
}

void ReportLastError(const wchar_t* what) {
    const DWORD error = GetLastError();
    wchar_t text[256];
    wsprintfW(text, L"%s failed (error %lu)\n", what, error);
    OutputDebugStringW(text);
}

}  // namespace listwright
