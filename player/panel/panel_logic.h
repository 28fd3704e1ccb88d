// The control panel's rules that need no window: the window commands' arithmetic, the
// list panel's commands over the queue, the right-click decision, the list's sideways
// panning, the scrolling read-outs and the favourites' picks. MenuForm only translates
// messages into these calls and draws.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>

#include "player/shared/llvariable.h"

namespace tessel::player {

// ---------------------------------------------------------------------------------
// Window commands

// Where "0,0移動" puts the skin window, in twips: the taller of the two windows ends
// with its top at the screen's top and the body window (placed to the skin window's
// left, bottoms aligned) with its left edge at the screen's left edge.
struct Move00Target {
    double skinLeft = 0, skinTop = 0;
};
Move00Target CmdMove00Target(double skinHeight, double playerWidth, double playerHeight);

// ChkHide from 1 to 0; from 0 or the grey state 2 to 1. The change runs ChkHide's handler.
void ToggleHideWindows(CheckBox& chkHide);

// Disables both sliders when the system has no layered windows.
void LockTransparencySliders(bool layeredAvailable, ScrollBar& skinTrans, ScrollBar& playerTrans);

// ---------------------------------------------------------------------------------
// List panel

inline constexpr int kButtonLeft = 1, kButtonRight = 2;
inline constexpr int kShiftMask = 1, kCtrlMask = 2, kAltMask = 4;

enum class ListPopup { None, ListMenu, Favourites };

// LstM3u_MouseDown: the left button marks itself held; the right button opens the
// favourites with Shift, Ctrl or Alt held or while the left button is held, otherwise
// the list menu. The right button never changes the selection.
ListPopup LstM3u_MouseDownRule(int button, int shift, bool& listLeftButtonDown);
// LstM3u_MouseUp, any button.
void LstM3u_MouseUpRule(bool& listLeftButtonDown);

// The one selected entry, for playing; nothing when none or several are selected.
std::optional<std::wstring> SingleSelectedEntry(const ListBox& list);
// Each selected entry followed by CR LF, top to bottom; nothing when none is selected.
std::optional<std::wstring> SelectedEntriesText(const ListBox& list);
// Removes the selected entries, bottom-up, and shows the new count. Nothing selected:
// nothing changes.
void DeleteSelectedEntries(ListBox& list, Label& count);
// Empties the queue and shows "0".
void ClearEntries(ListBox& list, Label& count);

// ScrListSlide at `value` (0 to kListSlideMax twips): the list keeps its right edge
// level with the slider's and reaches `value` twips further left.
inline constexpr int kListSlideMax = 2000;
struct HorizontalSpan {
    double left = 0, width = 0;
    friend bool operator==(const HorizontalSpan&, const HorizontalSpan&) = default;
};
HorizontalSpan ListSlideSpan(double slideLeft, double slideWidth, int value);

// ---------------------------------------------------------------------------------
// Scrolling read-outs

inline constexpr int kNameScrollInterval = 300;

// One read-out with its hidden holder and its timer. The timer's interval is the only
// state: 0 at rest, 300 while a pass runs. `setInterval` starts or stops the real timer.
class NameScroller {
public:
    NameScroller(Label& readout, const Label& holder, std::function<void(int interval)> setInterval);
    int Interval() const { return interval_; }
    // A double click: starts a pass at rest; a pass under way goes on unchanged.
    void StartNameScroll();
    // One tick: drops the first character; a tick that finds the text empty stops the
    // timer and shows one space and the holder's text again (read afresh).
    void ScrollNameLabelTick();
    // Stops a pass without touching the text (RefreshNameLabels rewrites it).
    void Stop();

private:
    void SetInterval(int interval);
    Label& readout_;
    const Label& holder_;
    std::function<void(int)> setInterval_;
    int interval_ = 0;
};

// ---------------------------------------------------------------------------------
// Favourites

// The file a favourite's caption names: the program folder, "\fav\", the caption.
std::wstring FavouritePath(const std::wstring& programFolder, const std::wstring& caption);

struct FavouriteActions {
    std::function<bool(const std::wstring&)> fileExists;
    // ClearFavouritesMenu, then BuildFavouritesMenu.
    std::function<void()> rebuild;
    // ReloadList.
    std::function<void()> reloadList;
};
// MenuFavList_Click: item 0 rebuilds the menu; another item makes its file the current
// list file and reloads the queue from it, unless the file has gone (then nothing).
void MenuFavListClick(std::size_t index, const MenuArray& menu, const std::wstring& programFolder,
                      Label& lblM3uName, const FavouriteActions& actions);

}  // namespace tessel::player
