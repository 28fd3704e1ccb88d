// The two periodic handlers' portable parts: the media status event (position
// read-out, time bar, end of medium) and the hand-over of a file that a second start
// wrote into the body window's caption.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "player/playback/engine.h"
#include "player/playback/transport.h"

namespace tessel::player {

// MMC_StatusUpdate: shows the position and starts the next entry when the medium has
// ended (position at its length, or the device stopped). Does nothing while the
// engine is busy, so an event let through by the engine cannot start a second medium.
void OnMediaStatus(PlaybackEngine& engine, const MediaDevice& mmc, PlayerFormControls& body,
                   const LLVariable& vars);

// Step 4 of Timer_Timer. The caption is put back to "PlayerForm" before the file is
// played: playing lets pending events run, and a tick that saw the caption still
// changed would play the file a second time. Returns true if a file was taken.
bool TakeHandedOverFile(PlaybackEngine& engine, const std::wstring& caption,
                        const std::function<void(const std::wstring&)>& setCaption);

// What Timer_Timer reaches beyond the controls.
struct MainTimerServices {
    // The video windows (tracking); null: no tracking.
    VideoWindows* videoWindows = nullptr;
    // The volume bar's read-back (ReadVolumeLevel on the device): the level, or
    // nothing when the bar keeps its place. Empty: no read-back.
    std::function<std::optional<std::int32_t>()> readVolumeLevel;
    // The body window's caption, and setting it.
    std::function<std::wstring()> caption;
    std::function<void(const std::wstring&)> setCaption;
};

// Timer_Timer, every 500 ms: the title marquee, the video window's place into
// VideoWindowRect while a medium plays (a handle that no longer names a video window
// of this process is forgotten), the volume read-back unless the user is changing
// the volume, and the hand-over last.
void OnMainTimer(PlaybackEngine& engine, const MediaDevice& mmc, PlayerFormControls& body, LLVariable& vars,
                 const MainTimerServices& services);

}  // namespace tessel::player
