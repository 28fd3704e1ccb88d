// SkinForm, the skin backdrop window: borderless, showing the skin's picture. Its
// position is held in twips, as the settings file stores it.
#pragma once

#include <windows.h>

#include "player/shared/unique_handle.h"
#include "player/shared/window_base.h"

namespace tessel::player {

class PlayerApp;

inline constexpr const wchar_t* kSkinFormClass = L"TesselSkinForm";

class SkinForm : public WindowBase {
public:
    explicit SkinForm(PlayerApp& app);

    void Load();
    void SetPicture(unique_hbitmap picture);

    double LeftTwips() const { return leftTwips_; }
    double TopTwips() const { return topTwips_; }
    void SetLeftTwips(double twips);
    void SetTopTwips(double twips);
    SIZE SizePixels() const { return size_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void MoveToHeldPosition();
    void PaintContent(HDC dc);

    PlayerApp& app_;
    SIZE size_{320, 120};
    double leftTwips_ = 3000, topTwips_ = 3000;
    bool moving_ = false;
    unique_hbitmap picture_;
    unique_hfont font_;
};

}  // namespace tessel::player
