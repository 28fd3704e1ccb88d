// The playback controls in the real program under Wine: real playback of generated media,
// the main timer and the status event running, keys sent to the skin window, the real
// video window sized by the display-size choice, and a list file chosen through the
// real open dialog. The rules behind them are tested natively (engine_test,
// transport_test, list_file_test).
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "common/textfile.h"
#include "player/shared/texts.h"
#include "player/playback/mmc/media_layers_win32.h"
#include "player/playback/transport.h"
#include "tests/support/in_process_player.h"

namespace tessel::test {
namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
using player::MenuForm;

class PlaybackTest : public InProcessPlayer {
protected:
    void SetUp() override { Start(); }
    void Key(int code) {
        ::SendMessageW(app->Skin().Handle(), WM_KEYDOWN, static_cast<WPARAM>(code), 0);
        ::SendMessageW(app->Skin().Handle(), WM_KEYUP, static_cast<WPARAM>(code), 0);
    }
    HWND Video() const { return reinterpret_cast<HWND>(app->Vars().VideoWindowHandle); }
};

// A dropped folder of covers and texts queues files that exist but do not play; the
// windows go on answering while "再生/次へ" skips them.
TEST_F(PlaybackTest, TheWindowsAnswerWhileALongRunOfFilesThatDoNotPlayIsSkipped) {
    auto& queue = app->PanelControls().LstM3u;
    // More than a slice's worth (each failed open costs a good part of a second here).
    for (int i = 0; i <= static_cast<int>(player::kSkipSliceEntries); ++i)
        queue.AddItem(dir.Write("covers/note" + std::to_string(i) + ".txt", "not a medium").wstring());
    const std::wstring song = Media(L"chord_c.mp3");
    queue.AddItem(song);
    // A window of the test's own that notes what plays when WM_APP reaches it.
    struct Marker {
        const player::Label* playing;
        std::wstring seen = L"(not answered)";
    } marker{&app->PanelControls().LblMediaName};
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&marker));
    WNDPROC note = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m != WM_APP) return ::DefWindowProcW(w, m, wp, lp);
        auto* self = reinterpret_cast<Marker*>(::GetWindowLongPtrW(w, GWLP_USERDATA));
        self->seen = self->playing->Caption();
        return 0;
    };
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(note));
    // The click first, then a message for another window behind it.
    ::PostMessageW(app->Panel().Handle(), WM_COMMAND, MAKEWPARAM(MenuForm::IdMenuPlay, 0), 0);
    ::PostMessageW(window, WM_APP, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return app->PanelControls().LblMediaName.Caption() == song; }, 60s));
    ::DestroyWindow(window);
    // Answered before the skip reached the song.
    EXPECT_TRUE(marker.seen.empty()) << Printable(marker.seen);
    EXPECT_EQ(queue.ListCount(), 0u);
}

