// The media keys pressed while the player runs hidden: real key input from this
// process (another program, as far as the player can tell) reaches the running
// tesselplay.exe as hot keys.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "player/panel/MenuForm.h"
#include "player/shared/texts.h"
#include "player/windows/PlayerForm.h"
#include "player/windows/SkinForm.h"
#include "tests/support/player_folder.h"
#include "tests/support/temp_dir.h"
#include "tests/support/win32.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;
using player::MenuForm;

// The body window's time bar (its control id): the position in whole seconds.
constexpr int kScrTimeId = 11;

void PressKey(WORD virtualKey) {
    INPUT input[2]{};
    input[0].type = INPUT_KEYBOARD;
    input[0].ki.wVk = virtualKey;
    input[0].ki.dwFlags = KEYEVENTF_EXTENDEDKEY;
    input[1] = input[0];
    input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
    ASSERT_EQ(::SendInput(2, input, sizeof(INPUT)), 2u);
}

TEST(MediaKeyProcessTest, KeysPauseResumeRestartAndAdvanceThePlayerWhileItIsHidden) {
    TempDir dir{"mediakeys"};
    const fs::path list = dir / L"two.m3u";
    const std::wstring longSong = Media(L"silence_185.mp3");
    const std::wstring nextSong = Media(L"chord_c.mp3");
    auto settings = DefaultSettings();
    settings[4] = L"1";  // windows hidden
    settings[9] = list.wstring();
    MakeProgramFolder(dir.path(), {.settings = settings, .program = true});
    WriteLines(list, {longSong, nextSong});

    Process running(dir / L"tesselplay.exe", L"/play");
    ASSERT_TRUE(running.Started());
    HWND body = nullptr, mediaName = nullptr;
    auto readout = [&] { return WindowText(mediaName); };
    ASSERT_TRUE(WaitUntil(
        [&] {
            body = FindWindowOfProcess(running.Id(), player::kPlayerFormClass, player::texts::kPlayerFormCaption);
            mediaName = PanelControl(running, MenuForm::IdLblScrMediaName);
            return body && mediaName && readout() == L" " + longSong;
        },
        30s));
    ASSERT_FALSE(::IsWindowVisible(body));
    ASSERT_FALSE(::IsWindowVisible(FindWindowOfProcess(running.Id(), player::kSkinFormClass)));
    HWND timeBar = ::GetDlgItem(body, kScrTimeId);
    auto seconds = [&] { return static_cast<int>(::SendMessageW(timeBar, SBM_GETPOS, 0, 0)); };
    // Still (paused) for longer than a second. The bar follows the position once a
    // second: it is read after an update has shown where the pause came.
    auto holdsStill = [&](const char* what) {
        ::Sleep(1200);
        const int at = seconds();
        ::Sleep(1500);
        EXPECT_EQ(seconds(), at) << what;
        return at;
    };
    ASSERT_TRUE(WaitUntil([&] { return seconds() >= 2; }, 8s)) << seconds();

    PressKey(VK_MEDIA_PLAY_PAUSE);
    const int paused = holdsStill("Play/Pause pauses");
    EXPECT_GE(paused, 2);
    PressKey(VK_MEDIA_PLAY_PAUSE);
    EXPECT_TRUE(WaitUntil([&] { return seconds() > paused; }, 3s)) << "Play/Pause resumes";
    PressKey(VK_MEDIA_PREV_TRACK);
    EXPECT_TRUE(WaitUntil([&] { return seconds() <= 1; }, 2s)) << "Previous starts again: " << seconds();
    EXPECT_EQ(readout(), L" " + longSong);
    PressKey(VK_MEDIA_STOP);
    holdsStill("Stop pauses");
    EXPECT_EQ(readout(), L" " + longSong);
    PressKey(VK_MEDIA_NEXT_TRACK);
    EXPECT_TRUE(WaitUntil([&] { return readout() == L" " + nextSong; }, 3s)) << "Next advances";

    ::PostMessageW(body, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(running.WaitExit(10s, &code));
    EXPECT_EQ(code, 0u);
}

}  // namespace
}  // namespace tessel::test
