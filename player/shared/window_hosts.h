// What each of the player's three windows may ask of the program as a whole. The
// program (PlayerApp) implements all three; a window sees only its own interface, so
// no window reaches the program's state or another window except through these.
// The variables the windows share (LLVariable) and the twips-per-pixel factors are
// handed to the windows as data of their own.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace tessel {
class MediaDevice;
}

namespace tessel::player {

class PlaybackEngine;
class VolumeDevice;
struct PlayerFormControls;

// What a run-time skin change did: whether the new skin is in use, and a report for
// the user when something failed (with `applied` false the skin in use stayed).
struct SkinChange {
    bool applied = false;
    std::optional<std::wstring> report;
    // The new skin failed on the windows and the one in use could not be put back
    // either: the report says so, with both reasons.
    bool restoreFailed = false;
};

// What every window may ask.
class WindowHost {
public:
    virtual MediaDevice* Device() = 0;
    virtual VolumeDevice& Volume() = 0;
    virtual void PlayNext() = 0;
    virtual void PlayFile(const std::wstring& path) = 0;
    // Dropped files and folders into the queue.
    virtual void AddToQueue(const std::vector<std::wstring>& paths) = 0;
    // The body window against the skin window, both topmost.
    virtual void PlaceBodyWindow() = 0;
    // The control panel shown if hidden, hidden if shown.
    virtual void TogglePanel() = 0;
    virtual void Shutdown() = 0;
    // A message every window hands over first: the media keys (hot keys and
    // application commands) are the program's. A result means it was taken.
    virtual std::optional<LRESULT> MediaKeyMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    ~WindowHost() = default;
};

// The skin window's: its keys, its drops, its drag and the menu it pops up.
class SkinWindowHost : public WindowHost {
public:
    // Space, Enter, BackSpace and the arrows, as the key rules say.
    virtual void HandleKey(int keyCode) = 0;
    // Whether "位置を固定" holds the windows where they are.
    virtual bool PositionFixed() const = 0;
    // The root menu as a popup at the cursor.
    virtual void ShowMenuPopup() = 0;
    // WM_DPICHANGED: the skin window is on a monitor of `dpi` now; `suggested` is
    // where the system would put it at that scale.
    virtual void ChangeSkinScale(int dpi, const RECT& suggested) = 0;
    // WM_DISPLAYCHANGE: monitors came, went or changed their resolution.
    virtual void DisplayChanged() = 0;

protected:
    ~SkinWindowHost() = default;
};

// The body window's: its picture buttons and its two bars.
class BodyWindowHost : public WindowHost {
public:
    virtual void ChooseListFile() = 0;
    // "隠す" checked: both windows go, the tray icon stays.
    virtual void HideWindows() = 0;

protected:
    ~BodyWindowHost() = default;
};

// The control panel's: the queue, the list file, the skins, the favourites and the
// two other windows it moves, shows and makes translucent.
class PanelHost : public WindowHost {
public:
    virtual PlaybackEngine& Engine() = 0;
    virtual PlayerFormControls& BodyControls() = 0;
    virtual const std::wstring& ProgramFolder() const = 0;
    virtual HWND SkinWindow() const = 0;
    virtual HWND BodyWindow() const = 0;
    virtual SIZE SkinWindowSize() const = 0;
    virtual SIZE BodyWindowSize() const = 0;
    virtual void MoveSkinWindow(double leftTwips, double topTwips) = 0;
    virtual std::wstring BodyCaption() const = 0;
    virtual void SetBodyCaption(const std::wstring& caption) = 0;
    virtual void ToggleHideWindows() = 0;
    // The queue refilled from the list file named by LblM3uName.
    virtual void ReloadList() = 0;
    // The run-time skin change, for the skin named by the variables' SkinName.
    virtual SkinChange ChangeSkin() = 0;
    // The offered skins into LstSkinFile; the report of a failure.
    virtual std::optional<std::wstring> ListSkins() = 0;
    // Whether the settings file can keep the list file or the skin for the next start
    // (by its own name or by the short name the system gives it).
    virtual bool CanRememberList(const std::wstring& path) const = 0;
    virtual bool CanRememberSkin(const std::wstring& name) const = 0;
    virtual void RefreshFavouritesMenu() = 0;
    // The shell restarted: the tray icon again.
    virtual bool ReAddTrayIcon() = 0;
    virtual void ShutdownForSessionEnd() = 0;

protected:
    ~PanelHost() = default;
};

}  // namespace tessel::player
