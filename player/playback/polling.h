// The two periodic handlers' portable parts: the media status event (position
// read-out, time bar, end of medium) and the hand-over of a file that a second start
// wrote into the body window's caption.
#pragma once

#include <functional>
#include <string>

#include "player/playback/engine.h"

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

}  // namespace tessel::player
