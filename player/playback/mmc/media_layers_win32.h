// The player's media device on Windows: Media Foundation first, MCI when Media
// Foundation cannot open the file.
#pragma once

#include <memory>

#include "player/playback/mmc/choosing_device.h"

namespace tessel {

// Index of each layer in the device MakePlayerMediaDevice returns.
inline constexpr int kLayerMediaFoundation = 0;
inline constexpr int kLayerMci = 1;

std::unique_ptr<ChoosingDevice> MakePlayerMediaDevice();

}  // namespace tessel
