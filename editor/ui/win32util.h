// Small Win32 helpers of the editor: one owner per handle, one window-procedure thunk
// for every window class, twips to pixels, and the user-interface font.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace listwright {

template <class Traits>
class unique_handle {
public:
    using pointer = typename Traits::pointer;
    unique_handle() = default;
    explicit unique_handle(pointer h) : h_(h) {}
    unique_handle(const unique_handle&) = delete;
    unique_handle& operator=(const unique_handle&) = delete;
    unique_handle(unique_handle&& o) noexcept : h_(std::exchange(o.h_, Traits::invalid())) {}
    unique_handle& operator=(unique_handle&& o) noexcept {
        if (this != &o) reset(std::exchange(o.h_, Traits::invalid()));
        return *this;
    }
    ~unique_handle() { reset(); }
    pointer get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::invalid(); }
    void reset(pointer h = Traits::invalid()) {
        if (h_ != Traits::invalid()) Traits::close(h_);
        h_ = h;
    }
    pointer release() { return std::exchange(h_, Traits::invalid()); }

private:
    pointer h_ = Traits::invalid();
};

struct GdiObjectTraits {
    using pointer = HGDIOBJ;
    static pointer invalid() { return nullptr; }
    static void close(pointer h) { DeleteObject(h); }
};
struct MenuTraits {
    using pointer = HMENU;
    static pointer invalid() { return nullptr; }
    static void close(pointer h) { DestroyMenu(h); }
};
struct GlobalTraits {
    using pointer = HGLOBAL;
    static pointer invalid() { return nullptr; }
    static void close(pointer h) { GlobalFree(h); }
};
using unique_gdiobj = unique_handle<GdiObjectTraits>;
using unique_menu = unique_handle<MenuTraits>;
using unique_hglobal = unique_handle<GlobalTraits>;

// Base of every window class of the editor. The thunk binds `this` at WM_NCCREATE
// (from lpCreateParams), clears it at WM_NCDESTROY, and keeps C++ exceptions out of
// the window manager.
class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();
    HWND Hwnd() const { return hwnd_; }

protected:
    // Registers the class once per process.
    static bool RegisterClassOnce(const wchar_t* className, HBRUSH background);
    HWND CreateAs(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, int x,
                  int y, int width, int height, HWND owner, HMENU menu);
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs after the window is gone (WM_NCDESTROY).
    virtual void WindowGone() {}

private:
    static LRESULT CALLBACK Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// Pixels for a horizontal and a vertical measure in twips, at the screen's factors.
int TwipsX(double twips);
int TwipsY(double twips);

// The font of every control of the editor (a Japanese user-interface font).
HFONT UiFont();

// A child control with the editor's font.
HWND CreateChild(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle, int x,
                 int y, int width, int height, HWND parent, int id);

std::wstring WindowText(HWND hwnd);

// A menu described by a table: caption "-" is a separator.
struct MenuItem {
    UINT id;
    const wchar_t* caption;
};
HMENU BuildPopup(const MenuItem* items, std::size_t count);

// Report of a Win32 failure, with the call's name and GetLastError.
void ReportLastError(const wchar_t* what);

}  // namespace listwright
