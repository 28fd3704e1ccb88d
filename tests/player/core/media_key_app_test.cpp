// The media keys of the player in this process: who holds the hot keys, and the
// application commands of a key another program holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "player/playback/media_keys.h"
#include "player/startup/Initialize.h"
#include "tests/player/core/in_process_app.h"
#include "tests/player/core/win_support.h"

namespace tessel::player::test {
namespace {

namespace fs = std::filesystem;

// Whether this thread can take the key as a hot key of its own (and gives it back).
bool KeyIsFree(MediaKey key) {
    constexpr int kProbeId = 0x0101;
    if (!::RegisterHotKey(nullptr, kProbeId, MOD_NOREPEAT, static_cast<UINT>(VirtualKeyOf(key)))) return false;
    ::UnregisterHotKey(nullptr, kProbeId);
    return true;
}

LRESULT SendAppCommand(HWND window, int command) {
    return ::SendMessageW(window, WM_APPCOMMAND, reinterpret_cast<WPARAM>(window),
                          MAKELPARAM(0, static_cast<WORD>(command) | FAPPCOMMAND_KEY));
}

class MediaKeyAppTest : public ::testing::Test {
protected:
    TempDir dir{L"mkeys"};
    std::vector<std::wstring> reports;

    StartOptions Options(const std::wstring& arguments = L"") {
        MakeProgramFolder(dir.path(), nullptr);
        return InProcessOptions(dir.path(), L"TesselMediaKeyTest", &reports, arguments);
    }
};

TEST_F(MediaKeyAppTest, OnlyTheRunningInstanceHoldsTheKeysUntilItsShutdown) {
    {
        // A player runs already: this start hands over and ends, and takes no key.
        StartOptions options = Options();
        win32::unique_kernel_handle running(::CreateMutexW(nullptr, FALSE, options.instanceName.c_str()));
        PlayerApp second(std::move(options));
        ASSERT_FALSE(second.StartUp());
        for (MediaKey key : kMediaKeys) EXPECT_TRUE(KeyIsFree(key)) << VirtualKeyOf(key);
    }
    PlayerApp app(Options());
    ASSERT_TRUE(app.StartUp());
    for (MediaKey key : kMediaKeys) {
        EXPECT_TRUE(app.MediaKeys().Registered(key)) << VirtualKeyOf(key);
        EXPECT_FALSE(KeyIsFree(key)) << VirtualKeyOf(key);
    }
    app.Shutdown();
    // Given back while the windows still exist.
    for (MediaKey key : kMediaKeys) EXPECT_TRUE(KeyIsFree(key)) << VirtualKeyOf(key);
}

TEST_F(MediaKeyAppTest, AKeyAnotherProgramHoldsIsAnsweredAsAnApplicationCommandOnEveryWindow) {
    constexpr int kHeldId = 0x0102;
    ASSERT_TRUE(::RegisterHotKey(nullptr, kHeldId, 0, static_cast<UINT>(VirtualKeyOf(MediaKey::NextTrack))));
    const fs::path list = dir.path() / L"four.m3u";
    const std::vector<std::wstring> songs{(MediaDir() / L"chord_c.mp3").wstring(),
                                          (MediaDir() / L"tone_660.wav").wstring(),
                                          (MediaDir() / L"chord_f.wav").wstring(),
                                          (MediaDir() / L"tone_440.mp3").wstring()};
    StartOptions options = Options(L"/play");
    auto settings = DefaultSettings();
    settings[9] = list.wstring();
    WriteLines(dir.path() / L"Setting" / L"init.ini", settings);
    WriteLines(list, songs);
    PlayerApp app(std::move(options));
    ASSERT_TRUE(app.StartUp());
    // Said nothing about the key it could not have.
    EXPECT_TRUE(reports.empty());
    EXPECT_FALSE(app.MediaKeys().Registered(MediaKey::NextTrack));
    EXPECT_TRUE(app.MediaKeys().Registered(MediaKey::PlayPause));
    ASSERT_EQ(app.PanelControls().LblMediaName.Caption(), songs[0]);

    const HWND windows[] = {app.Skin().Handle(), app.Body().Handle(), app.Panel().Handle()};
    for (std::size_t i = 0; i < std::size(windows); ++i) {
        EXPECT_EQ(SendAppCommand(windows[i], APPCOMMAND_MEDIA_NEXTTRACK), TRUE) << i;
        EXPECT_EQ(app.PanelControls().LblMediaName.Caption(), songs[i + 1]) << i;
    }
    // A key the player holds came as a hot key already: its command does nothing.
    SendAppCommand(app.Skin().Handle(), APPCOMMAND_MEDIA_PLAY_PAUSE);
    SendAppCommand(app.Body().Handle(), APPCOMMAND_MEDIA_STOP);
    EXPECT_EQ(app.Device()->Mode(), MediaDevice::kModePlaying);
    ::UnregisterHotKey(nullptr, kHeldId);
    app.Shutdown();
}

}  // namespace
}  // namespace tessel::player::test