// What users' lists hold on a stock Windows: M4A, FLAC and an MP4 with pictures, all
// through Media Foundation, with files nothing plays between them. The read-outs count
// up with the status event; the next entry starts soon after the end (the event comes
// once a second); after the last one the player goes idle.
TEST_F(PlaybackTest, AListOfM4aFlacAndMp4PlaysThroughMediaFoundationWithTheReadOutsCountingUp) {
    const std::vector<std::wstring> good{Media(L"tone_880.m4a"), Media(L"chord_g.flac"), Media(L"clip.mp4")};
    for (const wchar_t* name : {L"tone_880.m4a", L"noise.mp4", L"chord_g.flac", L"missing.flac", L"clip.mp4"})
        app->PanelControls().LstM3u.AddItem(Media(name));
    auto* device = dynamic_cast<ChoosingDevice*>(app->Device());
    ASSERT_NE(device, nullptr);
    app->PlayNext();
    for (std::size_t i = 0; i < good.size(); ++i) {
        SCOPED_TRACE(Printable(good[i]));
        ASSERT_EQ(app->PanelControls().LblMediaName.Caption(), good[i]);
        const auto started = Clock::now();
        EXPECT_EQ(device->ChosenLayer(), kLayerMediaFoundation);
        const std::int32_t length = device->Length();
        EXPECT_EQ(app->BodyControls().LblTTime.Caption(), std::to_wstring(length / 1000));
        if (i + 1 == good.size()) {
            ASSERT_NE(Video(), nullptr) << "no picture for the MP4";
            EXPECT_EQ(ClassOf(Video()), kVideoClassMediaFoundation);
            EXPECT_TRUE(WaitUntil([&] { return app->PanelControls().LblMediaName.Caption().empty(); }, 8s));
            break;
        }
        EXPECT_EQ(Video(), nullptr);
        std::vector<int> seen{std::stoi(app->BodyControls().LblNTime.Caption())};
        ASSERT_TRUE(WaitUntil(
            [&] {
                if (app->PanelControls().LblMediaName.Caption() != good[i]) return true;
                const int now = std::stoi(app->BodyControls().LblNTime.Caption());
                if (now != seen.back()) seen.push_back(now);
                return false;
            },
            8s));
        const auto after = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
        EXPECT_GE(after.count(), length - 300) << "the next entry started early";
        // After the M4A comes a file of random bytes first, which both layers try in turn
        // (0.6-0.7 s under Wine) before it is skipped.
        EXPECT_LE(after.count(), length + (i == 0 ? 2500 : 1500)) << "the next entry started late";
        for (std::size_t k = 1; k < seen.size(); ++k) EXPECT_LT(seen[k - 1], seen[k]);
        // From 0 up to within a second of the end: the event comes about once a second,
        // but a late one may skip a value.
        EXPECT_LE(seen.back(), length / 1000);
        EXPECT_GE(seen.back(), length / 1000 - 1);
        EXPECT_GE(seen.size(), 2u);
    }
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"0");
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModeNotOpen);
}

// Space pauses and resumes at the same place; BackSpace in the last second restarts
// the medium instead of letting its end advance the queue.
TEST_F(PlaybackTest, KeysOnTheSkinWindowPauseResumeAndRestart) {
    const std::wstring first = Media(L"tone_660.wav");
    app->PanelControls().LstM3u.AddItem(Media(L"chord_f.wav"));
    app->PlayFile(first);
    ASSERT_TRUE(WaitUntil([&] { return app->Device()->Position() >= 1000; }, 5s));
    Key(player::kKeySpace);
    const std::int32_t pausedAt = app->Device()->Position();
    Pump(1000ms);
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePaused);
    EXPECT_LE(std::abs(app->Device()->Position() - pausedAt), 150);
    Key(player::kKeySpace);
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
    ASSERT_TRUE(WaitUntil([&] { return app->Device()->Position() >= 2700; }, 5s));
    EXPECT_EQ(app->PanelControls().LblMediaName.Caption(), first);
    Key(player::kKeyBack);
    Pump(1500ms);
    EXPECT_EQ(app->PanelControls().LblMediaName.Caption(), first);
    EXPECT_EQ(app->PanelControls().LstM3u.ListCount(), 1u);
    EXPECT_LT(app->Device()->Position(), 2500);
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
}

TEST_F(PlaybackTest, TheVideoWindowIsPutOnTopAndSizedWhereTheTimerLastSawIt) {
    app->PlayFile(Media(L"clip.avi"));
    ASSERT_NE(Video(), nullptr) << "no video window";
    EXPECT_EQ(ClassOf(Video()), kVideoClassMediaFoundation);
    EXPECT_TRUE(::GetWindowLongW(Video(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    // Let the main timer track it once.
    ::SetWindowPos(Video(), nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return app->Vars().VideoWindowRect.left == 40; }, 2s));
    app->PanelControls().CmbDispSize.SetListIndex(3);  // "640-480"
    RECT r = Rect(Video());
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 640);
    EXPECT_EQ(r.bottom - r.top, 480);
    app->PanelControls().CmbDispSize.SetListIndex(8);  // hide
    EXPECT_FALSE(::IsWindowVisible(Video()));
    // A medium without pictures: no video window.
    app->PlayFile(Media(L"tone_660.wav"));
    EXPECT_EQ(Video(), nullptr);
}

