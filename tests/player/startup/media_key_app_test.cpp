// The media keys of the player in this process: who holds the hot keys and when, and the
// application commands of a key another program holds.
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "player/playback/media_keys.h"
#include "player/playback/transport.h"
#include "tests/support/in_process_player.h"
#include "win32/handle.h"

namespace tessel::test {
namespace {

using player::MediaKey;

// Whether another thread can take the key as a hot key of its own (and gives it back).
bool KeyIsFree(MediaKey key) {
    bool free = false;
    std::thread([&] {
        constexpr int kProbeId = 0x0101;
        free = ::RegisterHotKey(nullptr, kProbeId, MOD_NOREPEAT, static_cast<UINT>(player::VirtualKeyOf(key))) != FALSE;
        if (free) ::UnregisterHotKey(nullptr, kProbeId);
    }).join();
    return free;
}

void ExpectKeysHeld(const player::PlayerApp& app, bool held, int line) {
    for (MediaKey key : player::kMediaKeys) {
        EXPECT_EQ(app.MediaKeys().Registered(key), held) << "line " << line << ", key " << player::VirtualKeyOf(key);
        EXPECT_EQ(KeyIsFree(key), !held) << "line " << line << ", key " << player::VirtualKeyOf(key);
    }
}

LRESULT SendAppCommand(HWND window, int command) {
    return ::SendMessageW(window, WM_APPCOMMAND, reinterpret_cast<WPARAM>(window),
                          MAKELPARAM(0, static_cast<WORD>(command) | FAPPCOMMAND_KEY));
}

using MediaKeyAppTest = InProcessPlayer;

TEST_F(MediaKeyAppTest, TheKeysAreHeldOnlyWhileAMediumIsOpen) {
    MakeProgramFolder(home, folder);
    {
        // A player runs already: this start hands over and ends, and takes no key.
        player::StartOptions options = Options();
        win32::unique_kernel_handle running(::CreateMutexW(nullptr, FALSE, options.instanceName.c_str()));
        player::PlayerApp second(std::move(options));
        ASSERT_FALSE(second.StartUp());
        EXPECT_EQ(exits, std::vector<UINT>{0});
        for (MediaKey key : player::kMediaKeys) EXPECT_TRUE(KeyIsFree(key)) << player::VirtualKeyOf(key);
    }
    exits.clear();
    // Idle in the tray: the keys are other programs' to take.
    Start();
    ExpectKeysHeld(*app, false, __LINE__);
    app->PlayFile(Media(L"chord_c.mp3"));
    ASSERT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
    ExpectKeysHeld(*app, true, __LINE__);
    // Paused is still open: Play/Pause must be able to resume it.
    player::PausePlay(*app->Device());
    ASSERT_EQ(app->Device()->Mode(), MediaDevice::kModePaused);
    ExpectKeysHeld(*app, true, __LINE__);
    // Nothing left to play: the device closes and the keys go back.
    app->PlayNext();
    ASSERT_EQ(app->Device()->Mode(), MediaDevice::kModeNotOpen);
    ExpectKeysHeld(*app, false, __LINE__);
    app->PlayFile(Media(L"tone_660.wav"));
    ExpectKeysHeld(*app, true, __LINE__);
    app->Shutdown();
    // Given back while the windows still exist.
    for (MediaKey key : player::kMediaKeys) EXPECT_TRUE(KeyIsFree(key)) << player::VirtualKeyOf(key);
}

TEST_F(MediaKeyAppTest, AKeyAnotherProgramHoldsIsAnsweredAsAnApplicationCommandOnEveryWindow) {
    constexpr int kHeldId = 0x0102;
    ASSERT_TRUE(::RegisterHotKey(nullptr, kHeldId, 0, static_cast<UINT>(player::VirtualKeyOf(MediaKey::NextTrack))));
    const std::vector<std::wstring> songs{Media(L"chord_c.mp3"), Media(L"tone_660.wav"), Media(L"chord_f.wav"),
                                          Media(L"tone_440.mp3")};
    const auto list = home / L"four.m3u";
    folder.settings->at(9) = list.wstring();
    MakeProgramFolder(home, folder);
    WriteLines(list, songs);
    Start(L"/play");
    // Said nothing about the key it could not have.
    EXPECT_FALSE(app->MediaKeys().Registered(MediaKey::NextTrack));
    EXPECT_TRUE(app->MediaKeys().Registered(MediaKey::PlayPause));
    ASSERT_EQ(app->PanelControls().LblMediaName.Caption(), songs[0]);

    const HWND windows[] = {app->Skin().Handle(), app->Body().Handle(), app->Panel().Handle()};
    for (std::size_t i = 0; i < std::size(windows); ++i) {
        EXPECT_EQ(SendAppCommand(windows[i], APPCOMMAND_MEDIA_NEXTTRACK), TRUE) << i;
        EXPECT_EQ(app->PanelControls().LblMediaName.Caption(), songs[i + 1]) << i;
    }
    // A key the player holds came as a hot key already: its command does nothing.
    SendAppCommand(app->Skin().Handle(), APPCOMMAND_MEDIA_PLAY_PAUSE);
    SendAppCommand(app->Body().Handle(), APPCOMMAND_MEDIA_STOP);
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
    ::UnregisterHotKey(nullptr, kHeldId);
    app->Shutdown();
}

}  // namespace
}  // namespace tessel::test
