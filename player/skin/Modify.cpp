// ChangeSkin (module Modify): the skin-dependent steps of the start-up redone for a new
// skin while the player runs. Playback, options, translucency and settings stay as
// they are.
#include <filesystem>
#include <iterator>

#include "common/fileio.h"
#include "player/skin/skin_layout.h"
#include "player/skin/skin_paths.h"
#include "player/skin/skin_window_win32.h"
#include "player/startup/Initialize.h"
#include "player/startup/texts.h"

namespace tessel::player {

std::optional<std::wstring> PlayerApp::CheckSkinFiles(const LLVariable& candidate) const {
    // Every file is read as ApplySkinLayout and the icon will read it, so a skin that
    // passes here can be applied, and one that fails leaves the current skin in place
    // instead of ending the player half-way through the change.
    SkinLayout layout;
    if (auto error = ReadSkinLayout(PathFromWide(candidate.DefinePath), layout))
        return DescribeSkinLayoutError(*error, candidate.DefinePath);
    for (const std::wstring* mask : {&candidate.SkinMaskPath, &candidate.PlayerMaskPath}) {
        MaskBitmap pixels;
        if (auto failure = ReadMaskBitmap(*mask, pixels)) return failure->Message();
    }
    for (const std::wstring* picture : {&candidate.SkinBitmapPath, &candidate.PlayerBitmapPath}) {
        win32::unique_hbitmap bitmap;
        if (auto failure = LoadSkinBitmap(*picture, bitmap)) return failure->Message();
    }
    win32::unique_hicon icon;
    if (auto failure = LoadSkinIcon(candidate.TrayIconPath, 0, icon)) return failure->Message();
    return std::nullopt;
}

SkinChange PlayerApp::ChangeSkin() {
    SkinChange change;
    LLVariable candidate = vars;
    SetSkinPaths(options_.programFolder, candidate, false);
    if (auto problem = CheckSkinFiles(candidate)) {
        // The list is rebuilt all the same, so a skin folder that vanished drops out.
        menuControls.LstSkinFile.Clear();
        ListSkins();
        change.report = std::move(problem);
        return change;
    }
    const LLVariable inUse = vars;                                         // its paths and offsets
    SetSkinPaths(options_.programFolder, vars, false);                     // 1
    trayModified_ = UpdateTrayIcon();                                      // 2
    menuControls.LstSkinFile.SetEnabled(false);                            // 3
    std::optional<std::wstring> failure = ApplySkinLayout();
    if (failure) {
        // A file changed between the check and its use: the skin in use goes back on,
        // as far as it still can.
        RestoreSkinPaths(inUse);
        UpdateTrayIcon();
        ApplySkinLayout();
        change.report = std::move(failure);
    } else {
        change.applied = true;
    }
    menuControls.LstSkinFile.SetEnabled(true);
    menuControls.LstSkinFile.Clear();                                      // 4
    if (auto listFailure = ListSkins(); listFailure && !change.report) change.report = std::move(listFailure);
    RefreshFavouritesMenu();                                               // 5
    return change;
}

void PlayerApp::RestoreSkinPaths(const LLVariable& from) {
    vars.SkinMaskPath = from.SkinMaskPath;
    vars.SkinBitmapPath = from.SkinBitmapPath;
    vars.PlayerMaskPath = from.PlayerMaskPath;
    vars.PlayerBitmapPath = from.PlayerBitmapPath;
    vars.TrayIconPath = from.TrayIconPath;
    vars.DefinePath = from.DefinePath;
    vars.PlayerOffsetX = from.PlayerOffsetX;
    vars.PlayerOffsetY = from.PlayerOffsetY;
}

bool PlayerApp::UpdateTrayIcon() {
    win32::unique_hicon icon;
    if (LoadSkinIcon(vars.TrayIconPath, 0, icon)) return false;
    menuForm.SetIcon(icon.get());
    trayIconData_.hIcon = icon.get();
    std::wstring tip = texts::kTrayTip;
    tip.resize(kTrayTipWidth, L' ');
    wcsncpy_s(trayIconData_.szTip, std::size(trayIconData_.szTip), tip.c_str(), _TRUNCATE);
    const bool modified = trayAdded_ && ::Shell_NotifyIconW(NIM_MODIFY, &trayIconData_) != FALSE;
    // The old icon goes only now that neither the panel nor the shell uses it.
    trayIcon_ = std::move(icon);
    return modified;
}

bool PlayerApp::ReAddTrayIcon() {
    // The shell restarted and forgot every icon: without ours the player could not be
    // reached once its windows are hidden.
    if (!trayIcon_ || shutDown_) return false;
    trayAdded_ = ::Shell_NotifyIconW(NIM_ADD, &trayIconData_) != FALSE;
    return trayAdded_;
}

void PlayerApp::ClearFavouritesMenu() { menuControls.MenuFavList.UnloadAllButFirst(); }

void PlayerApp::RefreshFavouritesMenu() {
    ClearFavouritesMenu();
    try {
        BuildFavouritesMenu();
    } catch (const Failure&) {
        // A favourites folder that cannot be created leaves the menu at "更新する"; the
        // player goes on.
    }
}

void PlayerApp::ReloadList() {
    menuControls.LstM3u.Clear();
    engine_->LoadListFile(menuControls.LblM3uName.Caption());
    // A list file that is gone loads nothing; the count must still say the queue is empty.
    menuControls.LblListCount.SetCaption(std::to_wstring(menuControls.LstM3u.ListCount()));
}

}  // namespace tessel::player
