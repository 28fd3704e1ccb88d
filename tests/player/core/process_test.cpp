// tesselplay.exe as a user starts it: real processes from a temporary program folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "common/textfile.h"
#include "player/panel/MenuForm.h"
#include "player/shared/texts.h"
#include "player/windows/PlayerForm.h"
#include "player/windows/SkinForm.h"
#include "tests/player/core/win_support.h"

namespace tessel::player::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class PlayerProcessTest : public ::testing::Test {
protected:
    TempDir dir{L"proc"};
    fs::path exe;

    void SetUp() override { Prepare(DefaultSettings()); }

    void Prepare(const std::vector<std::wstring>& settings, bool withSettings = true) {
        MakeProgramFolder(dir.path(), withSettings ? &settings : nullptr);
        exe = dir.path() / L"tesselplay.exe";
        fs::copy_file(DistDir() / L"tesselplay.exe", exe, fs::copy_options::overwrite_existing);
    }
    fs::path Settings() const { return dir.path() / L"Setting" / L"init.ini"; }
    static fs::path Media(const wchar_t* name) { return MediaDir() / name; }
    static std::wstring Quoted(const fs::path& p) { return L"\"" + p.wstring() + L"\""; }

    static HWND BodyWindow(const Process& p) {
        return FindWindowOfProcess(p.id(), kPlayerFormClass, texts::kPlayerFormCaption);
    }
    // The body window once start-up has finished (it is shown in the last step).
    static HWND WaitForBody(const Process& p) {
        HWND body = nullptr;
        WaitUntil([&] { return ((body = BodyWindow(p)) != nullptr && ::IsWindowVisible(body)) || !p.Running(); },
                  30s);
        return body;
    }
    // For a start that shows nothing: the name read-outs are filled near the end.
    static HWND WaitForHiddenStart(const Process& p) {
        WaitUntil([&] { return MediaReadout(p) == L" " || !p.Running(); }, 30s);
        ::Sleep(300);
        return BodyWindow(p);
    }
    // The control panel's read-out of the medium now playing: one space and the path.
    static std::wstring MediaReadout(const Process& p) {
        HWND panel = FindWindowOfProcess(p.id(), kMenuFormClass, nullptr);
        if (!panel) return L"<no panel>";
        return WindowText(::GetDlgItem(panel, MenuForm::IdLblScrMediaName));
    }
    static std::wstring ListCount(const Process& p) {
        HWND panel = FindWindowOfProcess(p.id(), kMenuFormClass, nullptr);
        return panel ? WindowText(::GetDlgItem(panel, MenuForm::IdLblListCount)) : L"";
    }
    // Closes the error report the process shows and returns its text.
    static std::wstring CloseErrorReport(const Process& p) {
        HWND box = nullptr;
        WaitUntil([&] { return (box = FindWindowOfProcess(p.id(), L"#32770", texts::kErrorTitle)) != nullptr ||
                               !p.Running(); },
                  30s);
        if (!box) return L"<no report>";
        const std::wstring text = DialogText(box);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        return text;
    }
};

TEST_F(PlayerProcessTest, SecondStartHandsItsFileToTheRunningPlayer) {
    Process first(exe, L"");
    ASSERT_TRUE(first.started());
    HWND body = WaitForBody(first);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(MediaReadout(first), L" ");

    const fs::path song = Media(L"テスト 曲 その1.mp3");
    Process second(exe, Quoted(song));
    DWORD code = 99;
    ASSERT_TRUE(second.WaitExit(10s, &code));
    EXPECT_EQ(code, 0u);
    // Played within a timer tick or so, and the mailbox is empty again.
    EXPECT_TRUE(WaitUntil([&] { return MediaReadout(first) == L" " + song.wstring(); }, 2s))
        << "shows [" << Printable(MediaReadout(first)) << "]";
    EXPECT_TRUE(WaitUntil([&] { return WindowText(body) == L"PlayerForm"; }, 1s));
    EXPECT_TRUE(first.Running());
    // The second instance left no window behind.
    EXPECT_EQ(FindWindowOfProcess(second.id(), kPlayerFormClass, nullptr), nullptr);
}

TEST_F(PlayerProcessTest, ThreeSecondStartsAtOnceEachGetTheirFilePlayedOnce) {
    Process first(exe, L"");
    ASSERT_NE(WaitForBody(first), nullptr);
    const std::vector<fs::path> songs{Media(L"tone_440.mp3"), Media(L"chord_c.mp3"), Media(L"tone_660.wav")};
    std::vector<Process> seconds;
    for (const auto& s : songs) seconds.emplace_back(exe, Quoted(s));

    // Record every read-out the panel shows while the three are taken over.
    std::vector<std::wstring> shown;
    WaitUntil(
        [&] {
            const std::wstring now = MediaReadout(first);
            if (now != L" " && (shown.empty() || shown.back() != now)) shown.push_back(now);
            return shown.size() >= 3 && std::none_of(seconds.begin(), seconds.end(),
                                                     [](const Process& p) { return p.Running(); });
        },
        20s);
    for (auto& s : seconds) {
        DWORD code = 99;
        EXPECT_TRUE(s.WaitExit(5s, &code));
        EXPECT_EQ(code, 0u);
    }
    std::map<std::wstring, int> times;
    for (const auto& s : shown) ++times[s];
    for (const auto& s : songs) EXPECT_EQ(times[L" " + s.wstring()], 1) << Printable(s.wstring());
    EXPECT_EQ(shown.size(), 3u);
}

