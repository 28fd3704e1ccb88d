// The device volume through the platform's real interfaces: every level the bar can
// write reads back as itself, and the two channels stay apart.
#include <windows.h>

#include <gtest/gtest.h>

#include "player/playback/volume_device_win32.h"

namespace tessel::player {
namespace {

// Under Wine, as on current Windows, the process's session has its channel volumes,
// so the bar reaches left and right apart.
TEST(SystemVolume, TheSessionHoldsEveryLevelAndKeepsTheChannelsApart) {
    SystemVolume system = OpenSystemVolume();
    ASSERT_NE(system.device, nullptr);
    ASSERT_EQ(system.backend, VolumeBackend::SessionChannels) << "an audio device is configured for the tests";
    VolumeDevice& device = *system.device;
    int wrong = 0;
    for (int level = 1; level <= 255 && wrong <= 5; ++level) {
        ASSERT_TRUE(WriteVolumeLevel(device, level)) << level;
        const auto value = device.Read();
        ASSERT_TRUE(value) << level;
        if (*value != LevelToVolume(level) || ReadVolumeLevel(device) != level) {
            ADD_FAILURE() << "level " << level << " read back as 0x" << std::hex << *value;
            ++wrong;
        }
    }
    ASSERT_TRUE(WriteVolumeLevel(device, 0));
    EXPECT_EQ(device.Read(), 0u);
    EXPECT_EQ(ReadVolumeLevel(device), std::nullopt);
    for (std::uint32_t value : {0x0000FFFFu, 0xFFFF0000u, 0x40008000u, 0x12345678u}) {
        ASSERT_TRUE(device.Write(value));
        EXPECT_EQ(device.Read(), value) << std::hex << value;
    }
}

}  // namespace
}  // namespace tessel::player
