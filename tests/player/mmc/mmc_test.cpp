// What only the MCI device has: a driver alias and device of its own per object. Its
// promises as a media device are media_device_test's, for both layers.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/playback/mmc/mmc.h"
#include "tests/support/win32.h"

namespace tessel {
namespace {

using test::Media;
using namespace std::chrono_literals;

// Number of MCI devices this process has open.
int OpenDeviceCount() {
    wchar_t buffer[32] = {};
    if (mciSendStringW(L"sysinfo all quantity open", buffer, 32, nullptr) != 0) {
        return -1;
    }
    return _wtoi(buffer);
}

// Opens a medium the way the player does before every medium.
void OpenLikeThePlayer(Mmc& mmc, const std::wstring& path) {
    mmc.SetNotify(false);
    mmc.SetWait(true);
    mmc.SetUpdateInterval(1000);
    mmc.SetFileName(path);
    mmc.Command(MediaCommand::Open);
}

TEST(Mmc, DestroyingTheObjectClosesItsDevice) {
    {
        Mmc first;
        Mmc second;
        OpenLikeThePlayer(first, Media(L"tone_440.mp3"));
        OpenLikeThePlayer(second, Media(L"chord_c.mp3"));
        EXPECT_NE(first.Alias(), second.Alias());
        EXPECT_NE(first.DeviceId(), 0u);
        EXPECT_NE(first.DeviceId(), second.DeviceId());
        first.Command(MediaCommand::Play);
        second.Command(MediaCommand::Play);
        test::Pump(300ms);
        EXPECT_EQ(OpenDeviceCount(), 2);
    }
    EXPECT_EQ(OpenDeviceCount(), 0);
}

}  // namespace
}  // namespace tessel
