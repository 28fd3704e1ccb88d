#include "player/windows/SkinForm.h"

#include "common/twips.h"
#include "player/startup/Initialize.h"

namespace tessel::player {

SkinForm::SkinForm(PlayerApp& app) : app_(app) {}

void SkinForm::Load() {
    RegisterWindowClass(kSkinFormClass, nullptr, CS_DBLCLKS);
    CreateWindowOf(kSkinFormClass, L"SkinForm", WS_POPUP, WS_EX_TOOLWINDOW,
                   TwipsToPixels(leftTwips_, app_.factors.x), TwipsToPixels(topTwips_, app_.factors.y),
                   size_.cx, size_.cy);
    font_.reset(::CreateFontW(-TwipsToPixels(300, app_.factors.y), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH, L"MS UI Gothic"));
}

void SkinForm::SetPicture(unique_hbitmap picture) {
    picture_ = std::move(picture);
    if (picture_) {
        BITMAP info{};
        if (::GetObjectW(picture_.get(), sizeof info, &info)) {
            size_ = SIZE{info.bmWidth, info.bmHeight};
            if (Handle()) {
                ::SetWindowPos(Handle(), nullptr, 0, 0, size_.cx, size_.cy,
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
        }
    }
    if (Handle()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void SkinForm::SetLeftTwips(double twips) {
    leftTwips_ = twips;
    MoveToHeldPosition();
}

void SkinForm::SetTopTwips(double twips) {
    topTwips_ = twips;
    MoveToHeldPosition();
}

void SkinForm::MoveToHeldPosition() {
    if (!Handle()) return;
    moving_ = true;
    ::SetWindowPos(Handle(), nullptr, TwipsToPixels(leftTwips_, app_.factors.x),
                   TwipsToPixels(topTwips_, app_.factors.y), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    moving_ = false;
    app_.PlaceBodyWindow();
}

void SkinForm::PaintContent(HDC dc) {
    const RECT client{0, 0, size_.cx, size_.cy};
    if (picture_) {
        unique_memory_dc mem(::CreateCompatibleDC(dc));
        if (mem) {
            SelectObjectGuard select(mem.get(), picture_.get());
            ::BitBlt(dc, 0, 0, size_.cx, size_.cy, mem.get(), 0, 0, SRCCOPY);
            return;
        }
    }
    for (int y = 0; y < size_.cy; ++y) {
        const int t = y * 255 / std::max<LONG>(1, size_.cy);
        unique_hbrush line(::CreateSolidBrush(RGB(28 + t / 10, 60 + t / 6, 104 + t / 5)));
        const RECT r{0, y, size_.cx, y + 1};
        ::FillRect(dc, &r, line.get());
    }
    SelectObjectGuard font(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(230, 240, 255));
    RECT text = client;
    ::DrawTextW(dc, L"TesselPlayer", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT SkinForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = ::BeginPaint(Handle(), &ps);
            PaintContent(dc);
            ::EndPaint(Handle(), &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            PaintContent(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_MOVE: {
            if (moving_) return 0;
            // Moved by someone else: keep the held twips when they still give this
            // pixel, so a fractional position survives.
            RECT r;
            if (::GetWindowRect(Handle(), &r)) {
                if (TwipsToPixels(leftTwips_, app_.factors.x) != r.left) leftTwips_ = r.left * app_.factors.x;
                if (TwipsToPixels(topTwips_, app_.factors.y) != r.top) topTwips_ = r.top * app_.factors.y;
            }
            return 0;
        }
        case WM_CLOSE:
            // Alt+F4 on the skin window, or a close request from outside: end properly.
            app_.Shutdown();
            return 0;
        default:
            return WindowBase::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace tessel::player
