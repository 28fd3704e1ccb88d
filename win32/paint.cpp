#include "win32/paint.h"

#include <algorithm>

#include "win32/handle.h"

namespace tessel::win32 {

LRESULT PaintedWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            // EndPaint runs however the painting ends: a window left unvalidated would be
            // sent WM_PAINT again at once, for ever.
            struct Painting {
                HWND window;
                PAINTSTRUCT ps{};
                HDC dc;
                explicit Painting(HWND w) : window(w), dc(::BeginPaint(w, &ps)) {}
                ~Painting() { ::EndPaint(window, &ps); }
                Painting(const Painting&) = delete;
                Painting& operator=(const Painting&) = delete;
            } painting(Handle());
            HDC dc = painting.dc;
            RECT client{};
            ::GetClientRect(Handle(), &client);
            unique_memory_dc mem(::CreateCompatibleDC(dc));
            unique_hbitmap buffer(
                ::CreateCompatibleBitmap(dc, std::max<LONG>(1, client.right), std::max<LONG>(1, client.bottom)));
            if (mem && buffer) {
                SelectObjectGuard select(mem.get(), buffer.get());
                PaintContent(mem.get());
                ::BitBlt(dc, 0, 0, client.right, client.bottom, mem.get(), 0, 0, SRCCOPY);
            } else {
                PaintContent(dc);
            }
            return 0;
        }
        case WM_PRINTCLIENT:
            PaintContent(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        default:
            return Window::HandleMessage(message, wParam, lParam);
    }
}

bool DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y, int width, int height) {
    unique_memory_dc mem(::CreateCompatibleDC(dc));
    if (!mem) return false;
    SelectObjectGuard select(mem.get(), bitmap);
    ::BitBlt(dc, x, y, width, height, mem.get(), 0, 0, SRCCOPY);
    return true;
}

void FillRows(HDC dc, const RECT& area, COLORREF (*colour)(int t)) {
    const LONG height = std::max<LONG>(1, area.bottom - area.top);
    for (LONG y = area.top; y < area.bottom; ++y) {
        unique_hbrush line(::CreateSolidBrush(colour(static_cast<int>((y - area.top) * 255 / height))));
        const RECT row{area.left, y, area.right, y + 1};
        ::FillRect(dc, &row, line.get());
    }
}

}  // namespace tessel::win32
