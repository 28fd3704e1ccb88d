// The player's shared variables and the state-holding controls of its windows.
//
// The controls are the player's data model: the queue is the item list of LstM3u, the
// current list file the caption of LblM3uName, the options the check boxes. The Win32
// windows own views of these objects; every routine reads and writes the objects, so
// the same routine runs in a native test and in the real program.
#pragma once

#include <cstdint>
#include <string>

#include "player/shared/controls.h"
#include "player/shared/skin_list.h"

namespace tessel::player {

struct ScreenRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// A window handle as portable code sees it: an opaque number, 0 for none.
using WindowId = std::uintptr_t;

struct LLVariable {
    std::wstring SkinName;
    std::wstring SkinMaskPath, SkinBitmapPath, PlayerMaskPath, PlayerBitmapPath,
        TrayIconPath, DefinePath;
    std::int32_t PlayerOffsetX = 0, PlayerOffsetY = 0;
    bool LayeredAvailable = false;
    WindowId VideoWindowHandle = 0;
    ScreenRect VideoWindowRect;
    bool TimeBarFocused = false, VolumeActive = false, ListLeftButtonDown = false;
    std::int32_t DragGrabX = 0, DragGrabY = 0;
};

// The controls of the control panel that hold state.
struct MenuFormControls {
    ListBox LstM3u;
    Label LblM3uName;
    Label LblMediaName;
    Label LblListCount{L"0"};
    Label LblScrLstName, LblScrMediaName;
    CheckBox ChkRandom, ChkEndless, ChkHide, ChkBreak, ChkStartPlay;
    ComboBox CmbDispSize;
    ScrollBar ScrSkinTrans{0, 255, 255};
    ScrollBar ScrPlayerTrans{0, 255, 255};
    // Sorted in the skin list's own order, so the list shows what ListSkins sorted.
    ListBox LstSkinFile{SkinNameLess};
    MenuArray MenuFavList{MenuItem{L"更新する", false, true}};
};

// The controls of the body window that hold state.
struct PlayerFormControls {
    ScrollBar ScrTime{0, 400, 0};
    ScrollBar ScrVolume{0, 255, 0};
    Label LblTitle;
    Label LblNTime{L"Now"};
    Label LblTTime{L"Total"};
};

}  // namespace tessel::player
