// SkinForm, the skin backdrop window: borderless, shaped by the skin's mask, showing
// the skin's picture. The user drags it, right-clicks it for the menu, double-clicks
// it for the control panel, types at it and drops files on it. Its position is held in
// twips, as the settings file stores it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "common/twips.h"
#include "player/shared/llvariable.h"
#include "player/shared/window_hosts.h"
#include "player/windows/parts_accessible.h"
#include "player/windows/player_window.h"
#include "win32/handle.h"
#include "win32/paint.h"

namespace tessel::player {

inline constexpr const wchar_t* kSkinFormClass = L"TesselSkinForm";

class SkinForm : public PlayerWindow {
public:
    SkinForm(SkinWindowHost& host, LLVariable& vars, const TwipsPerPixel& factors);

    void Load();
    void SetPicture(win32::unique_hbitmap picture);
    // Takes the window's current size as its own (after the skin sized it).
    void TakeWindowSize();
    // After the skin scale changed: the place on the screen held in the new twips, the
    // font at the new scale.
    void LayOut();

    double LeftTwips() const { return leftTwips_; }
    double TopTwips() const { return topTwips_; }
    void SetLeftTwips(double twips);
    void SetTopTwips(double twips);
    SIZE SizePixels() const { return size_; }

    void PaintContent(HDC dc) override;

    // This window takes the focus and the keys, so a screen reader starting from the
    // focus finds the player's controls here: the body window's parts, where that
    // window shows them.
    void ExposeParts(BodyPartsSource& parts) { accessible_.emplace(parts); }

    // Handlers; X and Y in the window's own pixels.
    void Form_DblClick();
    void Form_KeyDown(int keyCode);
    void Form_KeyUp(int keyCode);
    void Form_LostFocus();
    void Form_MouseDown(int button, int x, int y);
    void Form_MouseUp(int button, int x, int y);
    void Form_OLEDragDrop(const std::vector<std::wstring>& paths);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void MoveToHeldPosition();
    void KeepMovedPosition();
    void MakeFont();

    SkinWindowHost& host_;
    LLVariable& vars_;
    const TwipsPerPixel& factors_;
    SIZE size_{320, 120};
    double leftTwips_ = 3000, topTwips_ = 3000;
    bool moving_ = false;
    win32::unique_hbitmap picture_;
    win32::unique_hfont font_;
    std::optional<PartsAccessible> accessible_;
};

}  // namespace tessel::player
