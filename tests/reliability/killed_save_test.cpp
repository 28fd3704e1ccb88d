// Saves killed at random moments. A child process saves a list file of about a megabyte
// (through the list file writer) or the settings file (through the settings writer and
// the text file writer) over and over, alternating two contents, and is killed with
// SIGKILL after a random delay; a thousand times. After every kill the file must be one
// of the two contents, whole, and after the next successful save no temporary may be
// left beside it.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "common/fileio.h"
#include "common/textfile.h"
#include "editor/listfile/listfile.h"
#include "tests/support/settings_subject.h"
#include "tests/support/temp_dir.h"

namespace tessel::player {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr TwipsPerPixel kFactors{15.0, 15.0};

// The settings of one state of the player, as its shutdown writes them.
std::vector<std::wstring> SettingsLines(const std::wstring& skin, double leftPixels, const std::wstring& list) {
    tessel::test::SettingsHolder state;
    state.vars.SkinName = skin;
    state.leftTwips = leftPixels * kFactors.x;
    state.topTwips = -8 * kFactors.y;
    state.menu.LblM3uName.SetCaption(list);
    state.menu.ScrSkinTrans.SetValue(200);
    return MakeSettingsLines(state.Get(), kFactors);
}

// About a megabyte of entries; the two contents differ in length and text.
std::vector<std::wstring> ListEntries(const std::wstring& tag, int count) {
    std::vector<std::wstring> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back(L"D:\\音楽\\" + tag + L"\\アルバム " + std::to_wstring(i / 12) + L"\\" +
                          std::to_wstring(i) + L" 曲の名前.mp3");
    return entries;
}

struct Target {
    const char* what;
    fs::path path;
    std::function<bool(bool second)> save;  // saves the first or the second content
    std::string first, second;              // the two contents as bytes
    Clock::duration oneSave{};
    int kills = 0, leftovers = 0, whole = 0, first_seen = 0, second_seen = 0;
};

int Temporaries(const fs::path& folder) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(folder)) n += IsTemporaryFileName(WideFromPath(e.path().filename()));
    return n;
}

TEST(KilledSave, TheFileIsAlwaysWholeAndNoTemporaryOutlivesTheNextSave) {
    test::TempDir dir;
    const auto listA = ListEntries(L"ロック", 22000), listB = ListEntries(L"ジャズ", 23000);
    const auto setA = SettingsLines(L"Azure", 120, L"C:\\lists\\a.m3u");
    const auto setB = SettingsLines(L"Ember", -1365.5, L"C:\\lists\\長い名前のリスト.m3u");

    Target targets[2];
    targets[0].what = "list file";
    targets[0].path = dir / "list.m3u";
    targets[0].save = [&](bool second) { return listfile::WriteListFile(targets[0].path, second ? listB : listA).ok; };
    targets[0].first = EncodeTextLines(listA).bytes;
    targets[0].second = EncodeTextLines(listB).bytes;
    targets[1].what = "settings file";
    targets[1].path = dir / "init.ini";
    targets[1].save = [&](bool second) { return WriteTextFileLines(targets[1].path, second ? setB : setA).ok; };
    targets[1].first = EncodeTextLines(setA).bytes;
    targets[1].second = EncodeTextLines(setB).bytes;
    ASSERT_GT(targets[0].first.size(), 1000000u);

    // How long one save takes here: the kills are spread over one and a half of them,
    // so that they fall in every step of a save (and between two).
    for (Target& t : targets) {
        const auto start = Clock::now();
        for (int i = 0; i < 5; ++i) ASSERT_TRUE(t.save(i % 2 == 1));
        ASSERT_TRUE(t.save(false));
        t.oneSave = (Clock::now() - start) / 6;
    }

    std::mt19937 random(static_cast<unsigned>(::testing::UnitTest::GetInstance()->random_seed()));
    constexpr int kKills = 1000;
    for (int i = 0; i < kKills; ++i) {
        Target& t = targets[i % 2];
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves until it is killed; a failing save ends it with a status the parent sees.
            for (bool second = true;; second = !second) {
                if (!t.save(second)) ::_exit(3);
            }
        }
        const auto spread = std::chrono::duration_cast<std::chrono::microseconds>(3 * t.oneSave / 2).count() + 1;
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<long long>(0, spread)(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);  // reaped: its id names no process now
        ASSERT_TRUE(WIFSIGNALED(status)) << t.what << ": the saving child ended by itself, status " << status;
        ++t.kills;

        const std::string now = test::TempDir::ReadBytes(t.path);
        const bool isFirst = now == t.first, isSecond = now == t.second;
        EXPECT_TRUE(isFirst || isSecond) << t.what << " after kill " << i << ": " << now.size() << " bytes";
        t.whole += isFirst || isSecond;
        t.first_seen += isFirst;
        t.second_seen += isSecond;
        t.leftovers += Temporaries(dir.path()) > 0;

        // The next successful save leaves nothing beside the files.
        ASSERT_TRUE(t.save(false)) << t.what;
        ASSERT_EQ(Temporaries(dir.path()), 0) << t.what << " after kill " << i;
        ASSERT_EQ(test::TempDir::ReadBytes(t.path), t.first);
    }
    for (const Target& t : targets) {
        std::printf("%s: %d kills, %d whole (%d old, %d new), %d left a temporary; one save %lld us\n", t.what,
                    t.kills, t.whole, t.first_seen, t.second_seen, t.leftovers,
                    static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(t.oneSave).count()));
        EXPECT_EQ(t.whole, t.kills);
    }
    // The settings file read back: every line where the reader wants it.
    const TextReadResult read = ReadTextFileLines(targets[1].path);
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.lines, setA);
}

}  // namespace
}  // namespace tessel::player
