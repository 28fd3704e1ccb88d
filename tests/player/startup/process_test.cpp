// tesselplay.exe as a user starts it, in real processes from a temporary program
// folder: the hand-over between two instances, a huge list at start, and the reports
// of broken skins and settings.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "common/textfile.h"
#include "player/panel/MenuForm.h"
#include "player/shared/texts.h"
#include "player/windows/PlayerForm.h"
#include "tests/support/box_answerer.h"
#include "tests/support/player_folder.h"
#include "tests/support/player_process_test.h"
#include "tests/support/temp_dir.h"
#include "tests/support/win32.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;
using player::MenuForm;

class PlayerProcessTest : public PlayerProcessFixture {
protected:
    PlayerProcessTest() : PlayerProcessFixture("process") {}
    fs::path SettingsFile() const { return dir / L"Setting" / L"init.ini"; }

    static std::wstring PanelText(const Process& p, int id) {
        HWND control = PanelControl(p, id);
        return control ? WindowText(control) : L"<no panel>";
    }
    // The control panel's read-out of the medium now playing: one space and the path.
    static std::wstring MediaReadout(const Process& p) { return PanelText(p, MenuForm::IdLblScrMediaName); }
};

// Second starts without a file to hand over change nothing. A second start with a
// Japanese name, and one typed in a console in the media's folder with a bare name,
// hand their file over and end with code 0; the mailbox (the body window's caption) is
// empty again. (Many starts at once, each file taken once: hand_over_process_test.)
TEST_F(PlayerProcessTest, SecondStartsHandTheirFilesToTheRunningPlayerEachPlayedOnce) {
    const std::wstring playing = L" " + Media(L"silence_185.mp3");
    Process first(exe, Quoted(MediaDir() / L"silence_185.mp3"));
    HWND body = WaitForPlayerBody(first);
    ASSERT_NE(body, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return MediaReadout(first) == playing; }, 5s));
    DWORD code = 99;
    for (const wchar_t* arguments : {L"", L"\"Z:\\no\\such\\file.mp3\"", L"/play"}) {
        Process other(exe, arguments);
        ASSERT_TRUE(other.WaitExit(10s, &code));
        EXPECT_EQ(code, 0u);
    }
    Pump(700ms);  // the chance for a timer tick to do something it should not
    EXPECT_EQ(WindowText(body), L"PlayerForm");
    EXPECT_EQ(MediaReadout(first), playing);

    for (const fs::path& song : {MediaDir() / L"テスト 曲 その1.mp3", MediaDir() / L"chord_c.mp3"}) {
        const bool bare = song.filename() == L"chord_c.mp3";
        Process second(exe, bare ? song.filename().wstring() : Quoted(song), bare ? song.parent_path() : fs::path());
        EXPECT_TRUE(second.WaitExit(10s, &code));
        EXPECT_EQ(code, 0u);
        EXPECT_TRUE(WaitUntil([&] { return MediaReadout(first) == L" " + song.wstring(); }, 5s))
            << Printable(song.wstring());
        EXPECT_TRUE(WaitUntil([&] { return WindowText(body) == L"PlayerForm"; }, 1s));
    }
    EXPECT_TRUE(first.Running());
}

