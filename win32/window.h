// The base of every window class of both programs, with the one window-procedure
// thunk: `this` is bound at WM_NCCREATE (from lpCreateParams) and unbound when the
// object goes, before its window is destroyed, and at WM_NCDESTROY; no C++ exception
// ever crosses into the window manager.
//
// A form that is destroyed as an object gets no message from then on, not even the
// WM_DESTROY of its own window: whatever its handlers would do at the end must be done
// by its destructor. Its window may also end first (DestroyWindow, a parent going):
// Handle() is null from WM_NCDESTROY on, and the destructor then has nothing to do.
#pragma once

#include <windows.h>

#include <string>

namespace tessel::win32 {

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND Handle() const { return hwnd_; }

protected:
    // Registers the class once per process (later calls reuse it); throws WideError
    // with the system's reason when it cannot.
    static void RegisterWindowClass(const wchar_t* className, UINT style, HBRUSH background,
                                    HICON icon = nullptr);
    // Creates the window bound to this object; throws WideError with the system's
    // reason when it cannot. `parent` is the owner of a top-level window (or
    // HWND_MESSAGE); the menu belongs to the window once it exists.
    void CreateWindowOf(const wchar_t* className, const wchar_t* caption, DWORD style, DWORD exStyle, int x,
                        int y, int width, int height, HWND parent = nullptr, HMENU menu = nullptr);

    // Every message of the window; the default is the system's own processing.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// A child control; null when it cannot be made (reported for a debugger). WS_CHILD is
// added to `style`; `font` (if any) is set without a redraw.
HWND CreateChild(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style, const RECT& pixels,
                 int id, HFONT font, DWORD exStyle = 0);

// Tab, Shift+Tab and the arrow keys move the focus between the controls of a window
// that is no dialog, in the order of its children, once the window has asked for it;
// every message loop of the program passes its messages through TranslateDialogKeys,
// which answers true for those it used (they must then not be dispatched).
void UseDialogKeys(HWND window, bool use = true);
bool TranslateDialogKeys(MSG& msg);

// The whole text of a window (a caption or a control's text).
std::wstring WindowText(HWND window);

// Turns a window's redrawing off for a scope and repaints it once at the end: a list
// box that redraws after each of tens of thousands of entries takes minutes to fill.
class RedrawOff {
public:
    explicit RedrawOff(HWND window);
    ~RedrawOff();
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    HWND window_;
};

}  // namespace tessel::win32
