#include "player/playback/mmc/choosing_device.h"

#include <stdexcept>

namespace tessel {

ChoosingDevice::ChoosingDevice(std::vector<std::unique_ptr<MediaDevice>> layers) : layers_(std::move(layers)) {
    for (const auto& layer : layers_) {
        if (!layer) throw std::invalid_argument("ChoosingDevice: a layer is missing");
        MediaDevice* self = layer.get();
        // Only the chosen layer has a medium open, so only it raises the event; the
        // check keeps a layer that was just replaced from speaking for the device.
        layer->SetStatusUpdate([this, self] {
            if (chosen_ == self) RaiseStatusUpdate();
        });
    }
}

ChoosingDevice::~ChoosingDevice() {
    for (const auto& layer : layers_) layer->SetStatusUpdate({});
}

int ChoosingDevice::ChosenLayer() const {
    for (std::size_t i = 0; i < layers_.size(); ++i) {
        if (layers_[i].get() == chosen_) return static_cast<int>(i);
    }
    return -1;
}

void ChoosingDevice::Command(MediaCommand command) {
    if (command == MediaCommand::Open) {
        Open();
    } else if (chosen_ != nullptr) {
        MediaDevice& layer = *chosen_;
        layer.SetNotify(Notify());
        layer.SetWait(Wait());
        std::int32_t from = 0;
        if (command == MediaCommand::Play && TakeFrom(from)) layer.SetFrom(from);
        layer.Command(command);
        if (command == MediaCommand::Close) chosen_ = nullptr;
    }
    std::int32_t unused = 0;
    if (command == MediaCommand::Play) TakeFrom(unused);  // used once, as by any device
    EndCommand();
}

void ChoosingDevice::Open() {
    if (chosen_ != nullptr) {
        MediaDevice& old = *chosen_;
        chosen_ = nullptr;
        old.Command(MediaCommand::Close);
    }
    for (const auto& layer : layers_) {
        layer->SetFileName(FileName());
        layer->SetUpdateInterval(UpdateInterval());
        layer->SetNotify(Notify());
        layer->SetWait(Wait());
        layer->Command(MediaCommand::Open);
        if (layer->Length() != 0) {
            chosen_ = layer.get();
            return;
        }
        // A layer that could not play it holds nothing open, by its promise; closing
        // it again costs nothing and keeps a faulty one from holding a device.
        layer->Command(MediaCommand::Close);
    }
}

int ChoosingDevice::Mode() const { return chosen_ ? chosen_->Mode() : kModeNotOpen; }
std::int32_t ChoosingDevice::Length() const { return chosen_ ? chosen_->Length() : 0; }
std::int32_t ChoosingDevice::Position() const { return chosen_ ? chosen_->Position() : 0; }

}  // namespace tessel
