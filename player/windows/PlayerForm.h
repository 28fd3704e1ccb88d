// PlayerForm, the body window: borderless, 1440 x 1245 twips, caption "PlayerForm".
// The caption is never shown; it is the mailbox of the single-instance hand-over.
// Its labels and image buttons are regions it paints and hit-tests itself.
#pragma once

#include <windows.h>

#include <string>

#include "player/shared/llvariable.h"
#include "player/shared/control_views.h"
#include "player/shared/unique_handle.h"
#include "player/shared/window_base.h"

namespace tessel::player {

class PlayerApp;

inline constexpr const wchar_t* kPlayerFormClass = L"TesselPlayerForm";

class PlayerForm : public WindowBase {
public:
    PlayerForm(PlayerApp& app, PlayerFormControls& controls);
    ~PlayerForm() override;

    // Creates the window, hidden.
    void Load();
    void SetCaption(const std::wstring& caption);
    std::wstring Caption() const;
    // The picture behind the controls (the skin's player.bmp); null for plain painting.
    void SetPicture(unique_hbitmap picture);
    void SetToolTip(UINT toolId, const std::wstring& text);
    SIZE SizePixels() const { return size_; }

    // Tool ids of the painted controls, for tool tips and hit-testing.
    enum Part : UINT {
        PartNone = 0, PartCmdInfo = 1, PartCmdPopup, PartCmdMinimum, PartCmdClose, PartCmdChoice,
        PartImgPrev, PartImgStop, PartImgPlay, PartImgNext, PartLblNTime, PartLblTTime, PartLblTitle,
    };
    RECT PartRect(Part part) const;
    Part HitTest(POINT client) const;

    void CmdClose_Click();
    void CmdPopup_Click();
    void ImgPlay_Click();
    void ImgNext_Click();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void PaintContent(HDC dc);
    void InvalidatePart(Part part);

    PlayerApp& app_;
    PlayerFormControls& c_;
    SIZE size_{96, 83};
    unique_hbitmap picture_;
    unique_hfont font_;
    ToolTips tips_;
    HWND scrTime_ = nullptr, scrVolume_ = nullptr;
    Part pressed_ = PartNone;
};

}  // namespace tessel::player
