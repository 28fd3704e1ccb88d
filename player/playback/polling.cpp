#include "player/playback/polling.h"

#include <algorithm>

#include "player/startup/command_line.h"
#include "player/startup/texts.h"

namespace tessel::player {

void OnMediaStatus(PlaybackEngine& engine, const MediaDevice& mmc, PlayerFormControls& body,
                   const LLVariable& vars) {
    if (engine.Busy()) return;
    const int seconds = PlaybackEngine::WholeSeconds(mmc.Position());
    body.LblNTime.SetCaption(std::to_wstring(seconds));
    if (vars.TimeBarFocused == kFalse) {
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

}  // namespace tessel::player
