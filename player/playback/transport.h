// Transport commands, keys and the video display size (module Player), and the list
// file choice. Portable: the media device, the controls and the video window are
// reached through the objects passed in, so the same routines run in a native test
// and in the program.
//
// Who calls what:
//   PausePlay(device)                           ImgStop, menu "一時停止/解除(Space)"
//   PlayFromStart(device)                       ImgPrev, menu "先頭へ戻る(BackSpace)"
//   HandleKey(key, engine, device, ScrVolume)   SkinForm's KeyDown (set VolumeActive
//                                               before, clear it at KeyUp)
//   ChooseListFile(engine, controls, dialogs)   CmdChoice of both windows, the menu
//   ApplyDisplaySize(...)                       a new medium, a CmbDispSize click
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "player/playback/engine.h"
#include "player/playback/mmc/media_device.h"
#include "player/shared/llvariable.h"

namespace tessel::player {

// Sends "pause": the device pauses a playing medium and resumes a paused one. Nothing
// else changes; with nothing open it does nothing.
void PausePlay(MediaDevice& mmc);

// From = 0, then "play": the medium playing starts again at its beginning; the queue
// is not touched.
void PlayFromStart(MediaDevice& mmc);

// Virtual key codes the skin window forwards.
inline constexpr int kKeyBack = 8, kKeyReturn = 13, kKeySpace = 32, kKeyUp = 38, kKeyDown = 40;

// The volume bar's level after an Up or Down key: steps of 10, ends reached exactly
// (above 240 up gives 255, below 15 down gives 0). Other keys keep the level.
int VolumeLevelAfterKey(int keyCode, int level);

// BackSpace PlayFromStart, Enter engine.PlayNext, Space PausePlay, Up/Down move
// ScrVolume (whose change handler sets the device volume); other keys nothing.
void HandleKey(int keyCode, PlaybackEngine& engine, MediaDevice& mmc, ScrollBar& ScrVolume);

// The nine choices of CmbDispSize, in their list order.
enum class DisplayAction { None, Restore, Resize, Minimize, Maximize, Hide };
struct DisplaySize {
    DisplayAction action = DisplayAction::None;
    int width = 0, height = 0;  // outer size in pixels, for Resize
};
inline constexpr int kDisplaySizeCount = 9;
// What a selected index asks for; -1 and anything out of range ask for nothing.
DisplaySize DisplaySizeFor(int index);

// The video windows of the media drivers, as the platform sees them. Every call first
// checks that the handle still names a video window of this process: a handle kept
// in VideoWindowHandle may outlive its window, and the system may have given the
// number to another program's window since.
class VideoWindows {
public:
    virtual ~VideoWindows() = default;
    // A live video window of one of the media layers (kVideoClassMediaFoundation,
    // MCIQTZ_Window or AVIWnd32) owned by this process.
    virtual bool IsVideoWindow(WindowId window) const = 0;
    // Screen rectangle; false when the window is gone.
    virtual bool Rect(WindowId window, ScreenRect& rect) const = 0;
    // Outer size and place in pixels, keeping the stacking order.
    virtual void Resize(WindowId window, int left, int top, int width, int height) = 0;
    // Restore, Minimize, Maximize or Hide.
    virtual void Show(WindowId window, DisplayAction action) = 0;
    // Above all non-topmost windows without moving, sizing or activating it.
    virtual void MakeTopmost(WindowId window) = 0;
};

// Sizes or shows VideoWindowHandle after CmbDispSize's choice; fixed sizes go to
// VideoWindowRect's left and top. Nothing happens without a selection or without a
// live video window.
void ApplyDisplaySize(const ComboBox& CmbDispSize, const LLVariable& vars, VideoWindows& windows);

// Choosing a list file. The Win32 routine with the real open dialog is
// MenuForm::ChooseListFile() (player/panel/MenuForm.h), which runs this with the
// dialogs below; it needs the engine and the panel's controls.
struct ListFileDialogs {
    // The open dialog: the chosen path, or nothing when cancelled or failed.
    std::function<std::optional<std::wstring>()> showOpen;
    // The file's size in bytes, nothing when it cannot be read (a vanished file).
    std::function<std::optional<std::uint64_t>(const std::wstring& path)> fileSize;
    // The size question: true for OK.
    std::function<bool()> confirmLargeFile;
};
// Dialog, size question above 1,100,000 bytes, then LblM3uName, clear LstM3u,
// LoadListFile, RefreshNameLabels. The medium playing is not touched. A file that is
// gone by the time it is read changes nothing. Returns true if a list was taken.
bool ChooseListFile(PlaybackEngine& engine, MenuFormControls& menu, const ListFileDialogs& dialogs);

// The main timer's title marquee: the first character moved to the end; texts of one
// character or none stay.
std::wstring MarqueeStep(const std::wstring& title);

}  // namespace tessel::player
