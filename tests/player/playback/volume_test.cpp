#include "player/playback/volume.h"

#include <gtest/gtest.h>

namespace tessel::player {
namespace {

// A level repeats in all four bytes, beyond the bar the nearest end. Read back, channels
// apart, silence and six digits leave the bar where it is; of equal channels only the
// end digits are compared.
TEST(Volume, LevelsAndTheReadBackOfDeviceValues) {
    EXPECT_EQ(LevelToVolume(128), 0x80808080u);
    EXPECT_EQ(LevelToVolume(255), 0xFFFFFFFFu);
    EXPECT_EQ(LevelToVolume(256), 0xFFFFFFFFu);
    EXPECT_EQ(LevelToVolume(0), 0u);
    EXPECT_EQ(LevelToVolume(-1), 0u);
    EXPECT_EQ(VolumeToLevel(0x0A0A0A0Au), 10);
    EXPECT_EQ(VolumeToLevel(0x0000FFFFu), std::nullopt);
    EXPECT_EQ(VolumeToLevel(0u), std::nullopt);
    EXPECT_EQ(VolumeToLevel(0xFFFF0000u), std::nullopt);
    EXPECT_EQ(VolumeToLevel(0x00FFFFFFu), std::nullopt);
    EXPECT_EQ(VolumeToLevel(0x12345612u), 0x12);
    EXPECT_EQ(VolumeToLevel(0x07ABCDE7u), 7);
    EXPECT_EQ(VolumeToLevel(0x01234567u), std::nullopt);
    EXPECT_EQ(VolumeToLevel(0x80000080u), 0x80);
    // The quietest level the bar writes is not silence, in either encoding.
    EXPECT_EQ(VolumeToLevel(LevelToVolume(1)), 1);
    EXPECT_EQ(ScalarsToVolume(VolumeToScalars(LevelToVolume(1))), LevelToVolume(1));
}

TEST(Volume, ScalarsKeepTheChannelsApartAndStayInRange) {
    const ChannelScalars s = VolumeToScalars(0x0000FFFFu);
    EXPECT_EQ(s.left, 1.0f);
    EXPECT_EQ(s.right, 0.0f);
    EXPECT_EQ(ScalarsToVolume({1.0f, 0.0f}), 0x0000FFFFu);
    EXPECT_EQ(ScalarsToVolume({0.0f, 1.0f}), 0xFFFF0000u);
    EXPECT_EQ(ScalarsToVolume({2.0f, -1.0f}), 0x0000FFFFu);
    // Nearest step, not truncation: 0x8080 / 65535 as a float reads back as 0x8080.
    EXPECT_EQ(ScalarsToVolume({float(0x8080 / 65535.0), float(0x8080 / 65535.0)}), 0x80808080u);
    EXPECT_EQ(ScalarsToVolume({0.5f, 0.5f}), 0x80008000u);
}

// One output device's volume: what was written, and whether it is still there.
struct FakeOutput final : VolumeDevice {
    std::uint32_t* value;
    explicit FakeOutput(std::uint32_t* v) : value(v) {}
    std::optional<std::uint32_t> Read() override { return *value; }
    bool Write(std::uint32_t v) override {
        *value = v;
        return true;
    }
};

// Speakers, then headphones plugged in (the default changes), then nothing at all.
TEST(Volume, TheBarFollowsTheDefaultOutputDevice) {
    std::uint32_t speakers = LevelToVolume(200), headphones = LevelToVolume(40);
    std::uint64_t changes = 7;
    int opens = 0;
    std::uint32_t* current = &speakers;
    DefaultDeviceVolume volume([&] { return changes; },
                               [&]() -> std::unique_ptr<VolumeDevice> {
                                   ++opens;
                                   if (!current) return nullptr;
                                   return std::make_unique<FakeOutput>(current);
                               });
    EXPECT_EQ(ReadVolumeLevel(volume), 200);
    EXPECT_TRUE(WriteVolumeLevel(volume, 100));
    EXPECT_EQ(speakers, LevelToVolume(100));
    EXPECT_EQ(opens, 1) << "opened once while the default stays";

    current = &headphones;
    ++changes;
    EXPECT_EQ(ReadVolumeLevel(volume), 40) << "the bar shows the new device's level";
    EXPECT_TRUE(WriteVolumeLevel(volume, 90));
    EXPECT_EQ(headphones, LevelToVolume(90));
    EXPECT_EQ(speakers, LevelToVolume(100)) << "the old device is left alone";
    EXPECT_EQ(opens, 2);

    current = nullptr;
    ++changes;
    EXPECT_EQ(volume.Read(), std::nullopt);
    EXPECT_FALSE(WriteVolumeLevel(volume, 10));
    EXPECT_EQ(opens, 3) << "no device: not re-opened at every read";
    volume.Read();
    EXPECT_EQ(opens, 3);
}

}  // namespace
}  // namespace tessel::player
