#include "player/playback/engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "player/playback/polling.h"
#include "tests/support/fake_device.h"
#include "tests/support/temp_dir.h"

namespace tessel::player {
namespace {

using tessel::test::FakeDevice;

class EngineTest : public ::testing::Test {
protected:
    FakeDevice device;
    MenuFormControls menu;
    PlayerFormControls body;
    LLVariable vars;
    std::set<std::wstring> files;
    std::vector<std::wstring> tips;
    std::map<std::pair<std::wstring, std::wstring>, WindowId> windows;
    std::vector<WindowId> topmost;
    int displaySizeApplied = 0;
    int pumps = 0;
    std::function<void()> duringPump;  // runs at every pump
    std::vector<bool> openReports;  // mediumOpen, in turn
    int continuations = 0;            // continueLater asked for (when slicing)
    bool slicing = false;
    std::vector<double> draws;  // random numbers handed out in turn
    tessel::test::TempDir dir{"engine"};

    PlaybackEngine MakeEngine() {
        PlayerServices s;
        s.fileExists = [this](const std::wstring& p) { return files.count(p) > 0; };
        s.findWindow = [this](const std::wstring& c, const std::wstring& t) -> WindowId {
            auto it = windows.find({c, t});
            return it == windows.end() ? 0 : it->second;
        };
        s.makeTopmost = [this](WindowId w) { topmost.push_back(w); };
        s.applyDisplaySize = [this] { ++displaySizeApplied; };
        s.setTrayTip = [this](const std::wstring& tip) { tips.push_back(tip); };
        s.pumpEvents = [this] {
            ++pumps;
            if (duringPump) duringPump();
        };
        s.mediumOpen = [this](bool open) { openReports.push_back(open); };
        if (slicing) s.continueLater = [this] { ++continuations; };
        s.random = [this] {
            if (draws.empty()) return 0.0;
            double r = draws.front();
            draws.erase(draws.begin());
            return r;
        };
        return PlaybackEngine(device, menu, body, vars, std::move(s));
    }
    void AddMedia(std::int32_t ms, std::initializer_list<std::wstring> paths) {
        for (const auto& path : paths) {
            files.insert(path);
            device.lengths[path] = ms;
        }
    }
    void Queue(std::initializer_list<const wchar_t*> paths) {
        for (auto p : paths) menu.LstM3u.AddItem(p);
    }
    // A list file on disk whose entries the fake file system knows.
    std::wstring WriteList(const std::string& name, const std::vector<std::string>& lines) {
        std::string bytes;
        for (const auto& l : lines) bytes += l + "\r\n";
        const std::wstring path = dir.Write(name, bytes).wstring();
        files.insert(path);
        return path;
    }
    void ExpectIdle() {
        EXPECT_EQ(body.LblTitle.Caption(), L"        リストファイルを選択してください     ");
        EXPECT_EQ(body.LblNTime.Caption(), L"0");
        EXPECT_EQ(body.LblTTime.Caption(), L"0");
        EXPECT_EQ(menu.LblMediaName.Caption(), L"");
        EXPECT_EQ(device.Mode(), MediaDevice::kModeNotOpen);
    }
};

TEST_F(EngineTest, PlaysTheQueueInOrderAndShowsWhatIsLeft) {
    AddMedia(3500, {LR"(C:\m\A.mp3)"});
    AddMedia(185900, {LR"(C:\m\B.mp3)"});
    AddMedia(40000 * 1000, {LR"(C:\m\C.mp3)"});
    Queue({LR"(C:\m\A.mp3)", LR"(C:\m\B.mp3)", LR"(C:\m\C.mp3)"});
    auto engine = MakeEngine();

    engine.PlayNext();
    EXPECT_EQ(device.Playing(), LR"(C:\m\A.mp3)");
    EXPECT_EQ(menu.LstM3u.Items(), (std::vector<std::wstring>{LR"(C:\m\B.mp3)", LR"(C:\m\C.mp3)"}));
    EXPECT_EQ(menu.LblListCount.Caption(), L"2");
    EXPECT_EQ(body.LblTitle.Caption(), L"     A.mp3              ");
    EXPECT_EQ(menu.LblMediaName.Caption(), LR"(C:\m\A.mp3)");
    EXPECT_EQ(menu.LblScrMediaName.Caption(), LR"( C:\m\A.mp3)");
    EXPECT_EQ(body.LblTTime.Caption(), L"3");
    EXPECT_EQ(body.LblNTime.Caption(), L"0");
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(tips[0].size(), 64u);
    EXPECT_EQ(tips[0].substr(0, 6), L"A.mp3 ");
    EXPECT_EQ(pumps, 1);

    engine.PlayNext();
    EXPECT_EQ(device.Playing(), LR"(C:\m\B.mp3)");
    // 185.9 s shows as 185, and so ends the time bar.
    EXPECT_EQ(body.LblTTime.Caption(), L"185");
    EXPECT_EQ(body.ScrTime.Max(), 185);
    EXPECT_EQ(body.ScrTime.Value(), 0);

    engine.PlayNext();
    EXPECT_EQ(device.Playing(), LR"(C:\m\C.mp3)");
    EXPECT_EQ(menu.LblListCount.Caption(), L"0");
    // A long medium caps the time bar but not the read-out.
    EXPECT_EQ(body.LblTTime.Caption(), L"40000");
    EXPECT_EQ(body.ScrTime.Max(), 32767);
    // Every open came after a stop and close of the previous medium.
    EXPECT_EQ(device.opened, (std::vector<std::wstring>{LR"(C:\m\A.mp3)", LR"(C:\m\B.mp3)", LR"(C:\m\C.mp3)"}));
    EXPECT_EQ(device.UpdateInterval(), 1000u);
    EXPECT_FALSE(device.Notify());
    EXPECT_TRUE(device.Wait());

    engine.PlayNext();
    ExpectIdle();
    // The media keys follow: held while something plays, given back at the idle end.
    EXPECT_EQ(openReports, (std::vector<bool>{true, true, true, false}));
}

TEST_F(EngineTest, MissingAndUnplayableEntriesAreSkippedSilentlyToTheIdleEnd) {
    AddMedia(0, {LR"(C:\m\broken.mp3)"});
    AddMedia(2000, {LR"(C:\m\good.mp3)"});
    Queue({LR"(C:\m\gone1.mp3)", LR"(C:\m\gone2.mp3)", LR"(C:\m\broken.mp3)", LR"(C:\m\good.mp3)",
           LR"(C:\m\after.mp3)"});
    auto engine = MakeEngine();
    engine.PlayNext();
    EXPECT_EQ(device.Playing(), LR"(C:\m\good.mp3)");
    EXPECT_EQ(menu.LstM3u.Items(), (std::vector<std::wstring>{LR"(C:\m\after.mp3)"}));
    EXPECT_EQ(menu.LblListCount.Caption(), L"1");
    // Nothing left that plays: idle, with an honest count.
    engine.PlayNext();
    ExpectIdle();
    EXPECT_EQ(menu.LstM3u.ListCount(), 0u);
    EXPECT_EQ(menu.LblListCount.Caption(), L"0");
}

TEST_F(EngineTest, ALongRunOfEntriesThatDoNotPlayIsSkippedASliceAtATime) {
    slicing = true;
    AddMedia(2000, {L"/m/good.mp3", L"/m/other.mp3"});
    AddMedia(0, {L"/m/broken.txt"});
    auto engine = MakeEngine();
    // Fewer than a slice's worth in front of a playable entry: played at once.
    for (std::size_t i = 0; i + 1 < kSkipSliceEntries; ++i) menu.LstM3u.AddItem(L"/m/broken.txt");
    Queue({L"/m/good.mp3"});
    engine.PlayNext();
    EXPECT_EQ(device.Playing(), L"/m/good.mp3");
    EXPECT_EQ(continuations, 0);
    EXPECT_FALSE(engine.Searching());

    // A slice's worth: the playable one waits for the next slice, and the search goes on
    // from where the last slice stopped.
    for (std::size_t i = 0; i < 3 * kSkipSliceEntries; ++i) menu.LstM3u.AddItem(i % 2 ? L"/m/broken.txt" : L"/m/gone.mp3");
    Queue({L"/m/other.mp3", L"/m/good.mp3"});
    engine.PlayNext();
    EXPECT_EQ(continuations, 1);
    EXPECT_TRUE(engine.Searching());
    EXPECT_EQ(menu.LstM3u.ListCount(), 2 * kSkipSliceEntries + 2);
    while (engine.Searching() && continuations < 100) engine.ContinuePlayNext();
    EXPECT_EQ(device.Playing(), L"/m/other.mp3");
    EXPECT_EQ(menu.LstM3u.Items(), std::vector<std::wstring>{L"/m/good.mp3"});
    EXPECT_GE(continuations, 3);

    // A file played meanwhile takes the search's place: its slices stop.
    menu.LstM3u.Clear();
    for (std::size_t i = 0; i < kSkipSliceEntries; ++i) menu.LstM3u.AddItem(L"/m/gone.mp3");
    engine.PlayNext();
    ASSERT_TRUE(engine.Searching());
    engine.PlayFile(L"/m/other.mp3");
    EXPECT_FALSE(engine.Searching());
    const std::size_t left = menu.LstM3u.ListCount();
    engine.ContinuePlayNext();
    EXPECT_EQ(menu.LstM3u.ListCount(), left);
    EXPECT_EQ(device.Playing(), L"/m/other.mp3");
}

TEST_F(EngineTest, RandomOrderPlaysEachEntryOnceThenEndlessStartsANewRound) {
    std::vector<std::string> lines;
    for (int i = 0; i < 6; ++i) {
        AddMedia(1000, {L"/m/" + std::to_wstring(i) + L".mp3"});
        lines.push_back("/m/" + std::to_string(i) + ".mp3");
    }
    const std::wstring list = WriteList("six.m3u", lines);
    menu.LblM3uName.SetCaption(list);
    menu.ChkRandom.SetValue(1);
    menu.ChkEndless.SetValue(1);
    auto engine = MakeEngine();
    // A draw r picks entry floor(r * n) of the n left, which then leaves the queue: the
    // top end picks the last one, 0 the first, and every draw counts the whole queue.
    draws = {0.4, 0.9999999, 0.0, 0.5, 0.6, 0.3};
    std::vector<std::wstring> played;
    for (int i = 0; i < 6; ++i) {
        engine.PlayNext();
        played.push_back(device.Playing());
    }
    // 2.4 of 0-5: 2; 4.9999995 of 0 1 3 4 5: 5; 0 of 0 1 3 4: 0; 1.5 of 1 3 4: 3; 1.2 of
    // 1 4: 4; 0.3 of 1: 1.
    EXPECT_EQ(played, (std::vector<std::wstring>{L"/m/2.mp3", L"/m/5.mp3", L"/m/0.mp3", L"/m/3.mp3", L"/m/4.mp3",
                                                 L"/m/1.mp3"}));
    EXPECT_EQ(menu.LstM3u.ListCount(), 0u);
    // The queue ran dry: endless reads the list again; a draw outside [0, 1) is 0.
    draws = {1.0};
    engine.PlayNext();
    EXPECT_EQ(device.Playing(), L"/m/0.mp3");
    EXPECT_EQ(menu.LstM3u.ListCount(), 5u);
    EXPECT_EQ(menu.LblM3uName.Caption(), list);
}

// A list handed to the player (command line, second start) is played as a list, in
// the encoding its name says; a medium is played as a medium.
TEST_F(EngineTest, AListFileHandedOverReplacesTheQueueAndPlays) {
    AddMedia(1000, {L"/m/Beyonc\u00E9 - Halo.mp3", L"/m/\uD55C\uAD6D\uC5B4.mp3", L"/m/\U0001F3B5.mp3", L"/m/old.mp3"});
    const std::wstring list = WriteList("cafe.M3U8", {"\xEF\xBB\xBF/m/Beyonc\xC3\xA9 - Halo.mp3",
                                                             "/m/\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4.mp3", "/m/\xF0\x9F\x8E\xB5.mp3"});
    const std::wstring sjis = WriteList("old.m3u", {"/m/old.mp3"});
    Queue({L"/m/old.mp3"});
    auto engine = MakeEngine();
    engine.PlayFile(list);
    EXPECT_EQ(device.Playing(), L"/m/Beyonc\u00E9 - Halo.mp3");
    EXPECT_EQ(menu.LblM3uName.Caption(), list);
    EXPECT_EQ(menu.LblScrLstName.Caption(), L" " + list);
    ASSERT_EQ(menu.LstM3u.ListCount(), 2u);
    EXPECT_EQ(menu.LstM3u.List(0), L"/m/\uD55C\uAD6D\uC5B4.mp3");
    EXPECT_EQ(menu.LstM3u.List(1), L"/m/\U0001F3B5.mp3");
    engine.PlayFile(sjis);
    EXPECT_EQ(device.Playing(), L"/m/old.mp3");
    EXPECT_EQ(menu.LblM3uName.Caption(), sjis);
    EXPECT_EQ(menu.LstM3u.ListCount(), 0u);
    // A missing list is like any missing file: the queue goes on.
    Queue({L"/m/\U0001F3B5.mp3"});
    engine.PlayFile(L"/gone.m3u8");
    EXPECT_EQ(device.Playing(), L"/m/\U0001F3B5.mp3");
    EXPECT_EQ(menu.LblM3uName.Caption(), sjis);
}

TEST_F(EngineTest, EndlessRefillForgetsOnlyAListThatNamesNothingAndRunsOncePerPlay) {
    // A list read whole with nothing but blank and comment lines is no list to come
    // back to. One that cannot be read, or whose entries are all missing (a drive not
    // there yet) or do not play, is kept for later and for the settings file; those
    // that do not play are tried once each, then the idle display.
    const std::wstring unreadable = (dir.path() / "unreadable.m3u").wstring();
    files.insert(unreadable);  // said to exist, but no such file opens
    AddMedia(0, {L"/m/bad1.mp3", L"/m/bad2.mp3"});
    const struct {
        std::wstring list;
        bool forgotten;
        long opens;
    } cases[] = {
        {WriteList("blank.m3u", {"#EXTM3U", "", "#comment"}), true, 0},
        {WriteList("gone.m3u", {"#EXTM3U", "X:\\absent\\a.mp3", "X:\\absent\\b.mp3"}), false, 0},
        {L"X:\\absent\\list.m3u", false, 0},
        {unreadable, false, 0},
        {WriteList("bad.m3u", {"/m/bad1.mp3", "/m/bad2.mp3"}), false, 2},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        menu.LblM3uName.SetCaption(c.list);
        menu.ChkEndless.SetValue(1);
        device.commands.clear();
        auto engine = MakeEngine();
        engine.PlayNext();
        ExpectIdle();
        EXPECT_EQ(menu.LblM3uName.Caption(), c.forgotten ? L"" : c.list) << i;
        EXPECT_EQ(std::count(device.commands.begin(), device.commands.end(), MediaCommand::Open), c.opens) << i;
    }
}

TEST_F(EngineTest, VideoWindowIsFoundByTheClassOfEveryMediaLayer) {
    AddMedia(5000, {L"/v/clip.mp4", L"/v/old.avi", L"/v/film.mkv", L"/a/song.mp3"});
    windows[{L"MCIQTZ_Window", L"/v/clip.mp4"}] = 77;
    windows[{L"AVIWnd32", L"old.avi"}] = 88;
    windows[{kVideoClassMediaFoundation, L"/v/film.mkv"}] = 66;
    auto engine = MakeEngine();
    engine.PlayFile(L"/v/clip.mp4");
    EXPECT_EQ(vars.VideoWindowHandle, 77u);
    engine.PlayFile(L"/v/old.avi");
    EXPECT_EQ(vars.VideoWindowHandle, 88u);
    engine.PlayFile(L"/v/film.mkv");
    EXPECT_EQ(vars.VideoWindowHandle, 66u);
    EXPECT_EQ(displaySizeApplied, 3);
    EXPECT_EQ(topmost, (std::vector<WindowId>{77, 88, 66}));
    // No video: the handle goes back to 0 and the display size is left alone.
    engine.PlayFile(L"/a/song.mp3");
    EXPECT_EQ(vars.VideoWindowHandle, 0u);
    EXPECT_EQ(displaySizeApplied, 3);
}

// The status event and the main timer's hand-over check.
using PollingTest = EngineTest;

TEST_F(PollingTest, StatusShowsWholeSecondsAndAdvancesAtTheEnd) {
    AddMedia(3500, {L"a.mp3", L"b.mp3"});
    Queue({L"a.mp3", L"b.mp3"});
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
    // Paused, the medium waits; a time bar the user holds stays put.
    device.mode = MediaDevice::kModePaused;
    device.position = 2000;
    vars.TimeBarFocused = true;
    OnMediaStatus(engine, device, body, vars);
    EXPECT_EQ(body.LblNTime.Caption(), L"2");
    EXPECT_EQ(body.ScrTime.Value(), 3);
    EXPECT_EQ(device.opened.size(), 1u);
    device.mode = MediaDevice::kModePlaying;
    device.position = 3500;  // position reached the length
    OnMediaStatus(engine, device, body, vars);
    EXPECT_EQ(device.opened, (std::vector<std::wstring>{L"a.mp3", L"b.mp3"}));
    // A device that reports stopped ends the medium too.
    device.position = 1200;
    device.mode = MediaDevice::kModeStopped;
    OnMediaStatus(engine, device, body, vars);
    EXPECT_EQ(body.LblTitle.Caption(), kIdleTitle);
}

// A handed-over file is played once, the caption restored first. While it is being
// started, a tick finds nothing to do, and the stale state of the medium before
// (ended) starts no other entry.
TEST_F(PollingTest, AHandedOverFileIsPlayedOnceAndNothingElseStartsMeanwhile) {
    AddMedia(3500, {LR"(C:\m\given.mp3)", L"b.mp3"});
    Queue({L"b.mp3"});
    std::wstring caption = L"\"C:\\m\\given.mp3\"";
    const auto setCaption = [&](const std::wstring& c) { caption = c; };
    auto engine = MakeEngine();
    std::vector<std::wstring> captionWhilePlaying;
    duringPump = [&] {
        captionWhilePlaying.push_back(caption);
        EXPECT_FALSE(TakeHandedOverFile(engine, caption, setCaption));
        device.position = device.length;
        OnMediaStatus(engine, device, body, vars);
    };
    EXPECT_TRUE(TakeHandedOverFile(engine, caption, setCaption));
    EXPECT_EQ(caption, L"PlayerForm");
    EXPECT_EQ(captionWhilePlaying, (std::vector<std::wstring>{L"PlayerForm"}));
    EXPECT_EQ(device.opened, (std::vector<std::wstring>{LR"(C:\m\given.mp3)"}));
    EXPECT_EQ(menu.LstM3u.ListCount(), 1u);
    // At rest nothing happens.
    EXPECT_FALSE(TakeHandedOverFile(engine, caption, setCaption));
}

}  // namespace
}  // namespace tessel::player
