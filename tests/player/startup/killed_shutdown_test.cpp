// tesselplay.exe killed while it shuts down: the settings file is always whole.
//
// The real player is closed as a user closes it and then killed (TerminateProcess) at
// moments from right after the close request to after it would have ended by itself.
// Whatever the moment, Setting\init.ini is either the whole old file or the whole new
// one, never a mix or a part, and the next start of the player succeeds.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "player/panel/MenuForm.h"
#include "player/windows/PlayerForm.h"
#include "tests/support/player_folder.h"
#include "tests/support/player_process_test.h"
#include "tests/support/settings_subject.h"
#include "tests/support/temp_dir.h"
#include "tests/support/win32.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

FILETIME LastWrite(const fs::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastWriteTime;
}

// The settings reader's verdict on the file: empty when it takes every line.
std::wstring ReaderObjection(const fs::path& path) {
    const std::vector<std::wstring> lines = ReadLines(path);
    if (lines.size() != player::kSettingsLinesWritten) return L"lines: " + std::to_wstring(lines.size());
    return SettingsHolder().Objection(lines);
}

class KilledShutdownTest : public PlayerProcessFixture {
protected:
    KilledShutdownTest() : PlayerProcessFixture("killed") {}
    fs::path Settings() const { return dir.path() / L"Setting" / L"init.ini"; }

    // Starts the player playing a long medium, ticks "random order" in its panel (the
    // difference between the old settings and the new) and returns its body window.
    HWND StartAndChangeAnOption(const Process& p) {
        HWND body = WaitForPlayerBody(p);
        if (!body) return nullptr;
        HWND check = PanelControl(p, player::MenuForm::IdChkRandom);
        if (!check) return nullptr;
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(::GetParent(check), WM_COMMAND, MAKEWPARAM(player::MenuForm::IdChkRandom, BN_CLICKED),
                              reinterpret_cast<LPARAM>(check), SMTO_NORMAL, 5000, &ignored);
        if (::SendMessageW(check, BM_GETCHECK, 0, 0) != BST_CHECKED) return nullptr;
        return body;
    }

    // A kill once the player has ended by itself.
    static constexpr std::chrono::microseconds kAfterTheEnd = std::chrono::microseconds::max();

    // The close request a user makes (the body window's close), then a kill after
    // `delay`; returns false if the player could not be started or would not end.
    bool CloseAndKill(std::chrono::microseconds delay, bool* endedByItself) {
        Process p(exe, Quoted(MediaDir() / L"silence_185.mp3"));
        HWND body = StartAndChangeAnOption(p);
        if (!body) return false;
        HANDLE process = p.Handle();
        const auto start = Clock::now();
        ::PostMessageW(body, WM_CLOSE, 0, 0);
        if (delay == kAfterTheEnd) {
            ::WaitForSingleObject(process, 15000);
        } else {
            // Spun, not slept: a sleep of "0" or "1" ms would not be as short as asked.
            while (Clock::now() - start < delay) {
            }
        }
        *endedByItself = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
        ::TerminateProcess(process, 77);
        return ::WaitForSingleObject(process, 10000) == WAIT_OBJECT_0;
    }

    // A start after the kill: the player comes up and ends normally when closed.
    bool NextStartSucceeds() {
        Process p(exe, L"");
        HWND body = WaitForPlayerBody(p);
        if (!body) return false;
        ::PostMessageW(body, WM_CLOSE, 0, 0);
        DWORD code = 99;
        return p.WaitExit(15s, &code) && code == 0;
    }
};

TEST_F(KilledShutdownTest, TheSettingsFileIsTheWholeOldOrTheWholeNewOne) {
    // The old file: what a run that changes nothing writes for this folder (written by
    // the player itself, so it is byte for byte what a later save would keep).
    ASSERT_TRUE(NextStartSucceeds());
    const std::string before = TempDir::ReadBytes(Settings());
    ASSERT_EQ(ReaderObjection(Settings()), L"");

    // The new file: the same run with random order ticked, closed without a kill; how
    // long the shutdown takes from the close request to the end of the process, and
    // when the new file took the old one's place.
    std::chrono::microseconds shutdown{}, saved{};
    std::string after;
    {
        Process p(exe, Quoted(MediaDir() / L"silence_185.mp3"));
        HWND body = StartAndChangeAnOption(p);
        ASSERT_NE(body, nullptr);
        const auto start = Clock::now();
        ::PostMessageW(body, WM_CLOSE, 0, 0);
        // Watched by its time stamp: a reader holding the file open would make the
        // player's replacement of it fail.
        const FILETIME written = LastWrite(Settings());
        while (p.Running() && Clock::now() - start < 15s) {
            const FILETIME now = LastWrite(Settings());
            if (saved.count() == 0 && ::CompareFileTime(&written, &now) != 0)
                saved = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
        }
        DWORD code = 99;
        ASSERT_TRUE(p.WaitExit(15s, &code));
        shutdown = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
        EXPECT_EQ(code, 0u);
        after = TempDir::ReadBytes(Settings());
    }
    ASSERT_EQ(ReaderObjection(Settings()), L"");
    ASSERT_NE(before, after);
    ASSERT_EQ(ReadLines(Settings()).at(5), L"1");
    if (saved.count() == 0) saved = shutdown;

    // Kills at a few fixed moments right after the close request, across the whole
    // shutdown in eighths, densely (every 0.4 ms for 4 ms either side) around the
    // moment the file was replaced, just after the measured end, and once the player
    // has ended.
    std::vector<std::chrono::microseconds> delays{0us, 500us, 1000us, 2000us, 4000us};
    for (int i = 1; i <= 7; ++i) delays.push_back(shutdown * i / 8);
    for (int i = -10; i <= 10; ++i) delays.push_back(std::max(0us, saved + i * 400us));
    delays.push_back(shutdown * 3 / 2);
    delays.push_back(kAfterTheEnd);
    int selfEnded = 0;
    for (const auto delay : delays) {
        SCOPED_TRACE(testing::Message() << "kill "
                                        << (delay == kAfterTheEnd ? std::string("after the end")
                                                                  : std::to_string(delay.count()) + " us")
                                        << " after the close request");
        dir.Write("Setting/init.ini", before);
        bool endedByItself = false;
        ASSERT_TRUE(CloseAndKill(delay, &endedByItself));
        const std::string now = TempDir::ReadBytes(Settings());
        EXPECT_TRUE(now == before || now == after) << "a settings file of " << now.size() << " bytes";
        EXPECT_EQ(ReaderObjection(Settings()), L"");
        selfEnded += endedByItself;
        if (endedByItself) {
            EXPECT_EQ(now, after);
        }
        EXPECT_TRUE(NextStartSucceeds());
    }
    // The last kill comes after the end, which is the plain shutdown: the new file.
    EXPECT_GE(selfEnded, 1);
}

}  // namespace
}  // namespace tessel::test
