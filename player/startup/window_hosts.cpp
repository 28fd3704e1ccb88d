// What the program does when one of its windows asks: playback, the queue, the
// windows' places, the panel, the favourites and the tray icon.
#include "player/startup/Initialize.h"

#include "player/panel/panel_logic.h"
#include "player/playback/transport.h"
#include "player/playback/video_window_win32.h"
#include "player/shared/add_path.h"
#include "player/shared/on_screen_win32.h"
#include "player/startup/stored_names_win32.h"
#include "player/windows/walk_pump_win32.h"
#include "win32/menus.h"

namespace tessel::player {

void PlayerApp::PlayNext() { engine_->PlayNext(); }
void PlayerApp::PlayFile(const std::wstring& path) { engine_->PlayFile(path); }
void PlayerApp::ChooseListFile() { menuForm_.ChooseListFile(); }

void PlayerApp::HandleKey(int keyCode) {
    tessel::player::HandleKey(keyCode, *engine_, *mmc_, bodyControls_.ScrVolume);
}

void PlayerApp::AddToQueue(const std::vector<std::wstring>& paths) {
    // The windows answer between the folders; Esc or closing the player ends the walk.
    drops_.Add(paths, menuControls_, SystemFolders(),
               [this] { return LetWindowsAnswerDuringWalk() && !shutDown_ && !ended_; });
}

void PlayerApp::PlaceBodyWindow() {
    if (!playerForm_.Handle() || !skinForm_.Handle()) return;
    // Placing fails only for a window that is gone; nothing is left to place then.
    skin_.Place();
}

void PlayerApp::MoveSkinWindow(double leftTwips, double topTwips) {
    skinForm_.SetTopTwips(topTwips);
    skinForm_.SetLeftTwips(leftTwips);
}

void PlayerApp::KeepWindowsOnScreen() {
    const std::vector<ScreenRect> areas = MonitorWorkAreas();
    HWND skin = skinForm_.Handle();
    // The skinned pair moves as one: the skin window into a work area first, then both
    // by what the body window at its place against it still lacks.
    for (HWND window : {skin, playerForm_.Handle()}) {
        RECT now{}, skinNow{};
        if (!window || !::GetWindowRect(window, &now) || !::GetWindowRect(skin, &skinNow)) continue;
        const ScreenRect to = OnScreenRect(window, areas);
        const int dx = to.left - now.left, dy = to.top - now.top;
        if (dx == 0 && dy == 0) continue;
        ::SetWindowPos(skin, nullptr, skinNow.left + dx, skinNow.top + dy, 0, 0,
                       SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        PlaceBodyWindow();
    }
    KeepWindowOnScreen(menuForm_.Handle());
    if (VideoWindowsWin32().IsVideoWindow(vars_.VideoWindowHandle))
        KeepWindowOnScreen(reinterpret_cast<HWND>(vars_.VideoWindowHandle));
}

bool PlayerApp::PositionFixed() const { return menuControls_.ChkBreak.Value() != 0; }
void PlayerApp::TogglePanel() { menuForm_.SetPanelVisible(!menuForm_.PanelVisible()); }
void PlayerApp::ShowMenuPopup() { win32::ShowPopupMenu(menuForm_.RootMenu(), menuForm_.Handle()); }
void PlayerApp::HideWindows() { menuControls_.ChkHide.SetValue(1); }
void PlayerApp::ToggleHideWindows() { tessel::player::ToggleHideWindows(menuControls_.ChkHide); }

void PlayerApp::ReloadList() {
    menuControls_.LstM3u.Clear();
    engine_->LoadListFile(menuControls_.LblM3uName.Caption());
    // A list file that is gone loads nothing; the count must still say the queue is empty.
    menuControls_.LblListCount.SetCaption(std::to_wstring(menuControls_.LstM3u.ListCount()));
}

void PlayerApp::RefreshFavouritesMenu() {
    menuControls_.MenuFavList.UnloadAllButFirst();
    BuildFavouritesMenu();
}

bool PlayerApp::ReAddTrayIcon() { return !shutDown_ && tray_.ReAdd(); }

bool PlayerApp::CanRememberList(const std::wstring& path) const { return StorableListPath(path).has_value(); }

bool PlayerApp::CanRememberSkin(const std::wstring& name) const {
    return StorableSkinName(options_.programFolder, name).has_value();
}

}  // namespace tessel::player
