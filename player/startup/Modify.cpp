// ChangeSkin (module Modify): the skin-dependent steps of the start-up redone for a new
// skin while the player runs. Playback, options, translucency and settings stay as
// they are.
#include "player/shared/texts.h"
#include "player/skin/skin_paths.h"
#include "player/startup/Initialize.h"

namespace tessel::player {

SkinChange PlayerApp::ChangeSkin() {
    SkinChange change;
    if (auto problem = SkinApplier::SkinProblem(options_.programFolder, vars_.SkinName)) {
        // The list is rebuilt all the same, so a skin folder that vanished drops out.
        menuControls_.LstSkinFile.Clear();
        ListSkins();
        change.report = std::move(problem);
        return change;
    }
    const LLVariable inUse = vars_;                                         // its paths and offsets
    SetSkinPaths(options_.programFolder, vars_, false);                     // 1
    tray_.Change(vars_.TrayIconPath, PlaybackEngine::TrayTipFor(texts::kTrayTip));  // 2
    menuControls_.LstSkinFile.SetEnabled(false);                            // 3
    std::optional<std::wstring> failure = skin_.Apply();
    if (failure) {
        // A file changed between the check and its use: the skin in use goes back on,
        // as far as it still can.
        RestoreSkinPaths(inUse);
        tray_.Change(vars_.TrayIconPath, PlaybackEngine::TrayTipFor(texts::kTrayTip));
        if (std::optional<std::wstring> again = skin_.Apply()) {
            // Neither skin is whole on the windows now; the user hears of both.
            change.restoreFailed = true;
            change.report = std::wstring(menu_texts::kSkinRestoreFailed) + L"\r\n\r\n" + *failure + L"\r\n\r\n" + *again;
        } else {
            change.report = std::move(failure);
        }
    } else {
        change.applied = true;
    }
    menuControls_.LstSkinFile.SetEnabled(true);
    menuControls_.LstSkinFile.Clear();                                      // 4
    if (auto listFailure = ListSkins(); listFailure && !change.report) change.report = std::move(listFailure);
    RefreshFavouritesMenu();                                               // 5
    return change;
}

void PlayerApp::RestoreSkinPaths(const LLVariable& from) {
    vars_.SkinMaskPath = from.SkinMaskPath;
    vars_.SkinBitmapPath = from.SkinBitmapPath;
    vars_.PlayerMaskPath = from.PlayerMaskPath;
    vars_.PlayerBitmapPath = from.PlayerBitmapPath;
    vars_.TrayIconPath = from.TrayIconPath;
    vars_.DefinePath = from.DefinePath;
    vars_.PlayerOffsetX = from.PlayerOffsetX;
    vars_.PlayerOffsetY = from.PlayerOffsetY;
}

}  // namespace tessel::player
