#include "player/skin/volume.h"

#include <gtest/gtest.h>

namespace tessel::player {
namespace {

TEST(Volume, TheLevelRepeatsInAllFourBytesAndBeyondTheBarTakesTheNearestEnd) {
    EXPECT_EQ(LevelToVolume(128), 0x80808080u);
    EXPECT_EQ(LevelToVolume(255), 0xFFFFFFFFu);
    EXPECT_EQ(LevelToVolume(256), 0xFFFFFFFFu);
    EXPECT_EQ(LevelToVolume(0), 0u);
    EXPECT_EQ(LevelToVolume(-1), 0u);
}

// Channels apart, silence and six digits leave the bar where it is; of equal channels
// only the end digits are compared.
TEST(Volume, ReadBackOfDeviceValues) {
    EXPECT_EQ(VolumeToLevel(0x0A0A0A0Au), 10);
    EXPECT_EQ(VolumeToLevel(0x0000FFFFu), std::nullopt);
    EXPECT_EQ(VolumeToLevel(0u), std::nullopt);
    EXPECT_EQ(VolumeToLevel(0xFFFF0000u), std::nullopt);
    EXPECT_EQ(VolumeToLevel(0x00FFFFFFu), std::nullopt);
    EXPECT_EQ(VolumeToLevel(0x12345612u), 0x12);
    EXPECT_EQ(VolumeToLevel(0x07ABCDE7u), 7);
    EXPECT_EQ(VolumeToLevel(0x01234567u), std::nullopt);
    EXPECT_EQ(VolumeToLevel(0x80000080u), 0x80);
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

}  // namespace
}  // namespace tessel::player