// A video window is told by its class, so that a number that names another window
// now (one of ours, or none) is never acted on; the rule is tested natively.
TEST_F(PlaybackTest, AStaleVideoHandleNamesNoVideoWindow) {
    HWND gone = ::CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ::DestroyWindow(gone);
    EXPECT_FALSE(app->Panel().Video().IsVideoWindow(reinterpret_cast<player::WindowId>(gone)));
    EXPECT_FALSE(app->Panel().Video().IsVideoWindow(reinterpret_cast<player::WindowId>(app->Skin().Handle())));
}

TEST_F(PlaybackTest, TheTitleScrollsTwoCharactersASecond) {
    app->PlayFile(Media(L"chord_c.mp3"));
    const std::wstring shown = L"     chord_c.mp3              ";
    const std::wstring title = app->BodyControls().LblTitle.Caption();
    // Shown padded; an open that Wine makes wait (after a video it may wait seconds for
    // the renderer) can let the first step come before PlayFile returns.
    ASSERT_TRUE(title == shown || title == player::MarqueeStep(shown)) << Printable(title);
    Pump(1600ms);
    const std::wstring now = app->BodyControls().LblTitle.Caption();
    // Some number of one-character steps, at least two and at most four.
    int steps = -1;
    std::wstring t = title;
    for (int i = 1; i <= 6 && steps < 0; ++i) {
        t = player::MarqueeStep(t);
        if (t == now) steps = i;
    }
    EXPECT_GE(steps, 2);
    EXPECT_LE(steps, 4);
}

// The real open dialog (one filter, no read-only box) and the real size question,
// answered the way a user would. Where the question starts is tested natively.
TEST_F(PlaybackTest, AListFileChosenInTheOpenDialogFillsTheQueue) {
    const std::wstring song = Media(L"tone_440.mp3");
    const fs::path list = dir / L"曲のリスト.m3u";
    WriteLines(list, {song, (dir / L"missing.mp3").wstring(), L"", song});
    std::wstring filter;
    int filters = -1;
    bool readOnlyShown = true;
    boxes.Expect(player::menu_texts::kListFileDialogTitle, IDOK, list.wstring(), [&](HWND dialog) {
        HWND combo = ::GetDlgItem(dialog, 0x470);  // cmb1, the file types
        filters = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
        filter = WindowText(combo);
        HWND readOnly = ::GetDlgItem(dialog, 0x410);  // chx1
        readOnlyShown = readOnly && ::IsWindowVisible(readOnly);
    });
    app->Panel().ChooseListFile();
    EXPECT_EQ(filters, 1);
    EXPECT_EQ(filter, L"プレイリストファイル(*.*)");
    EXPECT_FALSE(readOnlyShown);
    EXPECT_EQ(app->PanelControls().LblM3uName.Caption(), list.wstring());
    EXPECT_EQ(app->PanelControls().LstM3u.ListCount(), 2u);
    EXPECT_EQ(::SendMessageW(app->Panel().Child(MenuForm::IdLstM3u), LB_GETCOUNT, 0, 0), 2);

    // A large file: declined, nothing changes; accepted, it loads (a cancel: list_file_test).
    std::string bytes = EncodeTextLines({song}).bytes;
    bytes.resize(1100001, '#');
    const fs::path large = dir.Write(L"large.m3u", bytes);
    boxes.Expect(player::menu_texts::kListFileDialogTitle, IDOK, large.wstring());
    boxes.Expect(player::menu_texts::kConfirmTitle, IDCANCEL);
    app->Panel().ChooseListFile();
    EXPECT_EQ(app->PanelControls().LblM3uName.Caption(), list.wstring());
    EXPECT_EQ(app->PanelControls().LstM3u.ListCount(), 2u);
    boxes.Expect(player::menu_texts::kListFileDialogTitle, IDOK, large.wstring());
    boxes.Expect(player::menu_texts::kConfirmTitle, IDOK);
    app->Panel().ChooseListFile();
    EXPECT_EQ(app->PanelControls().LblM3uName.Caption(), large.wstring());
    EXPECT_EQ(app->PanelControls().LstM3u.ListCount(), 1u);  // the queue was cleared first
    const auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_NE(seen[2].text.find(L"本当に開きますか？"), std::wstring::npos) << Printable(seen[2].text);
}

}  // namespace
}  // namespace tessel::test
