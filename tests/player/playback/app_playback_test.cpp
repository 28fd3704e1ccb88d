// The playback controls in the real program under Wine: real MCI with generated media,
// the main timer and the status event running, keys sent to the skin window, the real
// video window sized by the display-size choice, and the caption hand-over.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "player/playback/mmc/mmc.h"
#include "player/playback/transport.h"
#include "player/startup/Initialize.h"
#include "tests/player/core/in_process_app.h"
#include "tests/player/core/win_support.h"

namespace tessel::player::test {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

class PlaybackAppTest : public ::testing::Test {
protected:
    TempDir dir{L"playback"};
    std::vector<std::wstring> reports;
    std::unique_ptr<PlayerApp> app;

    void SetUp() override {
        MakeProgramFolder(dir.path(), nullptr);
        auto settings = DefaultSettings();
        WriteLines(dir.path() / L"Setting" / L"init.ini", settings);
        app = std::make_unique<PlayerApp>(InProcessOptions(dir.path(), L"TesselPlaybackTest", &reports));
        ASSERT_TRUE(app->StartUp());
        ASSERT_TRUE(reports.empty()) << Printable(reports.front());
    }
    void TearDown() override {
        if (app && app->Device()) {
            app->Device()->Command(MediaCommand::Stop);
            app->Device()->Command(MediaCommand::Close);
        }
        app.reset();
    }
    static std::wstring Media(const wchar_t* name) { return (MediaDir() / name).wstring(); }
    // Runs the program's messages for this long.
    static void Run(std::chrono::milliseconds time) {
        WaitUntil([] { return false; }, time, true);
    }
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
        return WaitUntil(done, limit, true);
    }
    void Key(int code) {
        ::SendMessageW(app->Skin().Handle(), WM_KEYDOWN, static_cast<WPARAM>(code), 0);
        ::SendMessageW(app->Skin().Handle(), WM_KEYUP, static_cast<WPARAM>(code), 0);
    }
    RECT VideoRect() const {
        RECT r{};
        ::GetWindowRect(reinterpret_cast<HWND>(app->Vars().VideoWindowHandle), &r);
        return r;
    }
};

TEST_F(PlaybackAppTest, ReadOutsCountUpAndTheNextEntryStartsSoonAfterTheEnd) {
    const std::wstring first = Media(L"tone_440.mp3"), second = Media(L"chord_c.mp3");
    app->PanelControls().LstM3u.AddItem(first);
    app->PanelControls().LstM3u.AddItem(second);
    app->PlayNext();
    const auto started = Clock::now();
    ASSERT_EQ(app->PanelControls().LblMediaName.Caption(), first);
    EXPECT_EQ(app->BodyControls().LblTTime.Caption(), L"3");
    std::vector<int> seen{std::stoi(app->BodyControls().LblNTime.Caption())};
    Clock::time_point next{};
    RunUntil(
        [&] {
            if (app->PanelControls().LblMediaName.Caption() == second) {
                next = Clock::now();
                return true;
            }
            const int now = std::stoi(app->BodyControls().LblNTime.Caption());
            if (now != seen.back()) seen.push_back(now);
            return false;
        },
        8s);
    ASSERT_NE(next, Clock::time_point{}) << "the second entry never started";
    for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_LT(seen[i - 1], seen[i]);
    for (int s : seen) EXPECT_LE(s, 3);
    EXPECT_GE(seen.size(), 3u);  // 0, then the whole seconds the events saw
    const auto after = std::chrono::duration_cast<std::chrono::milliseconds>(next - started);
    EXPECT_GE(after.count(), 3300);
    EXPECT_LE(after.count(), 3500 + 1500);
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"0");
}

TEST_F(PlaybackAppTest, SpaceTwicePausesAndResumesAtTheSamePlace) {
    app->PlayFile(Media(L"silence_185.mp3"));
    ASSERT_TRUE(RunUntil([&] { return app->Device()->Position() >= 1200; }, 5s));
    Key(kKeySpace);
    const std::int32_t pausedAt = app->Device()->Position();
    Run(1200ms);
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePaused);
    EXPECT_LE(std::abs(app->Device()->Position() - pausedAt), 150);
    EXPECT_EQ(app->PanelControls().LblMediaName.Caption(), Media(L"silence_185.mp3"));
    Key(kKeySpace);
    Run(700ms);
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
    EXPECT_GE(app->Device()->Position(), pausedAt);
    EXPECT_LE(app->Device()->Position(), pausedAt + 1500);
}

TEST_F(PlaybackAppTest, BackSpaceInTheLastSecondRestartsInsteadOfAdvancing) {
    const std::wstring first = Media(L"tone_660.wav");
    app->PanelControls().LstM3u.AddItem(Media(L"chord_f.wav"));
    app->PlayFile(first);
    ASSERT_TRUE(RunUntil([&] { return app->Device()->Position() >= 2700; }, 6s));
    Key(kKeyBack);
    Run(1500ms);
    EXPECT_EQ(app->PanelControls().LblMediaName.Caption(), first);
    EXPECT_EQ(app->PanelControls().LstM3u.ListCount(), 1u);
    EXPECT_LT(app->Device()->Position(), 2500);
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
}

