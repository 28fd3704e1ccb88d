#include "player/windows/SkinForm.h"

#include "common/twips.h"
#include "win32/dpi.h"
#include "win32/drops.h"

#include "common/fileio.h"

namespace tessel::player {

SkinForm::SkinForm(SkinWindowHost& host, LLVariable& vars, const TwipsPerPixel& factors)
    : PlayerWindow(host), host_(host), vars_(vars), factors_(factors) {}

void SkinForm::Load() {
    RegisterWindowClass(kSkinFormClass, CS_DBLCLKS, nullptr);
    CreateWindowOf(kSkinFormClass, L"SkinForm", WS_POPUP, WS_EX_TOOLWINDOW,
                   TwipsToPixels(leftTwips_, factors_.x), TwipsToPixels(topTwips_, factors_.y),
                   size_.cx, size_.cy);
    MakeFont();
    ::DragAcceptFiles(Handle(), TRUE);
}

void SkinForm::MakeFont() {
    font_.reset(::CreateFontW(-TwipsToPixels(300, factors_.y), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH, L"MS UI Gothic"));
}

void SkinForm::LayOut() {
    // The window stays where it is on the screen: its place is held in the new twips.
    RECT r;
    if (::GetWindowRect(Handle(), &r)) {
        leftTwips_ = r.left * factors_.x;
        topTwips_ = r.top * factors_.y;
    }
    MakeFont();
}

void SkinForm::TakeWindowSize() {
    RECT r{};
    if (::GetWindowRect(Handle(), &r)) size_ = SIZE{r.right - r.left, r.bottom - r.top};
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void SkinForm::SetPicture(win32::unique_hbitmap picture) {
    // The window's size is the skin layout's; the picture is drawn from its top-left.
    picture_ = std::move(picture);
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
    ::SetWindowPos(Handle(), nullptr, TwipsToPixels(leftTwips_, factors_.x),
                   TwipsToPixels(topTwips_, factors_.y), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    moving_ = false;
    host_.PlaceBodyWindow();
}

void SkinForm::PaintContent(HDC dc) {
    const RECT client{0, 0, size_.cx, size_.cy};
    if (picture_) {
        BITMAP info{};
        ::GetObjectW(picture_.get(), sizeof info, &info);
        if (info.bmWidth < size_.cx || info.bmHeight < size_.cy) {
            win32::unique_hbrush back(::CreateSolidBrush(RGB(0, 0, 0)));
            ::FillRect(dc, &client, back.get());
        }
        if (win32::DrawBitmap(dc, picture_.get(), 0, 0, size_.cx, size_.cy)) return;
    }
    win32::FillRows(dc, client, [](int t) { return RGB(28 + t / 10, 60 + t / 6, 104 + t / 5); });
    win32::SelectObjectGuard font(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, RGB(230, 240, 255));
    RECT text = client;
    ::DrawTextW(dc, L"TesselPlayer", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void SkinForm::Form_DblClick() { host_.TogglePanel(); }

void SkinForm::Form_KeyDown(int keyCode) {
    // Held while the key is down: the volume keys then reach the device through the
    // volume bar, and the timer's read-back leaves the bar alone.
    vars_.VolumeActive = true;
    host_.HandleKey(keyCode);
}

void SkinForm::Form_KeyUp(int) { vars_.VolumeActive = false; }
void SkinForm::Form_LostFocus() { vars_.VolumeActive = false; }

void SkinForm::Form_MouseDown(int button, int x, int y) {
    if (button == 1) {
        vars_.DragGrabX = x;
        vars_.DragGrabY = y;
        // The release may happen anywhere, also off the window's shape.
        ::SetCapture(Handle());
    } else if (button == 2) {
        // Its commands go to the control panel, which owns the menu.
        host_.ShowMenuPopup();
    }
}

void SkinForm::Form_MouseUp(int button, int x, int y) {
    if (button != 1) return;
    if (::GetCapture() == Handle()) ::ReleaseCapture();
    if (host_.PositionFixed()) return;  // position fixed
    if (x == vars_.DragGrabX && y == vars_.DragGrabY) return;  // a click
    POINT pt{};
    if (!::GetCursorPos(&pt)) return;
    // The grabbed point lands under the pointer again.
    ::SetWindowPos(Handle(), HWND_TOPMOST, pt.x - vars_.DragGrabX, pt.y - vars_.DragGrabY, 1, 1,
                   SWP_NOSIZE);
    host_.PlaceBodyWindow();
}

void SkinForm::Form_OLEDragDrop(const std::vector<std::wstring>& paths) {
    if (paths.size() == 1 && FileExistsExact(paths.front())) {
        host_.PlayFile(paths.front());
        return;
    }
    host_.AddToQueue(paths);
}

void SkinForm::KeepMovedPosition() {
    // Moved by someone else: keep the held twips when they still give this pixel, so
    // a fractional position survives.
    RECT r;
    if (!::GetWindowRect(Handle(), &r)) return;
    if (TwipsToPixels(leftTwips_, factors_.x) != r.left) leftTwips_ = r.left * factors_.x;
    if (TwipsToPixels(topTwips_, factors_.y) != r.top) topTwips_ = r.top * factors_.y;
}

LRESULT SkinForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            Form_MouseDown(1, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_RBUTTONDOWN:
            Form_MouseDown(2, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_LBUTTONUP:
            Form_MouseUp(1, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
            return 0;
        case WM_LBUTTONDBLCLK:
            Form_DblClick();
            return 0;
        case WM_KEYDOWN:
            Form_KeyDown(static_cast<int>(wParam));
            return 0;
        case WM_KEYUP:
            Form_KeyUp(static_cast<int>(wParam));
            return 0;
        case WM_KILLFOCUS:
            // A key released elsewhere (Alt+Tab, or Enter that brings up a video window)
            // never reaches KeyUp here; the volume read-back must not stay off for it.
            Form_LostFocus();
            return 0;
        case WM_DROPFILES: {
            HDROP drop = reinterpret_cast<HDROP>(wParam);
            const std::vector<std::wstring> paths = win32::DroppedPaths(drop);
            ::DragFinish(drop);
            Form_OLEDragDrop(paths);
            return 0;
        }
        case WM_MOVE:
            if (!moving_) KeepMovedPosition();
            return 0;
        case WM_GETOBJECT:
            if (accessible_) {
                if (auto answer = accessible_->Answer(Handle(), wParam, lParam)) return *answer;
            }
            return PlayerWindow::HandleMessage(message, wParam, lParam);
        case WM_DISPLAYCHANGE:
            host_.DisplayChanged();
            return PlayerWindow::HandleMessage(message, wParam, lParam);
        case WM_DPICHANGED:
            // On a monitor of another scale: the skin again at that scale, where the
            // system suggests.
            host_.ChangeSkinScale(win32::DpiOfChange(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
        default:
            return PlayerWindow::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace tessel::player
