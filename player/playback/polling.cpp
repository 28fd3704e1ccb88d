#include "player/playback/polling.h"

#include <algorithm>

#include "player/shared/command_line.h"
#include "player/shared/texts.h"

namespace tessel::player {

void OnMediaStatus(PlaybackEngine& engine, const MediaDevice& mmc, PlayerFormControls& body,
                   const LLVariable& vars) {
    if (engine.Busy()) return;
    const int seconds = PlaybackEngine::WholeSeconds(mmc.Position());
    body.LblNTime.SetCaption(std::to_wstring(seconds));
    if (!vars.TimeBarFocused) {
        body.ScrTime.SetValue(std::clamp(seconds, body.ScrTime.Min(), body.ScrTime.Max()));
    }
    if (mmc.Length() == mmc.Position() || mmc.Mode() == MediaDevice::kModeStopped) engine.PlayNext();
}

bool TakeHandedOverFile(PlaybackEngine& engine, const std::wstring& caption,
                        const std::function<void(const std::wstring&)>& setCaption) {
    if (engine.Busy() || caption == texts::kPlayerFormCaption) return false;
    const std::wstring path = RemoveDoubleQuotes(caption);
    setCaption(texts::kPlayerFormCaption);
    engine.PlayFile(path);
    return true;
}

void OnMainTimer(PlaybackEngine& engine, const MediaDevice& mmc, PlayerFormControls& body, LLVariable& vars,
                 const MainTimerServices& services) {
    body.LblTitle.SetCaption(MarqueeStep(body.LblTitle.Caption()));

    if (services.videoWindows != nullptr && vars.VideoWindowHandle != 0 && mmc.Position() != mmc.Length() &&
        mmc.Mode() != MediaDevice::kModeStopped) {
        ScreenRect rect;
        if (services.videoWindows->Rect(vars.VideoWindowHandle, rect)) {
            vars.VideoWindowRect = rect;
        } else {
            // The window is gone; its number may soon name somebody else's window.
            vars.VideoWindowHandle = 0;
        }
    }

    if (!vars.VolumeActive && services.readVolumeLevel) {
        if (const std::optional<std::int32_t> level = services.readVolumeLevel()) {
            if (*level >= body.ScrVolume.Min() && *level <= body.ScrVolume.Max()) body.ScrVolume.SetValue(*level);
        }
    }

    if (services.caption && services.setCaption) TakeHandedOverFile(engine, services.caption(), services.setCaption);
}

}  // namespace tessel::player
