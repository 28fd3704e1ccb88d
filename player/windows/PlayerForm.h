// PlayerForm, the body window: borderless, 1440 x 1245 twips, caption "PlayerForm".
// The caption is never shown; it is the mailbox of the single-instance hand-over.
// Its labels and image buttons are regions it paints and hit-tests itself.
#pragma once

#include <windows.h>

#include <string>

#include "player/shared/control_views.h"
#include "common/twips.h"
#include "player/shared/llvariable.h"
#include "player/shared/window_hosts.h"
#include "player/windows/parts_accessible.h"
#include "player/windows/player_window.h"
#include "win32/child_hook.h"
#include "win32/handle.h"
#include "win32/paint.h"

namespace tessel::player {

inline constexpr const wchar_t* kPlayerFormClass = L"TesselPlayerForm";

class PlayerForm : public PlayerWindow, public BodyPartsSource {
public:
    PlayerForm(BodyWindowHost& host, LLVariable& vars, const TwipsPerPixel& factors, PlayerFormControls& controls);
    ~PlayerForm() override;

    // Creates the window, hidden.
    void Load();
    // Size, font, scroll bars and tool tips again from the design, at the skin scale
    // in use (after it changed).
    void LayOut();
    void SetCaption(const std::wstring& caption);
    std::wstring Caption() const;
    // The picture behind the controls (the skin's player.bmp); null for plain painting.
    void SetPicture(win32::unique_hbitmap picture);
    // The tool tips of the painted parts.
    void SetToolTips();
    // The skin's text colour of LblNTime, LblTitle and LblTTime.
    void SetTextColour(COLORREF colour);
    COLORREF TextColour() const { return textColour_; }
    // Connects the two bars' change handlers (after the engine exists).
    void BindHandlers();
    HWND ScrTimeWindow() const { return scrTime_; }
    HWND ScrVolumeWindow() const { return scrVolume_; }
    void PaintContent(HDC dc) override;
    SIZE SizePixels() const { return size_; }

    // The painted controls, for tool tips and hit-testing: the five command buttons,
    // the four image buttons and the three read-outs.
    enum Part : UINT {
        PartNone = 0, PartCmdInfo = 1, PartCmdPopup, PartCmdMinimum, PartCmdClose, PartCmdChoice,
        PartImgPrev, PartImgStop, PartImgPlay, PartImgNext, PartLblNTime, PartLblTTime, PartLblTitle,
        PartCount
    };
    RECT PartRect(Part part) const;
    // The button under a point of the client area (read-outs are not buttons).
    Part HitTest(POINT client) const;

    void CmdChoice_Click();
    void CmdClose_Click();
    void CmdInfo_Click();
    void CmdMinimum_Click();
    void CmdPopup_Click();
    void ImgNext_Click();
    void ImgPlay_Click();
    void ImgPrev_Click();
    void ImgStop_Click();
    void ScrTime_GotFocus();
    void ScrTime_LostFocus();
    void ScrTime_Change();
    void ScrVolume_GotFocus();
    void ScrVolume_LostFocus();
    void ScrVolume_Change();
    // A click on a painted part, as the mouse gives it.
    void Click(Part part);

    // The parts for assistive technology (this window's and the skin window's).
    ScreenRect PartOnScreen(BodyPart part) const override;
    std::optional<std::wstring> PartValueText(BodyPart part) const override;
    bool PartFocused(BodyPart part) const override;
    bool PartsVisible() const override;
    void PostPartClick(BodyPart part) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::optional<LRESULT> Bar_Message(HWND bar, UINT message);
    void InvalidatePart(Part part);
    void LoadButtonFaces();

    BodyWindowHost& host_;
    LLVariable& vars_;
    const TwipsPerPixel& factors_;
    PlayerFormControls& c_;
    SIZE size_{96, 83};
    win32::unique_hbitmap picture_;
    win32::unique_hfont font_;
    ToolTips tips_;
    HWND scrTime_ = nullptr, scrVolume_ = nullptr;
    // The bars' focus changes come through a procedure in front of theirs.
    win32::ChildHook scrTimeHook_, scrVolumeHook_;
    Part pressed_ = PartNone;
    bool tipsSet_ = false;
    COLORREF textColour_ = RGB(255, 255, 255);
    // Raised and pressed faces of the command buttons (empty for the other parts).
    win32::unique_hbitmap faces_[PartCount][2];
    PartsAccessible accessible_;
};

}  // namespace tessel::player
