#include "player/playback/polling.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/fake_device.h"

namespace tessel::player {
namespace {

class PollingTest : public ::testing::Test {
protected:
    tessel::test::FakeDevice device;
    MenuFormControls menu;
    PlayerFormControls body;
    LLVariable vars;
    std::function<void()> duringPump;

    PlaybackEngine MakeEngine() {
        PlayerServices s;
        s.fileExists = [this](const std::wstring& p) { return device.lengths.count(p) > 0; };
        s.pumpEvents = [this] {
            if (duringPump) duringPump();
        };
        return PlaybackEngine(device, menu, body, vars, std::move(s));
    }
};

TEST_F(PollingTest, StatusShowsWholeSecondsAndAdvancesAtTheEnd) {
    device.lengths = {{L"a.mp3", 3500}, {L"b.mp3", 3500}};
    menu.LstM3u.AddItem(L"a.mp3");
    menu.LstM3u.AddItem(L"b.mp3");
    auto engine = MakeEngine();
    engine.PlayNext();
    std::vector<std::wstring> shown;
    for (std::int32_t ms : {0, 999, 1000, 2500, 3499}) {
        device.position = ms;
        OnMediaStatus(engine, device, body, vars);
        shown.push_back(body.LblNTime.Caption());
        EXPECT_EQ(device.opened.size(), 1u);
    }
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"0", L"0", L"1", L"2", L"3"}));
    EXPECT_EQ(body.ScrTime.Value(), 3);
    device.position = 3500;  // position reached the length
    OnMediaStatus(engine, device, body, vars);
    EXPECT_EQ(device.opened, (std::vector<std::wstring>{L"a.mp3", L"b.mp3"}));
    // A device that reports stopped ends the medium too.
    device.position = 1200;
    device.mode = MediaDevice::kModeStopped;
    OnMediaStatus(engine, device, body, vars);
    EXPECT_EQ(body.LblTitle.Caption(), kIdleTitle);
}

TEST_F(PollingTest, PausedMediumWaitsAndFocusedBarStaysPut) {
    device.lengths = {{L"a.mp3", 3500}};
    auto engine = MakeEngine();
    engine.PlayFile(L"a.mp3");
    device.mode = MediaDevice::kModePaused;
    device.position = 2000;
    vars.TimeBarFocused = true;
    OnMediaStatus(engine, device, body, vars);
    EXPECT_EQ(body.LblNTime.Caption(), L"2");
    EXPECT_EQ(body.ScrTime.Value(), 0);
    EXPECT_EQ(device.opened.size(), 1u);
}

TEST_F(PollingTest, HandedOverFileIsPlayedOnceAndTheCaptionRestoredFirst) {
    device.lengths = {{LR"(C:\m\given.mp3)", 3500}};
    std::wstring caption = L"\"C:\\m\\given.mp3\"";
    auto engine = MakeEngine();
    std::vector<std::wstring> captionWhilePlaying;
    // A tick that arrives while the file is being started must find nothing to do.
    duringPump = [&] {
        captionWhilePlaying.push_back(caption);
        EXPECT_FALSE(TakeHandedOverFile(engine, caption, [&](const std::wstring& c) { caption = c; }));
    };
    EXPECT_TRUE(TakeHandedOverFile(engine, caption, [&](const std::wstring& c) { caption = c; }));
    EXPECT_EQ(caption, L"PlayerForm");
    EXPECT_EQ(captionWhilePlaying, (std::vector<std::wstring>{L"PlayerForm"}));
    EXPECT_EQ(device.opened, (std::vector<std::wstring>{LR"(C:\m\given.mp3)"}));
    // At rest nothing happens.
    EXPECT_FALSE(TakeHandedOverFile(engine, caption, [&](const std::wstring& c) { caption = c; }));
}

TEST_F(PollingTest, StatusEventsWhileTheEngineIsBusyAreIgnored) {
    device.lengths = {{L"a.mp3", 3500}, {L"b.mp3", 3500}};
    menu.LstM3u.AddItem(L"b.mp3");
    auto engine = MakeEngine();
    // The stale device state of the previous medium (ended) must not start another
    // entry while this one is being started.
    duringPump = [&] {
        device.position = device.length;
        OnMediaStatus(engine, device, body, vars);
    };
    engine.PlayFile(L"a.mp3");
    EXPECT_EQ(device.opened, (std::vector<std::wstring>{L"a.mp3"}));
    EXPECT_EQ(menu.LstM3u.ListCount(), 1u);
}

}  // namespace
}  // namespace tessel::player