TEST_F(PlayerProcessTest, SecondStartWithoutAFileChangesNothing) {
    const fs::path song = Media(L"silence_185.mp3");
    Process first(exe, Quoted(song));
    HWND body = WaitForBody(first);
    ASSERT_NE(body, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return MediaReadout(first) == L" " + song.wstring(); }, 5s));

    for (const wchar_t* arguments : {L"", L"\"Z:\\no\\such\\file.mp3\"", L"/play"}) {
        Process second(exe, arguments);
        DWORD code = 99;
        ASSERT_TRUE(second.WaitExit(10s, &code));
        EXPECT_EQ(code, 0u);
    }
    // Give a timer tick the chance to do something it should not.
    ::Sleep(700);
    EXPECT_EQ(WindowText(body), L"PlayerForm");
    EXPECT_EQ(MediaReadout(first), L" " + song.wstring());
    EXPECT_TRUE(first.Running());
}

TEST_F(PlayerProcessTest, ClosingTheSkinWindowShutsDownAndSavesFourteenLines) {
    auto settings = DefaultSettings();
    settings[5] = L"1";  // random
    settings[1] = L"120";
    settings[2] = L"-8";
    settings.pop_back();  // 13 lines are enough
    WriteLines(Settings(), settings);
    Process player(exe, Quoted(Media(L"tone_440.mp3")));
    ASSERT_NE(WaitForBody(player), nullptr);
    HWND skin = FindWindowOfProcess(player.id(), kSkinFormClass, nullptr);
    ASSERT_NE(skin, nullptr);
    RECT r{};
    ::GetWindowRect(skin, &r);
    EXPECT_EQ(r.left, 120);
    EXPECT_EQ(r.top, -8);
    ::PostMessageW(skin, WM_CLOSE, 0, 0);
    DWORD code = 99;
    // Exit code 0: the device was closed before the end (an open one crashes it).
    ASSERT_TRUE(player.WaitExit(10s, &code));
    EXPECT_EQ(code, 0u);
    const auto lines = ReadLines(Settings());
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], L"Azure");
    EXPECT_EQ(lines[1], L"120");
    EXPECT_EQ(lines[2], L"-8");
    EXPECT_EQ(lines[5], L"1");
    EXPECT_EQ(lines[13], L"0");
}

TEST_F(PlayerProcessTest, FirstRunWithoutSettingsStartsFromInitialValues) {
    fs::remove_all(dir.path() / L"Setting");
    Process player(exe, L"");
    HWND body = WaitForBody(player);
    ASSERT_NE(body, nullptr);
    EXPECT_TRUE(::IsWindowVisible(body));
    // Nothing was written at start.
    EXPECT_FALSE(fs::exists(Settings()));
    ::PostMessageW(body, WM_CLOSE, 0, 0);
    ASSERT_TRUE(player.WaitExit(10s));
    const auto lines = ReadLines(Settings());
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], L"Azure");
    EXPECT_EQ(lines[7], L"255");
    EXPECT_EQ(lines[9], L"");
    EXPECT_EQ(lines[10], L"-1");
}

TEST_F(PlayerProcessTest, HiddenSettingShowsNoWindow) {
    auto settings = DefaultSettings();
    settings[4] = L"1";
    WriteLines(Settings(), settings);
    Process player(exe, L"");
    HWND body = WaitForHiddenStart(player);
    ASSERT_NE(body, nullptr);
    EXPECT_FALSE(::IsWindowVisible(body));
    EXPECT_FALSE(::IsWindowVisible(FindWindowOfProcess(player.id(), kSkinFormClass, nullptr)));
    EXPECT_FALSE(::IsWindowVisible(FindWindowOfProcess(player.id(), kMenuFormClass, nullptr)));
    ::PostMessageW(body, WM_CLOSE, 0, 0);
    ASSERT_TRUE(player.WaitExit(10s));
    EXPECT_EQ(ReadLines(Settings()).at(4), L"1");
}

