// ChoosingDevice: one media device over several media layers, which chooses the layer
// at each "open". The layers are tried in order and the first that can play the file
// plays it (its Length() is not 0); when none can, the device stays not open with
// Length() 0, as any device does for an unplayable medium. Nothing above it knows which
// layer plays: every command, property and StatusUpdate event goes to and comes from
// the chosen one.
//
// The player puts Media Foundation first and MCI second: Media Foundation plays what a
// stock Windows plays and draws video; MCI stays for what only the older layers read
// (MIDI, old AVI codecs, formats of user-installed DirectShow filters).
#pragma once

#include <memory>
#include <vector>

#include "player/playback/mmc/media_device.h"

namespace tessel {

class ChoosingDevice final : public MediaDeviceProperties {
public:
    // The layers in the order they are tried; none may be null.
    explicit ChoosingDevice(std::vector<std::unique_ptr<MediaDevice>> layers);
    ~ChoosingDevice() override;

    void Command(MediaCommand command) override;
    int Mode() const override;
    std::int32_t Length() const override;
    std::int32_t Position() const override;

    // The properties are kept here and handed to a layer with its command: a start
    // point only to the chosen layer at the next "play", so it never reaches a layer
    // that does not play the medium.

    // The index of the layer playing the open medium, -1 while nothing is open.
    int ChosenLayer() const;
    MediaDevice& Layer(std::size_t index) { return *layers_.at(index); }

private:
    void Open();

    std::vector<std::unique_ptr<MediaDevice>> layers_;
    MediaDevice* chosen_ = nullptr;
};

}  // namespace tessel
