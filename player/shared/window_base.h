// The one window-procedure thunk of every player window: `this` is bound at
// WM_NCCREATE from lpCreateParams and cleared at WM_NCDESTROY; no C++ exception ever
// crosses into the window manager.
#pragma once

#include <windows.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace tessel::player {

// A failure whose description a user will read. The text stays UTF-16 from the
// system's message to the report, Japanese included; what() holds only its ASCII
// characters, for a debugger.
class WideError : public std::runtime_error {
public:
    explicit WideError(std::wstring text);
    const std::wstring& Text() const noexcept { return text_; }

private:
    std::wstring text_;
};

class WindowBase {
public:
    WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    virtual ~WindowBase();

    HWND Handle() const { return hwnd_; }

protected:
    // Registers the class once per process (later calls reuse it).
    static void RegisterWindowClass(const wchar_t* className, HICON icon = nullptr,
                                    UINT style = 0, HBRUSH background = nullptr);
    // Creates the window; throws WideError with the system's reason on failure.
    void CreateWindowOf(const wchar_t* className, const std::wstring& caption, DWORD style,
                        DWORD exStyle, int x, int y, int width, int height, HMENU menu = nullptr);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

// Answers WM_PAINT of a self-painting window without flicker: `paint` draws the whole
// client area (size `size`) into a bitmap, which is then copied in one go. Falls back to
// painting directly when no bitmap can be had.
void PaintDoubleBuffered(HWND window, SIZE size, const std::function<void(HDC)>& paint);

// UTF-8 text (our own narrow messages) as UTF-16; invalid bytes become U+FFFD.
std::wstring WideFromUtf8(const char* text);

// Text of the last Win32 error, with the operation that failed in front.
std::wstring LastErrorText(const wchar_t* operation);
std::wstring ErrorText(const wchar_t* operation, DWORD error);

}  // namespace tessel::player
