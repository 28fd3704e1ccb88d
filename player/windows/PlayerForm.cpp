#include "player/windows/PlayerForm.h"

#include <iterator>
#include <utility>

#include "common/twips.h"
#include "player/playback/mmc/media_device.h"
#include "player/playback/transport.h"
#include "player/skin/placement.h"
#include "player/playback/volume.h"
#include "player/shared/texts.h"

namespace tessel::player {
namespace {

namespace t = window_texts;

constexpr int kIdScrTime = 11;
constexpr int kIdScrVolume = 12;

// Sent to itself to do a part's click after an accessibility client's call returned.
constexpr UINT kPartClickMessage = WM_APP + 40;

RECT ToRect(const ScreenRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

// How each painted part is drawn and what a click on it does, indexed by
// PlayerForm::Part; its place, role and tool tip are in the shared table of parts.
struct PartDesign {
    BodyPart design;
    // Drawn when the part has no face (or, for an image button, the skin no picture).
    const wchar_t* glyph;
    // Resource names of a command button's raised and pressed faces.
    const wchar_t* face;
    const wchar_t* pressedFace;
    // What a click does; read-outs take none.
    void (PlayerForm::*click)();
};

constexpr PartDesign kParts[] = {
    {BodyPart::Count, L"", nullptr, nullptr, nullptr},  // PartNone
    {BodyPart::CmdInfo, L"i", L"CMD_INFO", L"CMD_INFO_DOWN", &PlayerForm::CmdInfo_Click},
    {BodyPart::CmdPopup, L"≡", L"CMD_POPUP", L"CMD_POPUP_DOWN", &PlayerForm::CmdPopup_Click},
    {BodyPart::CmdMinimum, L"_", L"CMD_MINIMUM", L"CMD_MINIMUM_DOWN", &PlayerForm::CmdMinimum_Click},
    {BodyPart::CmdClose, L"×", L"CMD_CLOSE", L"CMD_CLOSE_DOWN", &PlayerForm::CmdClose_Click},
    {BodyPart::CmdChoice, L"…", L"CMD_CHOICE", L"CMD_CHOICE_DOWN", &PlayerForm::CmdChoice_Click},
    {BodyPart::ImgPrev, L"|◀", nullptr, nullptr, &PlayerForm::ImgPrev_Click},
    {BodyPart::ImgStop, L"Ⅱ", nullptr, nullptr, &PlayerForm::ImgStop_Click},
    {BodyPart::ImgPlay, L"▶", nullptr, nullptr, &PlayerForm::ImgPlay_Click},
    {BodyPart::ImgNext, L"▶|", nullptr, nullptr, &PlayerForm::ImgNext_Click},
    {BodyPart::LblNTime, L"", nullptr, nullptr, nullptr},
    {BodyPart::LblTTime, L"", nullptr, nullptr, nullptr},
    {BodyPart::LblTitle, L"", nullptr, nullptr, nullptr},
};
static_assert(std::size(kParts) == PlayerForm::PartCount);

// The painted part that is the given part of the table; PartNone for the bars, which
// are real controls.
PlayerForm::Part PaintedPart(BodyPart part) {
    for (UINT p = PlayerForm::PartNone + 1; p < PlayerForm::PartCount; ++p)
        if (kParts[p].design == part) return static_cast<PlayerForm::Part>(p);
    return PlayerForm::PartNone;
}

bool IsCommandButton(UINT part) { return kParts[part].face != nullptr; }
bool IsImageButton(UINT part) { return kParts[part].click != nullptr && kParts[part].face == nullptr; }

}  // namespace

PlayerForm::PlayerForm(BodyWindowHost& host, LLVariable& vars, const TwipsPerPixel& factors,
                       PlayerFormControls& controls)
    : PlayerWindow(host), host_(host), vars_(vars), factors_(factors), c_(controls), accessible_(*this) {}

PlayerForm::~PlayerForm() {
    c_.LblTitle.view = nullptr;
    c_.LblNTime.view = nullptr;
    c_.LblTTime.view = nullptr;
    c_.ScrTime.view = nullptr;
    c_.ScrVolume.view = nullptr;
}

RECT PlayerForm::PartRect(Part part) const {
    return part == PartNone ? RECT{} : ToRect(PartPixels(kParts[part].design, factors_));
}

PlayerForm::Part PlayerForm::HitTest(POINT pt) const {
    const std::optional<BodyPart> at = PartAt(pt.x, pt.y, factors_, size_.cx, size_.cy);
    const Part part = at ? PaintedPart(*at) : PartNone;
    return kParts[part].click ? part : PartNone;
}

void PlayerForm::Load() {
    RegisterWindowClass(kPlayerFormClass, CS_DBLCLKS, nullptr);
    // Fixed by the window's design at 1440 x 1245 twips.
    const PixelSize design = PlayerFormPixelSize(factors_);
    size_ = SIZE{design.width, design.height};
    // Created under the second instance's caption: only once the start-up knows it is
    // the running instance does the window take the caption "PlayerForm" by which
    // later starts find it. A second start that is still loading can thus never be
    // mistaken for the running one.
    CreateWindowOf(kPlayerFormClass, texts::kMultiActiveCaption, WS_POPUP | WS_CLIPCHILDREN,
                   WS_EX_TOOLWINDOW, 0, 0, size_.cx, size_.cy);
    tips_.Create(Handle());
    // The bars get their places from LayOut, with the window's size and font.
    scrTime_ = win32::CreateChild(Handle(), L"SCROLLBAR", nullptr, WS_VISIBLE | SBS_HORZ, RECT{}, kIdScrTime, nullptr);
    scrVolume_ =
        win32::CreateChild(Handle(), L"SCROLLBAR", nullptr, WS_VISIBLE | SBS_HORZ, RECT{}, kIdScrVolume, nullptr);
    LayOut();
    BindScrollBar(c_.ScrTime, scrTime_, &tips_);
    BindScrollBar(c_.ScrVolume, scrVolume_, &tips_);
    // The bars' focus is shared state (the status event and the volume read-back
    // leave a focused bar alone), so their focus changes are watched here.
    auto barMessage = [this](HWND bar, UINT message, WPARAM, LPARAM) { return Bar_Message(bar, message); };
    scrTimeHook_.Attach(scrTime_, barMessage);
    scrVolumeHook_.Attach(scrVolume_, barMessage);
    LoadButtonFaces();
    // The read-outs are painted: a change repaints the label's own rectangle.
    c_.LblTitle.view = [this](ControlChange, std::size_t) { InvalidatePart(PartLblTitle); };
    c_.LblNTime.view = [this](ControlChange, std::size_t) { InvalidatePart(PartLblNTime); };
    c_.LblTTime.view = [this](ControlChange, std::size_t) { InvalidatePart(PartLblTTime); };
}

void PlayerForm::LayOut() {
    // Every measure comes from the design in twips, at the skin's scale.
    const TwipsPerPixel f = factors_;
    const PixelSize design = PlayerFormPixelSize(f);
    size_ = SIZE{design.width, design.height};
    ::SetWindowPos(Handle(), nullptr, 0, 0, size_.cx, size_.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    font_.reset(::CreateFontW(-TwipsToPixels(180, f.y) + 1, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                              DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH, L"MS UI Gothic"));
    for (const auto& [bar, part] : {std::pair{scrTime_, BodyPart::ScrTime}, std::pair{scrVolume_, BodyPart::ScrVolume}}) {
        const RECT r = ToRect(PartPixels(part, f));
        ::SetWindowPos(bar, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (tipsSet_) SetToolTips();
    ::InvalidateRect(Handle(), nullptr, FALSE);
}

void PlayerForm::LoadButtonFaces() {
    // Part of the program's design; a program built without them draws plain symbols.
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    for (UINT p = PartNone + 1; p < PartCount; ++p) {
        if (!IsCommandButton(p)) continue;
        const wchar_t* names[2] = {kParts[p].face, kParts[p].pressedFace};
        for (int pressed = 0; pressed < 2; ++pressed) {
            faces_[p][pressed].reset(static_cast<HBITMAP>(
                ::LoadImageW(module, names[pressed], IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
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

std::optional<LRESULT> PlayerForm::Bar_Message(HWND bar, UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // A click takes the focus first, as a scroll bar of a form does, so the
            // change that follows already sees the bar focused.
            if (::GetFocus() != bar) ::SetFocus(bar);
            break;
        case WM_SETFOCUS:
            if (bar == scrTime_) ScrTime_GotFocus();
            if (bar == scrVolume_) ScrVolume_GotFocus();
            break;
        case WM_KILLFOCUS:
            if (bar == scrTime_) ScrTime_LostFocus();
            if (bar == scrVolume_) ScrVolume_LostFocus();
            break;
        default:
            break;
    }
    return std::nullopt;
}

void PlayerForm::SetCaption(const std::wstring& caption) { ::SetWindowTextW(Handle(), caption.c_str()); }

std::wstring PlayerForm::Caption() const { return win32::WindowText(Handle()); }

void PlayerForm::SetPicture(win32::unique_hbitmap picture) {
    picture_ = std::move(picture);
    if (Handle()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void PlayerForm::SetToolTips() {
    tipsSet_ = true;
    for (UINT p = PartNone + 1; p < PartCount; ++p)
        tips_.SetForRect(p, PartRect(static_cast<Part>(p)), DesignOf(kParts[p].design).name);
}

void PlayerForm::InvalidatePart(Part part) {
    if (!Handle()) return;
    const RECT r = PartRect(part);
    ::InvalidateRect(Handle(), &r, FALSE);
}

void PlayerForm::PaintContent(HDC dc) {
    const RECT buttons{0, 0, size_.cx, PartPixels(BodyPart::ImgPrev, factors_).top};
    const RECT group{0, buttons.bottom, size_.cx, size_.cy};

    win32::unique_hbrush bar(::CreateSolidBrush(RGB(24, 36, 58)));
    ::FillRect(dc, &buttons, bar.get());  // PictBtnGroup behind the buttons
    const bool plain = !picture_ || !win32::DrawBitmap(dc, picture_.get(), group.left, group.top,
                                                       group.right - group.left, group.bottom - group.top);
    if (plain) {
        // No skin picture: a quiet vertical gradient in the skin's blue.
        win32::FillRows(dc, group, [](int t) { return RGB(36 + t / 12, 72 + t / 8, 120 + t / 6); });
    }

    win32::SelectObjectGuard font(dc, font_.get());
    ::SetBkMode(dc, TRANSPARENT);
    auto drawText = [&](const std::wstring& text, RECT r, UINT format, COLORREF colour) {
        ::SetTextColor(dc, colour);
        ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r,
                    format | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    };
    for (UINT p = PartNone + 1; p < PartCount; ++p) {
        RECT r = PartRect(static_cast<Part>(p));
        if (IsCommandButton(p)) {
            HBITMAP face = faces_[p][pressed_ == p ? 1 : 0].get();
            BITMAP info{};
            win32::unique_memory_dc mem(face ? ::CreateCompatibleDC(dc) : nullptr);
            if (mem && ::GetObjectW(face, sizeof info, &info)) {
                win32::SelectObjectGuard select(mem.get(), face);
                ::StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, mem.get(), 0, 0, info.bmWidth,
                             info.bmHeight, SRCCOPY);
            } else {
                if (pressed_ == p) ::InvertRect(dc, &r);
                drawText(kParts[p].glyph, r, DT_CENTER | DT_VCENTER, RGB(220, 232, 255));
            }
        } else if (IsImageButton(p) && plain) {
            drawText(kParts[p].glyph, r, DT_CENTER | DT_VCENTER, RGB(255, 255, 255));
        }
    }
    // The read-outs over the picture in the skin's text colour; the title runs on
    // under the window's right edge, where the marquee brings it back.
    const COLORREF text = textColour_;
    drawText(c_.LblNTime.Caption(), PartRect(PartLblNTime), DT_RIGHT | DT_VCENTER, text);
    drawText(c_.LblTTime.Caption(), PartRect(PartLblTTime), DT_RIGHT | DT_VCENTER, text);
    drawText(c_.LblTitle.Caption(), PartRect(PartLblTitle), DT_LEFT | DT_VCENTER, text);
}

void PlayerForm::CmdChoice_Click() { host_.ChooseListFile(); }
void PlayerForm::CmdClose_Click() { host_.Shutdown(); }

void PlayerForm::CmdInfo_Click() {
    ::MessageBoxW(Handle(), window_texts::kVersionText, window_texts::kVersionTitle, MB_OK);
}

// The hide option does the rest (and nothing when it is on already).
void PlayerForm::CmdMinimum_Click() { host_.HideWindows(); }
void PlayerForm::CmdPopup_Click() { host_.TogglePanel(); }
void PlayerForm::ImgNext_Click() { host_.PlayNext(); }
// Like next: a medium playing or paused is not resumed but followed by the next one.
void PlayerForm::ImgPlay_Click() { host_.PlayNext(); }
void PlayerForm::ImgPrev_Click() {
    if (MediaDevice* mmc = host_.Device()) PlayFromStart(*mmc);
}
void PlayerForm::ImgStop_Click() {
    if (MediaDevice* mmc = host_.Device()) PausePlay(*mmc);
}

void PlayerForm::ScrTime_GotFocus() { vars_.TimeBarFocused = true; }
void PlayerForm::ScrTime_LostFocus() { vars_.TimeBarFocused = false; }

void PlayerForm::ScrTime_Change() {
    // Only the user's moves seek. The focus alone does not tell: the bar keeps it after
    // a click, and a new medium's range and value set while it is focused would seek
    // that medium (to its end, when it is shorter than the old position).
    if (!vars_.TimeBarFocused || !c_.ScrTime.ChangedByUser() || !host_.Device()) return;
    MediaDevice& mmc = *host_.Device();
    if (mmc.Position() == mmc.Length() || mmc.Mode() == MediaDevice::kModeStopped) return;
    mmc.SetFrom(static_cast<std::int32_t>(c_.ScrTime.Value()) * 1000);
    mmc.Command(MediaCommand::Play);
}

void PlayerForm::ScrVolume_GotFocus() { vars_.VolumeActive = true; }
void PlayerForm::ScrVolume_LostFocus() { vars_.VolumeActive = false; }

void PlayerForm::ScrVolume_Change() {
    // The read-back sets the bar with VolumeActive off and so never writes back.
    if (!vars_.VolumeActive) return;
    WriteVolumeLevel(host_.Volume(), c_.ScrVolume.Value());
}

ScreenRect PlayerForm::PartOnScreen(BodyPart part) const {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    ScreenRect r = VisiblePartPixels(part, factors_, client.right, client.bottom);
    POINT origin{0, 0};
    ::ClientToScreen(Handle(), &origin);
    return ScreenRect{r.left + origin.x, r.top + origin.y, r.right + origin.x, r.bottom + origin.y};
}

std::optional<std::wstring> PlayerForm::PartValueText(BodyPart part) const { return PartValue(part, c_); }

bool PlayerForm::PartFocused(BodyPart part) const {
    HWND focus = ::GetFocus();
    return focus && ((part == BodyPart::ScrTime && focus == scrTime_) ||
                     (part == BodyPart::ScrVolume && focus == scrVolume_));
}

bool PlayerForm::PartsVisible() const { return ::IsWindowVisible(Handle()) != FALSE; }

void PlayerForm::PostPartClick(BodyPart part) {
    const Part painted = PaintedPart(part);
    if (painted != PartNone) ::PostMessageW(Handle(), kPartClickMessage, painted, 0);
}

void PlayerForm::Click(Part part) {
    if (part < PartCount && kParts[part].click) (this->*kParts[part].click)();
}

LRESULT PlayerForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK: {
            pressed_ = HitTest(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            // A quick second click on a command button is a click as well; the image
            // buttons have a click only, and the second press of a double click is
            // not a new one (a double click on "next" must advance one entry).
            if (message == WM_LBUTTONDBLCLK && IsImageButton(pressed_)) pressed_ = PartNone;
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
        case kPartClickMessage:
            Click(static_cast<Part>(wParam));
            return 0;
        case WM_GETOBJECT:
            if (auto answer = accessible_.Answer(Handle(), wParam, lParam)) return *answer;
            return PlayerWindow::HandleMessage(message, wParam, lParam);
        case WM_DPICHANGED:
            // Its size and place follow the skin window's scale, whatever monitor it
            // is on itself.
            return 0;
        default:
            return PlayerWindow::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace tessel::player