// A restored list of 50 MB played at start: the windows come up while it loads, the
// queue count rises as entries arrive, and the player can be closed in the middle.
TEST_F(PlayerProcessTest, AFiftyMegabyteListAtStartShowsTheWindowsFirstAndCanBeClosed) {
    const std::string song = EncodeTextLines({Media(L"tone_440.mp3")}).bytes;
    std::string bytes;
    bytes.reserve(50u << 20);
    for (std::size_t i = 0; bytes.size() < (50u << 20); ++i) {
        if (i % 20000 == 19999) bytes += song;
        else bytes += "Z:\\no such folder\\track " + std::to_string(i) + " of a long list of songs.mp3\r\n";
    }
    const fs::path list = dir.Write(L"fifty.m3u", bytes);
    bytes.clear();
    auto settings = DefaultSettings();
    settings[9] = list.wstring();
    WriteLines(SettingsFile(), settings);

    Process player(exe, L"/play");
    HWND body = WaitForPlayerBody(player);
    ASSERT_NE(body, nullptr);
    // Shown while the queue is still filling: nothing plays yet.
    EXPECT_EQ(MediaReadout(player), L" ");
    const int first = _wtoi(PanelText(player, MenuForm::IdLblListCount).c_str());
    EXPECT_TRUE(WaitUntil([&] { return _wtoi(PanelText(player, MenuForm::IdLblListCount).c_str()) > first; }, 20s))
        << "the count stayed at " << first;
    EXPECT_EQ(MediaReadout(player), L" ");
    // Closed in the middle of the load: it ends at once, properly, with its settings.
    ::PostMessageW(body, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(player.WaitExit(10s, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadLines(SettingsFile()).size(), 14u);
}

// A UTF-8 list given on the command line, in a folder and under a name code page 932
// cannot write, with names it cannot write either: the player takes it as its list and
// plays the three in order.
TEST_F(PlayerProcessTest, AnM3u8ListOfNamesOutsideCodePage932PlaysInOrder) {
    const fs::path folder = dir / L"Listes";
    fs::create_directories(folder);
    std::vector<std::wstring> songs;
    for (const wchar_t* name : {L"Beyonc\u00E9 - Halo.mp3", L"\uD55C\uAD6D\uC5B4.mp3", L"\U0001F3B5 \U0001F3B6.mp3"}) {
        fs::copy_file(MediaDir() / L"chord_c.mp3", folder / name);
        songs.push_back((folder / name).wstring());
    }
    const fs::path list = dir.Write(L"Listes\\Caf\u00E9.m3u8", "\xEF\xBB\xBF" + EncodeTextLines(songs, TextEncoding::Utf8).bytes);

    Process player(exe, Quoted(list));
    ASSERT_NE(WaitForPlayerBody(player), nullptr);
    std::vector<std::wstring> shown;
    WaitUntil(
        [&] {
            const std::wstring now = MediaReadout(player);
            if (now != L" " && (shown.empty() || shown.back() != now)) shown.push_back(now);
            return shown.size() >= 3;
        },
        30s);
    ASSERT_EQ(shown.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(shown[i], L" " + songs[i]) << Printable(shown[i]);
    EXPECT_EQ(PanelText(player, MenuForm::IdLblScrLstName), L" " + list.wstring());
    ::PostMessageW(WaitForPlayerBody(player), WM_CLOSE, 0, 0);
    ASSERT_TRUE(player.WaitExit(10s));
}

// A broken skin or settings file at start: a box that names the file (and the line),
// then a clean end (exit code 1, no crash) with the settings file untouched. What the
// checks refuse is tested natively (skin_layout_test, image_files_test, settings_test);
// here one file of each kind shows that each is checked before it is used. The only
// skin is the broken one (with another, the start would go on with that).
TEST_F(PlayerProcessTest, BrokenFilesAtStartAreReportedByNameAndEndTheProgram) {
    const fs::path skin = dir / L"parts" / L"Azure";
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 7919 + 13) & 0xFF));
    struct Broken {
        const char* name;
        std::function<void()> breakIt;
        const wchar_t* named;  // what the report must name
    };
    const Broken cases[] = {
        {"define.ini not a number",
         [&] { WriteLines(skin / L"define.ini", {L"320,120", L"255,0,255", L"255,0,255", L"0,0,0", L"abc,0"}); },
         L"define.ini"},
        // A file that would make the system's own loader read past its end.
        {"mask cut after 100 bytes", [&] { fs::resize_file(skin / L"s_mask.bmp", 100); }, L"s_mask.bmp"},
        {"picture not a bitmap", [&] { dir.Write("parts/Azure/player.bmp", "BM garbage"); }, L"player.bmp"},
        {"picture of 200,000 x 200,000 by its header",
         [&] {
             std::string bmp = TempDir::ReadBytes(skin / L"skin.bmp");
             for (int at : {18, 22})
                 for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((200000u >> (8 * i)) & 0xFF);
             dir.Write("parts/Azure/skin.bmp", bmp);
         },
         L"skin.bmp"},
        {"icon cut short", [&] { fs::resize_file(skin / L"task.ico", fs::file_size(skin / L"task.ico") / 2); },
         L"task.ico"},
        {"skin folder missing", [&] { fs::remove_all(skin); }, L"Azure\\"},
        {"settings of binary garbage", [&] { dir.Write("Setting/init.ini", garbage); }, L"init.ini行: "},
    };
    for (const Broken& c : cases) {
        SCOPED_TRACE(c.name);
        MakeProgramFolder(dir.path(), {.shippedSkins = true});
        fs::remove_all(dir / L"parts" / L"Ember");
        c.breakIt();
        const std::string before = TempDir::ReadBytes(SettingsFile());
        Process player(exe, L"");
        BoxAnswerer boxes(player.Id());
        boxes.Expect(L"", IDOK);
        ASSERT_TRUE(boxes.WaitSeen(1, 15s)) << "no report";
        DWORD code = 0;
        ASSERT_TRUE(player.WaitExit(10s, &code));
        const std::wstring text = boxes.TakeSeen().at(0).text;
        EXPECT_NE(text.find(c.named), std::wstring::npos) << Printable(text);
        // The error text of code 0 ("the operation succeeded") is no reason.
        EXPECT_EQ(text.find(L"成功"), std::wstring::npos) << Printable(text);
        EXPECT_EQ(code, 1u);
        EXPECT_EQ(TempDir::ReadBytes(SettingsFile()), before);
    }
}

