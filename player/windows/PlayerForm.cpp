#include "player/windows/PlayerForm.h"

#include <commctrl.h>

#include <algorithm>

#include "common/twips.h"
#include "player/playback/transport.h"
#include "player/skin/placement.h"
#include "player/skin/volume.h"
#include "player/startup/Initialize.h"
#include "player/startup/texts.h"
#include "player/windows/window_texts.h"

namespace tessel::player {
namespace {

constexpr int kIdScrTime = 11;
constexpr int kIdScrVolume = 12;

// Design rectangles in twips (left, top, width, height) in the window's client area;
// the picture box PictImgGroup starts 225 twips down.
struct TwipsBox {
    int left, top, width, height;
};
constexpr int kImgGroupTop = 225;

TwipsBox DesignBox(PlayerForm::Part part) {
    switch (part) {
        case PlayerForm::PartCmdInfo: return {0, 0, 270, 225};
        case PlayerForm::PartCmdPopup: return {270, 0, 270, 225};
        case PlayerForm::PartCmdMinimum: return {540, 0, 270, 225};
        case PlayerForm::PartCmdClose: return {810, 0, 270, 225};
        case PlayerForm::PartCmdChoice: return {1080, 0, 360, 225};
        case PlayerForm::PartImgPrev: return {0, kImgGroupTop, 360, 360};
        case PlayerForm::PartImgStop: return {360, kImgGroupTop, 360, 360};
        case PlayerForm::PartImgPlay: return {720, kImgGroupTop, 360, 360};
        case PlayerForm::PartImgNext: return {1080, kImgGroupTop, 360, 360};
        case PlayerForm::PartLblNTime: return {0, kImgGroupTop + 360, 720, 180};
        case PlayerForm::PartLblTTime: return {720, kImgGroupTop + 360, 720, 180};
        case PlayerForm::PartLblTitle: return {0, kImgGroupTop + 690, 7455, 180};
        default: return {0, 0, 0, 0};
    }
}

RECT ToPixels(const TwipsBox& b, TwipsPerPixel f) {
    return RECT{TwipsToPixels(b.left, f.x), TwipsToPixels(b.top, f.y), TwipsToPixels(b.left + b.width, f.x),
                TwipsToPixels(b.top + b.height, f.y)};
}

// Resource names of the command buttons' faces, CmdInfo to CmdChoice.
constexpr const wchar_t* kFaceNames[5][2] = {
    {L"CMD_INFO", L"CMD_INFO_DOWN"},       {L"CMD_POPUP", L"CMD_POPUP_DOWN"},
    {L"CMD_MINIMUM", L"CMD_MINIMUM_DOWN"}, {L"CMD_CLOSE", L"CMD_CLOSE_DOWN"},
    {L"CMD_CHOICE", L"CMD_CHOICE_DOWN"},
};
constexpr UINT_PTR kBarSubclassId = 1;

const wchar_t* Glyph(PlayerForm::Part part) {
    switch (part) {
        case PlayerForm::PartCmdInfo: return L"i";
        case PlayerForm::PartCmdPopup: return L"≡";
        case PlayerForm::PartCmdMinimum: return L"_";
        case PlayerForm::PartCmdClose: return L"×";
        case PlayerForm::PartCmdChoice: return L"…";
        case PlayerForm::PartImgPrev: return L"|◀";
        case PlayerForm::PartImgStop: return L"Ⅱ";
        case PlayerForm::PartImgPlay: return L"▶";
        case PlayerForm::PartImgNext: return L"▶|";
        default: return L"";
    }
}

}  // namespace

PlayerForm::PlayerForm(PlayerApp& app, PlayerFormControls& controls) : app_(app), c_(controls) {}

PlayerForm::~PlayerForm() {
    c_.LblTitle.view = nullptr;
    c_.LblNTime.view = nullptr;
    c_.LblTTime.view = nullptr;
    c_.ScrTime.view = nullptr;
    c_.ScrVolume.view = nullptr;
}

RECT PlayerForm::PartRect(Part part) const { return ToPixels(DesignBox(part), app_.factors); }

PlayerForm::Part PlayerForm::HitTest(POINT pt) const {
    for (UINT p = PartCmdInfo; p <= PartImgNext; ++p) {
        const RECT r = PartRect(static_cast<Part>(p));
        if (::PtInRect(&r, pt)) return static_cast<Part>(p);
    }
    return PartNone;
}

void PlayerForm::Load() {
    RegisterWindowClass(kPlayerFormClass, nullptr, CS_DBLCLKS);
    // Fixed by the window's design at 1440 x 1245 twips.
    const PixelSize design = PlayerFormPixelSize(app_.factors);
    size_ = SIZE{design.width, design.height};
    // Created under the second instance's caption: only once the start-up knows it is
    // the running instance does the window take the caption "PlayerForm" by which
    // later starts find it. A second start that is still loading can thus never be
    // mistaken for the running one.
    CreateWindowOf(kPlayerFormClass, texts::kMultiActiveCaption, WS_POPUP | WS_CLIPCHILDREN,
                   WS_EX_TOOLWINDOW, 0, 0, size_.cx, size_.cy);
    font_.reset(::CreateFontW(-TwipsToPixels(180, app_.factors.y) + 1, 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                              FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                              DEFAULT_QUALITY, DEFAULT_PITCH, L"MS UI Gothic"));
    tips_.Create(Handle());

    const TwipsPerPixel f = app_.factors;
    scrTime_ = CreateChild(Handle(), L"SCROLLBAR", nullptr, WS_VISIBLE | SBS_HORZ,
                           ToPixels({0, kImgGroupTop + 540, 1440, 150}, f), kIdScrTime, nullptr);
    scrVolume_ = CreateChild(Handle(), L"SCROLLBAR", nullptr, WS_VISIBLE | SBS_HORZ,
                             ToPixels({0, kImgGroupTop + 870, 1440, 150}, f), kIdScrVolume, nullptr);
    BindScrollBar(c_.ScrTime, scrTime_, &tips_);
    BindScrollBar(c_.ScrVolume, scrVolume_, &tips_);
    // The bars' focus is shared state (the status event and the volume read-back
    // leave a focused bar alone), so their focus changes are watched here.
    ::SetWindowSubclass(scrTime_, BarProc, kBarSubclassId, reinterpret_cast<DWORD_PTR>(this));
    ::SetWindowSubclass(scrVolume_, BarProc, kBarSubclassId, reinterpret_cast<DWORD_PTR>(this));
    LoadButtonFaces();
    // The read-outs are painted: a change repaints the label's own rectangle.
    c_.LblTitle.view = [this](ControlChange, std::size_t) { InvalidatePart(PartLblTitle); };
    c_.LblNTime.view = [this](ControlChange, std::size_t) { InvalidatePart(PartLblNTime); };
    c_.LblTTime.view = [this](ControlChange, std::size_t) { InvalidatePart(PartLblTTime); };
}

void PlayerForm::LoadButtonFaces() {
    // Part of the program's design; a program built without them draws plain symbols.
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    for (int i = 0; i < 5; ++i) {
        for (int pressed = 0; pressed < 2; ++pressed) {
            faces_[i][pressed].reset(static_cast<HBITMAP>(
                ::LoadImageW(module, kFaceNames[i][pressed], IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        }
    }
}

void PlayerForm::BindHandlers() {
    c_.ScrTime.onChange = [this] { ScrTime_Change(); };
    c_.ScrVolume.onChange = [this] { ScrVolume_Change(); };
}

void PlayerForm::SetTextColour(COLORREF colour) {
    textColour_ = colour;
    if (Handle()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

LRESULT CALLBACK PlayerForm::BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                     DWORD_PTR self) {
    auto* form = reinterpret_cast<PlayerForm*>(self);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // A click takes the focus first, as a scroll bar of a form does, so the
            // change that follows already sees the bar focused.
            if (::GetFocus() != bar) ::SetFocus(bar);
            break;
        case WM_SETFOCUS:
            if (bar == form->scrTime_) form->ScrTime_GotFocus();
            if (bar == form->scrVolume_) form->ScrVolume_GotFocus();
            break;
        case WM_KILLFOCUS:
            if (bar == form->scrTime_) form->ScrTime_LostFocus();
            if (bar == form->scrVolume_) form->ScrVolume_LostFocus();
            break;
        case WM_NCDESTROY:
            ::RemoveWindowSubclass(bar, BarProc, kBarSubclassId);
            break;
        default:
            break;
    }
    return ::DefSubclassProc(bar, message, wParam, lParam);
}

void PlayerForm::SetCaption(const std::wstring& caption) { ::SetWindowTextW(Handle(), caption.c_str()); }

std::wstring PlayerForm::Caption() const {
    // A handed-over path may be long: read the whole caption.
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(Handle())) + 1, L'\0');
    const int n = ::GetWindowTextW(Handle(), text.data(), static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return text;
}

void PlayerForm::SetPicture(unique_hbitmap picture) {
    picture_ = std::move(picture);
    if (Handle()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void PlayerForm::SetToolTip(UINT toolId, const std::wstring& text) {
    tips_.SetForRect(toolId, PartRect(static_cast<Part>(toolId)), text);
}

void PlayerForm::InvalidatePart(Part part) {
    if (!Handle()) return;
    const RECT r = PartRect(part);
    ::InvalidateRect(Handle(), &r, FALSE);
}

void PlayerForm::PaintContent(HDC dc) {
    RECT client{0, 0, size_.cx, size_.cy};
    const RECT buttons{0, 0, size_.cx, TwipsToPixels(kImgGroupTop, app_.factors.y)};
    const RECT group{0, buttons.bottom, size_.cx, size_.cy};

    unique_hbrush bar(::CreateSolidBrush(RGB(24, 36, 58)));
    ::FillRect(dc, &buttons, bar.get());  // PictBtnGroup behind the buttons
    bool plain = true;
    if (picture_) {
        unique_memory_dc mem(::CreateCompatibleDC(dc));
        if (mem) {
            SelectObjectGuard select(mem.get(), picture_.get());
            ::BitBlt(dc, group.left, group.top, group.right - group.left, group.bottom - group.top, mem.get(),
                     0, 0, SRCCOPY);
            plain = false;
        }
    }
    if (plain) {
        // No skin picture: a quiet vertical gradient in the skin's blue.
        for (int y = group.top; y < group.bottom; ++y) {
            const int t = (y - group.top) * 255 / std::max<LONG>(1, group.bottom - group.top);
            unique_hbrush line(::CreateSolidBrush(RGB(36 + t / 12, 72 + t / 8, 120 + t / 6)));
            const RECT r{0, y, client.right, y + 1};
            ::FillRect(dc, &r, line.get());
        }
    }

    SelectObjectGuard font(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    auto drawText = [&](const std::wstring& text, RECT r, UINT format, COLORREF colour) {
        ::SetTextColor(dc, colour);
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                    format | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    };
    for (UINT p = PartCmdInfo; p <= PartCmdChoice; ++p) {
        RECT r = PartRect(static_cast<Part>(p));
        HBITMAP face = faces_[p - PartCmdInfo][pressed_ == p ? 1 : 0].get();
        BITMAP info{};
        unique_memory_dc mem(face ? ::CreateCompatibleDC(dc) : nullptr);
        if (mem && ::GetObjectW(face, sizeof info, &info)) {
            SelectObjectGuard select(mem.get(), face);
            ::StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem.get(), 0, 0, info.bmWidth,
                         info.bmHeight, SRCCOPY);
        } else {
            if (pressed_ == p) ::InvertRect(dc, &r);
            drawText(Glyph(static_cast<Part>(p)), r, DT_CENTER | DT_VCENTER, RGB(220, 232, 255));
        }
    }
    if (plain) {
        for (UINT p = PartImgPrev; p <= PartImgNext; ++p) {
            drawText(Glyph(static_cast<Part>(p)), PartRect(static_cast<Part>(p)), DT_CENTER | DT_VCENTER,
                     RGB(255, 255, 255));
        }
    }
    // The read-outs over the picture in the skin's text colour; the title runs on
    // under the window's right edge, where the marquee brings it back.
    const COLORREF text = textColour_;
    drawText(c_.LblNTime.Caption(), PartRect(PartLblNTime), DT_RIGHT | DT_VCENTER, text);
    drawText(c_.LblTTime.Caption(), PartRect(PartLblTTime), DT_RIGHT | DT_VCENTER, text);
    drawText(c_.LblTitle.Caption(), PartRect(PartLblTitle), DT_LEFT | DT_VCENTER, text);
}

void PlayerForm::CmdChoice_Click() { app_.ChooseListFile(); }
void PlayerForm::CmdClose_Click() { app_.Shutdown(); }

void PlayerForm::CmdInfo_Click() {
    ::MessageBoxW(Handle(), window_texts::kVersionText, window_texts::kVersionTitle, MB_OK);
}

// The hide option does the rest (and nothing when it is on already).
void PlayerForm::CmdMinimum_Click() { app_.menuControls.ChkHide.SetValue(1); }
void PlayerForm::CmdPopup_Click() { app_.menuForm.SetPanelVisible(!app_.menuForm.PanelVisible()); }
void PlayerForm::ImgNext_Click() { app_.PlayNext(); }
// Like next: a medium playing or paused is not resumed but followed by the next one.
void PlayerForm::ImgPlay_Click() { app_.PlayNext(); }
void PlayerForm::ImgPrev_Click() { PlayFromStart(*app_.mmc); }
void PlayerForm::ImgStop_Click() { PausePlay(*app_.mmc); }

void PlayerForm::ScrTime_GotFocus() { app_.vars.TimeBarFocused = kTrue; }
void PlayerForm::ScrTime_LostFocus() { app_.vars.TimeBarFocused = kFalse; }

void PlayerForm::ScrTime_Change() {
    // Only the user's moves seek. The focus alone does not tell: the bar keeps it after
    // a click, and a new medium's range and value set while it is focused would seek
    // that medium (to its end, when it is shorter than the old position).
    if (app_.vars.TimeBarFocused == kFalse || !c_.ScrTime.ChangedByUser() || !app_.mmc) return;
    MediaDevice& mmc = *app_.mmc;
    if (mmc.Position() == mmc.Length() || mmc.Mode() == MediaDevice::kModeStopped) return;
    mmc.SetFrom(static_cast<std::int32_t>(c_.ScrTime.Value()) * 1000);
    mmc.Command(L"Play");
}

void PlayerForm::ScrVolume_GotFocus() { app_.vars.VolumeActive = kTrue; }
void PlayerForm::ScrVolume_LostFocus() { app_.vars.VolumeActive = kFalse; }

void PlayerForm::ScrVolume_Change() {
    // The read-back sets the bar with VolumeActive off and so never writes back.
    if (app_.vars.VolumeActive == kFalse) return;
    WriteVolumeLevel(app_.Volume(), c_.ScrVolume.Value());
}

void PlayerForm::Click(Part part) {
    switch (part) {
        case PartCmdInfo: CmdInfo_Click(); break;
        case PartCmdPopup: CmdPopup_Click(); break;
        case PartCmdMinimum: CmdMinimum_Click(); break;
        case PartCmdClose: CmdClose_Click(); break;
        case PartCmdChoice: CmdChoice_Click(); break;
        case PartImgPrev: ImgPrev_Click(); break;
        case PartImgStop: ImgStop_Click(); break;
        case PartImgPlay: ImgPlay_Click(); break;
        case PartImgNext: ImgNext_Click(); break;
        default: break;
    }
}

LRESULT PlayerForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PaintDoubleBuffered(Handle(), size_, [this](HDC dc) { PaintContent(dc); });
            return 0;
        }
        case WM_PRINTCLIENT:
            PaintContent(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            pressed_ = HitTest(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            // A quick second click on a command button is a click as well; the image
            // buttons have a click only, and the second press of a double click is
            // not a new one (a double click on "next" must advance one entry).
            if (message == WM_LBUTTONDBLCLK && pressed_ >= PartImgPrev && pressed_ <= PartImgNext)
                pressed_ = PartNone;
            if (pressed_ != PartNone) {
                ::SetCapture(Handle());
                ::InvalidateRect(Handle(), nullptr, FALSE);
            }
            return 0;
        }
        case WM_LBUTTONUP: {
            const Part down = pressed_;
            pressed_ = PartNone;
            if (::GetCapture() == Handle()) ::ReleaseCapture();
            ::InvalidateRect(Handle(), nullptr, FALSE);
            const Part up = HitTest(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            if (down == PartNone || up != down) return 0;
            Click(up);
            return 0;
        }
        case WM_HSCROLL: {
            HWND bar = reinterpret_cast<HWND>(lParam);
            if (bar == scrTime_) OnScroll(c_.ScrTime, bar, LOWORD(wParam));
            if (bar == scrVolume_) OnScroll(c_.ScrVolume, bar, LOWORD(wParam));
            return 0;
        }
        case WM_CLOSE:
            // Closing the body window through the window system ends the player properly.
            app_.Shutdown();
            return 0;
        default:
            return WindowBase::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace tessel::player
