#include "player/playback/volume.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace tessel::player {

namespace {

// Upper-case hexadecimal without leading zeros ("0" for zero).
std::string Hex(std::uint32_t value) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return text;
}

std::uint16_t ScalarToChannel(float scalar) {
    if (!(scalar > 0)) return 0;  // also NaN
    if (scalar >= 1) return 0xFFFF;
    return static_cast<std::uint16_t>(std::lround(double(scalar) * 65535.0));
}

}  // namespace

std::uint32_t LevelToVolume(std::int32_t level) {
    const std::uint32_t v = std::uint32_t(std::clamp(level, 0, 255));
    return v * 0x01010101u;
}

std::optional<std::int32_t> VolumeToLevel(std::uint32_t volume) {
    const std::string h = Hex(volume);
    if (h.size() == 7 && h.front() == h.back()) return std::stoi(h.substr(0, 1), nullptr, 16);
    if (h.size() == 8 && h.compare(0, 2, h, 6, 2) == 0) return std::stoi(h.substr(0, 2), nullptr, 16);
    return std::nullopt;
}

ChannelScalars VolumeToScalars(std::uint32_t volume) {
    return {float((volume & 0xFFFFu) / 65535.0), float((volume >> 16) / 65535.0)};
}

std::uint32_t ScalarsToVolume(ChannelScalars scalars) {
    return std::uint32_t(ScalarToChannel(scalars.left)) | (std::uint32_t(ScalarToChannel(scalars.right)) << 16);
}

std::optional<std::int32_t> ReadVolumeLevel(VolumeDevice& device) {
    const std::optional<std::uint32_t> volume = device.Read();
    if (!volume) return std::nullopt;
    return VolumeToLevel(*volume);
}

bool WriteVolumeLevel(VolumeDevice& device, std::int32_t level) {
    return device.Write(LevelToVolume(level));
}

DefaultDeviceVolume::DefaultDeviceVolume(std::function<std::uint64_t()> changes,
                                         std::function<std::unique_ptr<VolumeDevice>()> open)
    : changes_(std::move(changes)), open_(std::move(open)), seen_(changes_()), device_(open_()) {}

VolumeDevice* DefaultDeviceVolume::Current() {
    const std::uint64_t now = changes_();
    if (now != seen_) {
        seen_ = now;
        device_.reset();  // the old device's session goes before the new one is opened
        device_ = open_();
    }
    return device_.get();
}

std::optional<std::uint32_t> DefaultDeviceVolume::Read() {
    VolumeDevice* device = Current();
    return device ? device->Read() : std::nullopt;
}

bool DefaultDeviceVolume::Write(std::uint32_t volume) {
    VolumeDevice* device = Current();
    return device && device->Write(volume);
}

}  // namespace tessel::player