// Neither an empty card reader nor a DVD drive without a disc may raise the system's
// "no disk" box at every existence test: the player runs with SEM_FAILCRITICALERRORS,
// and the editor it starts inherits it. Started here with the system's default mode
// (not this test program's), the player starts a stand-in editor that reports its mode.
// Wine 8 passes no error mode on to a child process (the stand-in started by this
// program, whose mode has the flag, reports 0): there the check cannot be made.
TEST_F(PlayerProcessTest, TheEditorStartsWithoutTheSystemsDiskErrorBoxes) {
    fs::create_directories(dir / L"exec");
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    fs::copy_file(fs::path(self).parent_path() / L"error_mode_probe.exe", dir / L"exec" / L"listwright.exe");
    const fs::path report = dir / L"exec" / L"error_mode.txt";
    auto reported = [&]() -> unsigned long {
        if (!WaitUntil([&] { return fs::exists(report) && fs::file_size(report) > 0; }, 10s)) return ~0ul;
        const std::vector<std::wstring> lines = ReadLines(report);
        fs::remove(report);
        return lines.size() == 1 ? std::stoul(lines[0]) : ~0ul;
    };
    ASSERT_TRUE(::GetErrorMode() & SEM_FAILCRITICALERRORS);
    {
        Process probe(dir / L"exec" / L"listwright.exe", L"");
        const unsigned long passedOn = reported();
        ASSERT_NE(passedOn, ~0ul);
        if (!(passedOn & SEM_FAILCRITICALERRORS)) GTEST_SKIP() << "this system passes no error mode on to a child";
    }
    const UINT ours = ::SetErrorMode(0);
    Process player(exe, L"");
    ::SetErrorMode(ours);
    ASSERT_NE(WaitForPlayerBody(player), nullptr);
    HWND panel = FindWindowOfProcess(player.Id(), player::kMenuFormClass);
    ASSERT_NE(panel, nullptr);
    ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(MenuForm::IdCmdExecEdit, BN_CLICKED),
                   reinterpret_cast<LPARAM>(PanelControl(player, MenuForm::IdCmdExecEdit)));
    const unsigned long editorMode = reported();
    ASSERT_NE(editorMode, ~0ul) << "the editor was not started";
    EXPECT_TRUE(editorMode & SEM_FAILCRITICALERRORS);
}

}  // namespace
}  // namespace tessel::test
