// The device volume through the platform's real interfaces: every level the bar can
// write reads back as itself, and the two channels stay apart.
#include <windows.h>

#include <gtest/gtest.h>

#include "player/playback/volume_device_win32.h"

namespace tessel::player {
namespace {

void ExpectEveryLevelRoundTrips(VolumeDevice& device) {
    int wrong = 0;
    for (int level = 1; level <= 255; ++level) {
        ASSERT_TRUE(WriteVolumeLevel(device, level)) << level;
        const auto value = device.Read();
        ASSERT_TRUE(value) << level;
        if (*value != LevelToVolume(level) || ReadVolumeLevel(device) != level) {
            ADD_FAILURE() << "level " << level << " read back as 0x" << std::hex << *value;
            if (++wrong > 5) return;
        }
    }
    ASSERT_TRUE(WriteVolumeLevel(device, 0));
    EXPECT_EQ(device.Read(), 0u);
    EXPECT_EQ(ReadVolumeLevel(device), std::nullopt);
}

TEST(SessionVolume, EveryLevelRoundTripsWithAndWithoutChannels) {
    for (bool channels : {false, true}) {
        SCOPED_TRACE(channels ? "master and channels" : "master only");
        auto device = OpenSessionVolume(channels);
        ASSERT_TRUE(device) << "the session volume must be reachable";
        ExpectEveryLevelRoundTrips(*device);
    }
}

TEST(SessionVolume, ChannelsKeepLeftAndRightApart) {
    auto device = OpenSessionVolume(true);
    ASSERT_TRUE(device);
    for (std::uint32_t value : {0x0000FFFFu, 0xFFFF0000u, 0x40008000u, 0x12345678u}) {
        ASSERT_TRUE(device->Write(value));
        EXPECT_EQ(device->Read(), value) << std::hex << value;
    }
}

TEST(SystemVolume, PicksAWorkingBackend) {
    SystemVolume system = OpenSystemVolume();
    ASSERT_NE(system.device, nullptr);
    EXPECT_NE(system.backend, VolumeBackend::None) << "an audio device is configured for the tests";
    ExpectEveryLevelRoundTrips(*system.device);
    // The wave mapper works on Windows and not under Wine; where it works it must hold
    // the levels too.
    if (auto wave = OpenWaveMapperVolume()) ExpectEveryLevelRoundTrips(*wave);
}

}  // namespace
}  // namespace tessel::player
