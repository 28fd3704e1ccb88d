#include "win32/paint.h"

#include <algorithm>

#include "win32/handle.h"

namespace tessel::win32 {

LRESULT PaintedWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(Handle(), &ps);
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
            ::EndPaint(Handle(), &ps);
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
