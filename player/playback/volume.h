// The volume bar's level (0..255) and the device volume: a 32-bit value whose low 16
// bits are the left channel and high 16 bits the right channel, 0xFFFF each at full.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace tessel::player {

// The level repeated in all four bytes, level * 0x01010101: each channel gets
// level * 257, so 255 is full volume 0xFFFFFFFF and 0 is silence. Levels outside
// 0..255 (no scroll bar gives them) are taken as the nearest end.
std::uint32_t LevelToVolume(std::int32_t level);

// The level a device volume stands for, or nothing when the bar should keep its place.
// Written in upper-case hexadecimal without leading zeros: seven digits whose first and
// last digit agree give that digit (1..15); eight digits whose first two and last two
// agree give those two (16..255). Every other value, silence (0) included, gives
// nothing. Only those digits are compared, so every value LevelToVolume writes for
// 1..255 reads back as its level.
std::optional<std::int32_t> VolumeToLevel(std::uint32_t volume);

// A platform that keeps each channel's volume as a scalar from 0.0 to 1.0. Both
// directions round to the nearest step, so a value read back is the one written
// (truncating would turn 0x8080 into 0x807F and lose the level).
struct ChannelScalars {
    float left = 0, right = 0;
};
ChannelScalars VolumeToScalars(std::uint32_t volume);
std::uint32_t ScalarsToVolume(ChannelScalars scalars);

// The device volume as the player sees it: one 32-bit value, left channel in the low
// 16 bits and right in the high 16 bits. The Win32 implementation is the volume of the
// sound this process makes (volume_device_win32.h); tests may put a fake behind it.
class VolumeDevice {
public:
    virtual ~VolumeDevice() = default;
    // The current volume, or nothing when the device cannot be read.
    virtual std::optional<std::uint32_t> Read() = 0;
    // Sets the volume; false when the device refused.
    virtual bool Write(std::uint32_t volume) = 0;
};

// The volume of whichever output device is the default now. The system changes the
// default at any time (headphones plugged in, the user's choice in the sound settings)
// and the player's sound goes there; a volume opened once would go on moving the level
// of a device nobody hears. `changes` counts the default's changes so far (any number
// that differs from the last one seen means "changed"); `open` opens the volume of the
// default as it is now, null when there is none (reads nothing, writes nothing). A
// change is noticed at the next read or write, which opens the new default's volume
// once: the bar then shows that device's own level.
class DefaultDeviceVolume final : public VolumeDevice {
public:
    DefaultDeviceVolume(std::function<std::uint64_t()> changes, std::function<std::unique_ptr<VolumeDevice>()> open);
    std::optional<std::uint32_t> Read() override;
    bool Write(std::uint32_t volume) override;

private:
    VolumeDevice* Current();

    std::function<std::uint64_t()> changes_;
    std::function<std::unique_ptr<VolumeDevice>()> open_;
    std::uint64_t seen_ = 0;
    std::unique_ptr<VolumeDevice> device_;
};

// The volume bar's read-back (start-up and the main timer): the level the bar should
// take, or nothing when it keeps its place (unreadable device, silence, channels apart).
std::optional<std::int32_t> ReadVolumeLevel(VolumeDevice& device);

// The volume bar's change: writes the level as LevelToVolume encodes it.
bool WriteVolumeLevel(VolumeDevice& device, std::int32_t level);

}  // namespace tessel::player
