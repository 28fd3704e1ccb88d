#include "player/playback/mmc/media_layers_win32.h"

#include <vector>

#include "player/playback/mmc/mf_device.h"
#include "player/playback/mmc/mmc.h"

namespace tessel {

std::unique_ptr<ChoosingDevice> MakePlayerMediaDevice() {
    std::vector<std::unique_ptr<MediaDevice>> layers;
    layers.push_back(std::make_unique<MfDevice>());
    layers.push_back(std::make_unique<Mmc>());
    return std::make_unique<ChoosingDevice>(std::move(layers));
}

}  // namespace tessel