TEST_F(PlayerProcessTest, PlayArgumentLoadsTheRestoredListFile) {
    const fs::path list = dir.path() / L"demo.m3u";
    WriteLines(list, {L"#a comment", Media(L"missing.mp3").wstring(), Media(L"chord_f.wav").wstring(),
                      Media(L"tone_440.mp3").wstring()});
    auto settings = DefaultSettings();
    settings[9] = list.wstring();
    WriteLines(Settings(), settings);
    {
        Process upper(exe, L"/PLAY");
        ASSERT_NE(WaitForBody(upper), nullptr);
        ::Sleep(500);
        // Case matters: nothing plays.
        EXPECT_EQ(MediaReadout(upper), L" ");
        ::PostMessageW(BodyWindow(upper), WM_CLOSE, 0, 0);
        ASSERT_TRUE(upper.WaitExit(10s));
    }
    Process player(exe, L"/play");
    ASSERT_NE(WaitForBody(player), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return MediaReadout(player) == L" " + Media(L"chord_f.wav").wstring(); }, 5s));
    EXPECT_EQ(ListCount(player), L"1");
    ::PostMessageW(BodyWindow(player), WM_CLOSE, 0, 0);
    ASSERT_TRUE(player.WaitExit(10s));
}

// A restored list of 50 MB played at start: the windows come up while it loads, the
// queue count rises as entries arrive, and the player can be closed in the middle.
TEST_F(PlayerProcessTest, AFiftyMegabyteListAtStartShowsTheWindowsFirstAndCanBeClosed) {
    const std::string song = EncodeTextLines({Media(L"tone_440.mp3").wstring()}).bytes;
    std::string bytes;
    bytes.reserve(50u << 20);
    for (std::size_t i = 0; bytes.size() < (50u << 20); ++i) {
        if (i % 20000 == 19999) bytes += song;
        else bytes += "Z:\\no such folder\\track " + std::to_string(i) + " of a long list of songs.mp3\r\n";
    }
    const fs::path list = dir.path() / L"fifty.m3u";
    std::ofstream(list, std::ios::binary) << bytes;
    bytes.clear();
    auto settings = DefaultSettings();
    settings[9] = list.wstring();
    WriteLines(Settings(), settings);

    Process player(exe, L"/play");
    HWND body = WaitForBody(player);
    ASSERT_NE(body, nullptr);
    // Shown while the queue is still filling: nothing plays yet.
    EXPECT_EQ(MediaReadout(player), L" ");
    const int first = _wtoi(ListCount(player).c_str());
    EXPECT_TRUE(WaitUntil([&] { return _wtoi(ListCount(player).c_str()) > first; }, 20s))
        << "the count stayed at " << first;
    EXPECT_EQ(MediaReadout(player), L" ");
    // Closed in the middle of the load: it ends at once, properly, with its settings.
    ::PostMessageW(body, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(player.WaitExit(10s, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadLines(Settings()).size(), 14u);
}

// Lines no path can be (100,000 characters, bytes that are no Shift_JIS) are passed
// over; the entry after them plays.
TEST_F(PlayerProcessTest, OverlongAndUndecodableLinesArePassedOver) {
    const fs::path list = dir.path() / L"odd.m3u";
    std::ofstream(list, std::ios::binary) << std::string(100000, 'a') + "\r\n" + "\x81\x20\xFF\xFE\x80\xA0\r\n" +
                                                 EncodeTextLines({Media(L"chord_f.wav").wstring()}).bytes;
    auto settings = DefaultSettings();
    settings[9] = list.wstring();
    WriteLines(Settings(), settings);
    Process player(exe, L"/play");
    ASSERT_NE(WaitForBody(player), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return MediaReadout(player) == L" " + Media(L"chord_f.wav").wstring(); }, 5s))
        << Printable(MediaReadout(player));
    ::PostMessageW(BodyWindow(player), WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(player.WaitExit(10s, &code));
    EXPECT_EQ(code, 0u);
}

TEST_F(PlayerProcessTest, MissingSkinFileIsReportedByNameAndEndsTheProgram) {
    fs::remove(dir.path() / L"parts" / L"Azure" / L"task.ico");
    const auto before = ReadLines(Settings());
    Process player(exe, L"");
    const std::wstring report = CloseErrorReport(player);
    EXPECT_NE(report.find(L"task.ico"), std::wstring::npos) << Printable(report);
    DWORD code = 99;
    ASSERT_TRUE(player.WaitExit(10s, &code));
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(ReadLines(Settings()), before);
}

TEST_F(PlayerProcessTest, MalformedSettingsAreReportedWithTheirLineAndLeftAlone) {
    auto settings = DefaultSettings();
    settings[7] = L"300";
    WriteLines(Settings(), settings);
    Process player(exe, L"");
    const std::wstring report = CloseErrorReport(player);
    EXPECT_NE(report.find(L"init.ini"), std::wstring::npos);
    EXPECT_NE(report.find(L"行: 8"), std::wstring::npos) << Printable(report);
    DWORD code = 99;
    ASSERT_TRUE(player.WaitExit(10s, &code));
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(ReadLines(Settings()), settings);
}

}  // namespace
}  // namespace tessel::player::test
