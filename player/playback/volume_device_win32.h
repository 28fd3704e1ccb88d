// The device volume on Windows: the volume of the sound this process makes.
//
// On current Windows that is the process's audio session (what the system's volume
// mixer shows for the player); waveOutSetVolume on WAVE_MAPPER reaches the same
// session there, but under Wine it fails with an invalid-handle error while the session
// interface works. So the session comes first and the wave mapper is the fallback.
#pragma once

#include <memory>

#include "player/playback/volume.h"

namespace tessel::player {

enum class VolumeBackend {
    SessionChannels,  // the session's master and per-channel volumes: left and right apart
    SessionMaster,    // the session's master volume only: both channels alike
    WaveMapper,       // waveOutGetVolume / waveOutSetVolume on WAVE_MAPPER
    None,             // no audio device: reads nothing, writes nothing (the bar stays put)
};

struct SystemVolume {
    std::unique_ptr<VolumeDevice> device;  // never null
    VolumeBackend backend = VolumeBackend::None;
};

// Opens the first backend that works, in the order above. Call on the user-interface
// thread; COM is initialised for the thread if it is not yet (and released with the
// device). The result reads what the mixer or another program set, at any time.
SystemVolume OpenSystemVolume();

}  // namespace tessel::player
