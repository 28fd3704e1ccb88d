// What only the MCI device has: a driver alias and device of its own per object. Its
// promises as a media device are media_device_test's, for both layers.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "player/playback/mmc/mmc.h"
#include "tests/support/temp_dir.h"
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

// Number of threads of this process that carry an MCI device (their windows).
int MciThreadCount() {
    int count = 0;
    for (HWND w = nullptr; (w = ::FindWindowExW(HWND_MESSAGE, w, MciThread::kWindowClass, nullptr)) != nullptr;)
        ++count;
    return count;
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

// Megabytes of random bytes under a media name keep the driver parsing for seconds
// (2 to 7 s for 32 MB under Wine, and minutes for some files on Windows). The open is
// given up at the object's limit while the caller's windows answer; the device the
// driver opens late is closed on its own thread, and the next medium opens as usual.
TEST(Mmc, AnOpenPastItsLimitIsGivenUpWhileTheCallersWindowsAnswer) {
    test::TempDir dir("mmc-slow");
    std::string junk(32 << 20, '\0');
    std::mt19937 random(7);
    for (char& c : junk) c = static_cast<char>(random());
    const std::wstring path = dir.Write("junk.mp3", junk).wstring();

    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    std::atomic<bool> answered{false};
    std::thread asker([&] {
        std::this_thread::sleep_for(50ms);
        DWORD_PTR unused = 0;
        answered = ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1500, &unused) != 0;
    });
    {
        Mmc mmc(800);
        OpenLikeThePlayer(mmc, path);
        asker.join();
        EXPECT_TRUE(answered);
        EXPECT_EQ(mmc.Length(), 0);
        EXPECT_EQ(mmc.Mode(), MediaDevice::kModeNotOpen);

        OpenLikeThePlayer(mmc, Media(L"tone_440.mp3"));
        EXPECT_GT(mmc.Length(), 0);
        EXPECT_EQ(MciThreadCount(), 2);
        // The thread given up on ends once the driver returns, and closes what it opened.
        EXPECT_TRUE(test::WaitUntil([] { return MciThreadCount() == 1; }, 90s));
        EXPECT_EQ(OpenDeviceCount(), 1);
    }
    EXPECT_EQ(OpenDeviceCount(), 0);
    ::DestroyWindow(window);
}

}  // namespace
}  // namespace tessel
