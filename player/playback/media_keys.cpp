#include "player/playback/media_keys.h"

#include "player/playback/transport.h"

namespace tessel::player {

int VirtualKeyOf(MediaKey key) {
    switch (key) {
        case MediaKey::PlayPause: return 0xB3;      // VK_MEDIA_PLAY_PAUSE
        case MediaKey::NextTrack: return 0xB0;      // VK_MEDIA_NEXT_TRACK
        case MediaKey::PreviousTrack: return 0xB1;  // VK_MEDIA_PREV_TRACK
        case MediaKey::Stop: return 0xB2;           // VK_MEDIA_STOP
    }
    return 0;
}

std::optional<MediaKey> MediaKeyOfAppCommand(int command) {
    switch (command) {
        case 14: return MediaKey::PlayPause;      // APPCOMMAND_MEDIA_PLAY_PAUSE
        case 11: return MediaKey::NextTrack;      // APPCOMMAND_MEDIA_NEXTTRACK
        case 12: return MediaKey::PreviousTrack;  // APPCOMMAND_MEDIA_PREVIOUSTRACK
        case 13: return MediaKey::Stop;           // APPCOMMAND_MEDIA_STOP
        default: return std::nullopt;
    }
}

void HandleMediaKey(MediaKey key, PlaybackEngine& engine, MediaDevice& mmc) {
    switch (key) {
        case MediaKey::PlayPause:
        case MediaKey::Stop: PausePlay(mmc); break;
        case MediaKey::NextTrack: engine.PlayNext(); break;
        case MediaKey::PreviousTrack: PlayFromStart(mmc); break;
    }
}

}  // namespace tessel::player
