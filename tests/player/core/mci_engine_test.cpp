// The play queue engine over the real media device and real generated media.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "player/playback/engine.h"
#include "player/playback/mmc/mmc.h"
#include "player/playback/polling.h"
#include "tests/player/core/win_support.h"

namespace tessel::player::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class MciEngineTest : public ::testing::Test {
protected:
    std::unique_ptr<Mmc> device = std::make_unique<Mmc>();
    MenuFormControls menu;
    PlayerFormControls body;
    LLVariable vars;
    std::unique_ptr<PlaybackEngine> engine;

    void SetUp() override {
        PlayerServices s;
        s.findWindow = [](const std::wstring& c, const std::wstring& t) -> WindowId {
            return reinterpret_cast<WindowId>(::FindWindowW(c.c_str(), t.c_str()));
        };
        engine = std::make_unique<PlaybackEngine>(*device, menu, body, vars, std::move(s));
        device->SetStatusUpdate([this] { OnMediaStatus(*engine, *device, body, vars); });
    }
    void TearDown() override {
        device->SetStatusUpdate(nullptr);
        device->Command(MediaCommand::Stop);
        device->Command(MediaCommand::Close);
        engine.reset();
        device.reset();
    }
    static std::wstring Media(const wchar_t* name) { return (MediaDir() / name).wstring(); }
};

TEST_F(MciEngineTest, LengthIsShownInWholeSeconds) {
    // 185.9 s exactly: a PCM file has no encoder padding to blur its length.
    TempDir dir(L"len");
    const fs::path medium = dir.path() / L"silence 185.9.wav";
    WriteSilentWav(medium, 185900);
    engine->PlayFile(medium.wstring());
    EXPECT_EQ(menu.LblMediaName.Caption(), medium.wstring());
    EXPECT_EQ(body.LblTTime.Caption(), L"185");
    EXPECT_EQ(body.ScrTime.Max(), 185);
    EXPECT_EQ(body.LblNTime.Caption(), L"0");
    EXPECT_EQ(vars.VideoWindowHandle, 0u);
}

TEST_F(MciEngineTest, VideoWindowIsFoundAndAudioHasNone) {
    for (const wchar_t* name : {L"clip.mp4", L"clip.avi"}) {
        engine->PlayFile(Media(name));
        ASSERT_NE(vars.VideoWindowHandle, 0u) << Printable(name);
        HWND video = reinterpret_cast<HWND>(vars.VideoWindowHandle);
        wchar_t cls[64] = {};
        ::GetClassNameW(video, cls, 64);
        EXPECT_STREQ(cls, L"MCIQTZ_Window");
        EXPECT_EQ(body.LblTTime.Caption(), L"4");
    }
    engine->PlayFile(Media(L"tone_440.mp3"));
    EXPECT_EQ(vars.VideoWindowHandle, 0u);
}

TEST_F(MciEngineTest, QueuePlaysThroughSkippingWhatCannotPlay) {
    for (const wchar_t* name : {L"tone_660.wav", L"missing.mp3", L"broken.mp3", L"chord_f.wav"}) {
        menu.LstM3u.AddItem(Media(name));
    }
    engine->PlayNext();
    ASSERT_EQ(menu.LblMediaName.Caption(), Media(L"tone_660.wav"));
    EXPECT_EQ(menu.LstM3u.ListCount(), 3u);
    const auto started = std::chrono::steady_clock::now();

    // The read-out counts up and never goes back while the first medium plays.
    int last = -1;
    bool decreased = false;
    std::vector<int> seen;
    const bool advanced = WaitUntil(
        [&] {
            if (menu.LblMediaName.Caption() != Media(L"tone_660.wav")) return true;
            const int now = std::stoi(body.LblNTime.Caption());
            if (now < last) decreased = true;
            if (now != last) seen.push_back(now);
            last = now;
            return false;
        },
        8s, true);
    ASSERT_TRUE(advanced);
    const auto took = std::chrono::steady_clock::now() - started;
    EXPECT_FALSE(decreased);
    EXPECT_GE(seen.size(), 3u);  // 0, 1, 2, 3 at about one a second
    // 3.5 s of sound, then the next entry within about a second and a half (the
    // status event comes once a second); a second more for a busy machine.
    EXPECT_GE(took, 3s);
    EXPECT_LE(took, 6500ms);
    // The missing and the unplayable entries were dropped on the way.
    EXPECT_EQ(menu.LblMediaName.Caption(), Media(L"chord_f.wav"));
    EXPECT_EQ(menu.LstM3u.ListCount(), 0u);
    EXPECT_EQ(menu.LblListCount.Caption(), L"0");
    // After the last one the player goes idle.
    EXPECT_TRUE(WaitUntil([&] { return menu.LblMediaName.Caption().empty(); }, 7s, true));
    EXPECT_EQ(body.LblTitle.Caption(), kIdleTitle);
    EXPECT_EQ(device->Mode(), MediaDevice::kModeNotOpen);
}

}  // namespace
}  // namespace tessel::player::test
