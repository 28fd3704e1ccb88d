// The keyboard's media keys (Play/Pause, Next track, Previous track, Stop). They work
// like the menu's transport commands: Play/Pause as "一時停止/解除(Space)", Next as
// "再生/次へ(Enter)", Previous as "先頭へ戻る(BackSpace)", and Stop as the body window's
// stop picture, which pauses (the player has no command that stops and rewinds).
// They reach the player as hot keys (from any window, also while its windows are
// hidden) or, where another program owns a key, as application commands while one of
// the player's windows has the focus.
#pragma once

#include <optional>

#include "player/playback/engine.h"
#include "player/playback/mmc/media_device.h"

namespace tessel::player {

enum class MediaKey { PlayPause, NextTrack, PreviousTrack, Stop };
inline constexpr MediaKey kMediaKeys[] = {MediaKey::PlayPause, MediaKey::NextTrack, MediaKey::PreviousTrack,
                                          MediaKey::Stop};

// The virtual key of a media key (VK_MEDIA_PLAY_PAUSE, VK_MEDIA_NEXT_TRACK, ...).
int VirtualKeyOf(MediaKey key);
// The media key of an application command (APPCOMMAND_MEDIA_PLAY_PAUSE, ...); nothing
// for any other command.
std::optional<MediaKey> MediaKeyOfAppCommand(int command);

// Acts on a media key.
void HandleMediaKey(MediaKey key, PlaybackEngine& engine, MediaDevice& mmc);

}  // namespace tessel::player