TEST_F(PlaybackAppTest, DisplaySizesResizeTheRealVideoWindowWhereTheTimerLastSawIt) {
    app->PlayFile(Media(L"clip.avi"));
    ASSERT_NE(app->Vars().VideoWindowHandle, 0u) << "no video window";
    HWND video = reinterpret_cast<HWND>(app->Vars().VideoWindowHandle);
    wchar_t cls[64] = {};
    ::GetClassNameW(video, cls, 64);
    EXPECT_STREQ(cls, L"MCIQTZ_Window");
    // Let the main timer track it once.
    ::SetWindowPos(video, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(RunUntil([&] { return app->Vars().VideoWindowRect.left == 40; }, 2s));
    app->PanelControls().CmbDispSize.SetListIndex(3);  // "640-480"
    RECT r = VideoRect();
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);

    // The user moves it; the timer follows; "320-240" sizes it in the new place.
    ::SetWindowPos(video, nullptr, 210, 160, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(RunUntil([&] { return app->Vars().VideoWindowRect.left == 210; }, 2s));
    app->PanelControls().CmbDispSize.SetListIndex(1);
    r = VideoRect();
    EXPECT_EQ(r.left, 210);
    EXPECT_EQ(r.top, 160);
    EXPECT_EQ(r.right - r.left, 320);
    EXPECT_EQ(r.bottom - r.top, 240);

    app->PanelControls().CmbDispSize.SetListIndex(8);  // hide
    EXPECT_FALSE(::IsWindowVisible(video));
}

TEST_F(PlaybackAppTest, AStaleVideoHandleIsNeverActedOn) {
    // Our own skin window under the old number: not a video window, left alone.
    HWND skin = app->Skin().Handle();
    RECT before{};
    ::GetWindowRect(skin, &before);
    app->Vars().VideoWindowHandle = reinterpret_cast<WindowId>(skin);
    app->PanelControls().CmbDispSize.SetListIndex(4);
    app->PanelControls().CmbDispSize.SetListIndex(8);
    RECT after{};
    ::GetWindowRect(skin, &after);
    EXPECT_TRUE(::EqualRect(&before, &after));
    EXPECT_TRUE(::IsWindowVisible(skin));
    // A destroyed window's number names nothing of ours.
    HWND gone = ::CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(gone);
    app->Vars().VideoWindowHandle = reinterpret_cast<WindowId>(gone);
    app->PanelControls().CmbDispSize.SetListIndex(7);
    EXPECT_FALSE(app->Panel().Video().IsVideoWindow(reinterpret_cast<WindowId>(gone)));
    EXPECT_FALSE(app->Panel().Video().IsVideoWindow(reinterpret_cast<WindowId>(skin)));
}

TEST_F(PlaybackAppTest, AQuotedPathInTheCaptionIsPlayedAndTheCaptionRestored) {
    const std::wstring file = Media(L"chord_c.mp3");
    ::SetWindowTextW(app->Body().Handle(), (L"\"" + file + L"\"").c_str());
    ASSERT_TRUE(RunUntil([&] { return app->PanelControls().LblMediaName.Caption() == file; }, 3s));
    EXPECT_EQ(WindowText(app->Body().Handle()), L"PlayerForm");
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);

    // A path that does not exist: the queue's next entry plays, the caption comes back.
    const std::wstring queued = Media(L"tone_440.mp3");
    app->PanelControls().LstM3u.AddItem(queued);
    ::SetWindowTextW(app->Body().Handle(), L"\"C:\\nowhere\\missing.mp3\"");
    ASSERT_TRUE(RunUntil([&] { return app->PanelControls().LblMediaName.Caption() == queued; }, 3s));
    EXPECT_EQ(WindowText(app->Body().Handle()), L"PlayerForm");
}

TEST_F(PlaybackAppTest, TheTitleScrollsTwoCharactersASecond) {
    app->PlayFile(Media(L"chord_c.mp3"));
    const std::wstring title = app->BodyControls().LblTitle.Caption();
    ASSERT_EQ(title, L"     chord_c.mp3              ");
    Run(1600ms);
    const std::wstring now = app->BodyControls().LblTitle.Caption();
    // Some number of one-character steps, at least two and at most four.
    int steps = -1;
    std::wstring t = title;
    for (int i = 1; i <= 6 && steps < 0; ++i) {
        t = MarqueeStep(t);
        if (t == now) steps = i;
    }
    EXPECT_GE(steps, 2);
    EXPECT_LE(steps, 4);
}

TEST_F(PlaybackAppTest, ALargeListLoadsIntoTheRealListBoxQuickly) {
    std::vector<std::wstring> lines;
    for (int i = 0; i < 30000; ++i) lines.push_back(Media(i % 2 ? L"tone_440.mp3" : L"chord_c.mp3"));
    WriteLines(dir.path() / L"big.m3u", lines);
    const auto start = Clock::now();
    app->Engine().LoadListFile((dir.path() / L"big.m3u").wstring());
    const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
    EXPECT_EQ(::SendMessageW(app->Panel().Child(MenuForm::IdLstM3u), LB_GETCOUNT, 0, 0), 30000);
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"30000");
    EXPECT_LT(took.count(), 10000);
}

}  // namespace
}  // namespace tessel::player::test
