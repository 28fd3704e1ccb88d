// Choosing and loading list files on real files: the player's line rules, the size
// question, and files that are binary, UTF-16, huge, or gone.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/fileio.h"
#include "common/textfile.h"
#include "editor/listfile/listfile.h"
#include "player/playback/engine.h"
#include "player/playback/transport.h"
#include "tests/support/fake_device.h"
#include "tests/support/temp_dir.h"

namespace tessel::player {
namespace {

using tessel::test::FakeDevice;

namespace fs = std::filesystem;

class ListFileTest : public ::testing::Test {
protected:
    tessel::test::TempDir dir{"listfile"};
    FakeDevice device;
    MenuFormControls menu;
    PlayerFormControls body;
    LLVariable vars;
    std::unique_ptr<PlaybackEngine> engine;
    int refreshes = 0;

    void SetUp() override {
        PlayerServices services;
        services.pumpEvents = [this] { ++refreshes; };
        engine = std::make_unique<PlaybackEngine>(device, menu, body, vars, services);
    }
    std::wstring Touch(const std::wstring& name) { return Bytes(name, "x"); }
    std::wstring List(const std::wstring& name, const std::vector<std::wstring>& lines) {
        const fs::path p = dir / PathFromWide(name);
        std::wstring error;
        EXPECT_TRUE(AtomicReplaceFile(p, EncodeTextLines(lines).bytes, error));
        return WideFromPath(p);
    }
    std::wstring Bytes(const std::wstring& name, const std::string& bytes) {
        return WideFromPath(dir.Write(PathFromWide(name), bytes));
    }
    std::vector<std::wstring> Queue() const { return menu.LstM3u.Items(); }
};

TEST_F(ListFileTest, KeepsOnlyLinesNamingAnExistingFileExactly) {
    const std::wstring song = Touch(L"song.mp3");
    const std::wstring list = List(L"list.m3u", {L"#EXTM3U", song, WideFromPath(dir / "missing.mp3"), L""});
    engine->LoadListFile(list);
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{song}));
    EXPECT_EQ(menu.LblListCount.Caption(), L"1");

    // A leading space, a folder, a NUL: none names the file. A trailing space or dot
    // names it where the system drops them when it opens a name (Windows); the entry
    // stays as written.
    menu.LstM3u.Clear();
    const std::wstring list2 = List(L"list2.m3u", {song + L" ", L" " + song, WideFromPath(dir.path()), song + L"."});
    engine->LoadListFile(list2);
#ifdef _WIN32
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{song + L" ", song + L"."}));
    EXPECT_EQ(menu.LblListCount.Caption(), L"2");
    menu.LstM3u.Clear();
#else
    EXPECT_TRUE(Queue().empty());
    EXPECT_EQ(menu.LblListCount.Caption(), L"0");
#endif
    const std::string bytes = EncodeTextLines({song}).bytes;
    const std::wstring withNul =
        Bytes(L"with-nul.m3u", bytes.substr(0, bytes.size() - 2) + std::string(1, '\0') + "\r\n" + bytes);
    engine->LoadListFile(withNul);
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{song}));
}

TEST_F(ListFileTest, AppendsAndLeavesTheQueueAloneForAMissingFile) {
    const std::wstring a = Touch(L"a.mp3"), b = Touch(L"b.wav");
    menu.LstM3u.AddItem(L"earlier");
    engine->LoadListFile(List(L"l.m3u", {b, a, b}));
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{L"earlier", b, a, b}));
    menu.LblListCount.SetCaption(L"stale");
    engine->LoadListFile(WideFromPath(dir / "gone.m3u"));
    engine->LoadListFile(L"");
    EXPECT_EQ(Queue().size(), 4u);
    EXPECT_EQ(menu.LblListCount.Caption(), L"stale");
}

TEST_F(ListFileTest, BareNamesResolveInTheCurrentFolderAndStayAsWritten) {
    Touch(L"here.mp3");
    const std::wstring list = List(L"l.m3u", {L"here.mp3", L"elsewhere.mp3"});
    const fs::path before = fs::current_path();
    fs::create_directories(dir / "other");
    fs::current_path(dir / "other");
    engine->LoadListFile(list);
    EXPECT_TRUE(Queue().empty());  // not resolved against the list file's folder
    fs::current_path(dir.path());
    engine->LoadListFile(list);
    fs::current_path(before);
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{L"here.mp3"}));
}

TEST_F(ListFileTest, LineEndsAndALastLineWithoutOne) {
    const std::wstring a = Touch(L"a.mp3"), b = Touch(L"b.mp3");
    std::string bytes = EncodeTextLines({a}).bytes;        // CR LF
    bytes += EncodeTextLines({b}).bytes;
    bytes.resize(bytes.size() - 2);                         // b without a line end
    engine->LoadListFile(Bytes(L"l.m3u", bytes));
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{a, b}));
}

TEST_F(ListFileTest, BinaryUtf16AndLongLinesLoadWithoutHarm) {
    const std::wstring a = Touch(L"a.mp3");
    std::string binary;
    for (int i = 0; i < 300000; ++i) binary.push_back(static_cast<char>((i * 7919) & 0xFF));
    engine->LoadListFile(Bytes(L"bin.m3u", binary));
    EXPECT_TRUE(Queue().empty());

    // UTF-16 is read as code page 932 bytes: the NULs make every line name nothing.
    std::string utf16 = "\xFF\xFE";
    for (wchar_t c : a + L"\r\n") {
        utf16.push_back(static_cast<char>(c & 0xFF));
        utf16.push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    engine->LoadListFile(Bytes(L"u16.m3u", utf16));
    EXPECT_TRUE(Queue().empty());

    // Lines of 100,000 characters around a good one.
    const std::string longLine(100000, 'x');
    engine->LoadListFile(Bytes(L"long.m3u", longLine + "\r\n" + EncodeTextLines({a}).bytes + longLine));
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{a}));
}

TEST_F(ListFileTest, AFullQueueStopsTheRead) {
    const std::wstring a = Touch(L"a.mp3");
    for (std::size_t i = 0; i + 2 < ListBox::kMaxItems; ++i) menu.LstM3u.AddItem(L"x");
    engine->LoadListFile(List(L"l.m3u", {a, a, a, a}));
    EXPECT_EQ(menu.LstM3u.ListCount(), ListBox::kMaxItems);
    EXPECT_EQ(menu.LblListCount.Caption(), L"32767");
}

// A long list goes into the queue a batch at a time, the windows getting their turn
// after each; what their events ask meanwhile cannot start a second load or play.
TEST_F(ListFileTest, ALongListArrivesInBatchesWithTheWindowsAnsweringBetween) {
    const std::wstring a = Touch(L"a.mp3"), b = Touch(L"b.mp3");
    device.lengths[a] = device.lengths[b] = 1000;
    std::vector<std::wstring> lines;
    for (std::size_t i = 0; i < 2 * kLoadBatchLines + 100; ++i) lines.push_back(i % 2 ? a : b);
    const std::wstring list = List(L"long.m3u", lines);
    PlayerServices services;
    std::vector<std::wstring> counts;
    PlaybackEngine* self = nullptr;
    services.keepResponsive = [&] {
        counts.push_back(menu.LblListCount.Caption());
        EXPECT_FALSE(self->LoadListFile(list));  // a reload asked for meanwhile
        self->PlayNext();                         // "next" pressed meanwhile
        return true;
    };
    PlaybackEngine loading(device, menu, body, vars, services);
    self = &loading;
    ASSERT_TRUE(loading.LoadListFile(list));
    const std::wstring first = std::to_wstring(kLoadBatchLines), second = std::to_wstring(2 * kLoadBatchLines),
                       all = std::to_wstring(lines.size());
    EXPECT_EQ(counts, (std::vector<std::wstring>{first, second, all}));
    EXPECT_EQ(menu.LstM3u.ListCount(), lines.size());
    EXPECT_TRUE(device.opened.empty());
    EXPECT_FALSE(loading.Loading());
    // Said stop (the program is ending) after the first batch: the rest is not read.
    menu.LstM3u.Clear();
    services.keepResponsive = [] { return false; };
    PlaybackEngine stopping(device, menu, body, vars, services);
    ASSERT_TRUE(stopping.LoadListFile(list));
    EXPECT_EQ(menu.LstM3u.ListCount(), kLoadBatchLines);
}

class ChooseTest : public ListFileTest {
protected:
    std::optional<std::wstring> chosen;
    int questions = 0;
    bool answer = true;
    std::function<void()> beforeRead;

    bool Choose() {
        ListFileDialogs d;
        d.showOpen = [this] { return chosen; };
        d.fileSize = [this](const std::wstring& path) {
            auto size = FileSizeOf(PathFromWide(path));
            if (beforeRead) beforeRead();
            return size;
        };
        d.confirmLargeFile = [this] {
            ++questions;
            return answer;
        };
        return ChooseListFile(*engine, menu, d);
    }
};

TEST_F(ChooseTest, TakesTheListReplacesTheQueueAndRefreshesTheNames) {
    const std::wstring a = Touch(L"a.mp3");
    const std::wstring list = List(L"l.m3u", {a, L"#comment"});
    menu.LstM3u.AddItem(L"old");
    menu.LblMediaName.SetCaption(L"playing.mp3");
    device.lengths[L"playing.mp3"] = 1000;
    chosen = list;
    EXPECT_TRUE(Choose());
    EXPECT_EQ(menu.LblM3uName.Caption(), list);
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{a}));
    EXPECT_EQ(menu.LblListCount.Caption(), L"1");
    EXPECT_EQ(menu.LblScrLstName.Caption(), L" " + list);
    EXPECT_EQ(menu.LblScrMediaName.Caption(), L" playing.mp3");
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(questions, 0);
    EXPECT_TRUE(device.commands.empty());  // the medium playing is not touched
}

TEST_F(ChooseTest, CancelOrAVanishedFileChangesNothing) {
    const std::wstring a = Touch(L"a.mp3");
    menu.LblM3uName.SetCaption(L"previous.m3u");
    menu.LstM3u.AddItem(L"kept");
    chosen.reset();
    EXPECT_FALSE(Choose());
    chosen = L"";
    EXPECT_FALSE(Choose());
    const std::wstring list = List(L"l.m3u", {a});
    chosen = list;
    beforeRead = [&] { fs::remove(PathFromWide(list)); };
    EXPECT_FALSE(Choose());
    beforeRead = nullptr;
    chosen = WideFromPath(dir / "never.m3u");
    EXPECT_FALSE(Choose());
    EXPECT_EQ(menu.LblM3uName.Caption(), L"previous.m3u");
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{L"kept"}));
    EXPECT_EQ(refreshes, 0);
}

// Where the question starts is the list file module's rule (listfile_test); a file
// beyond it is asked about: declined, nothing changes; accepted, it loads.
TEST_F(ChooseTest, ALargeFileIsAskedAbout) {
    const std::wstring a = Touch(L"a.mp3");
    std::string bytes = EncodeTextLines({a}).bytes;
    bytes.resize(1100001, '#');  // one long last line that names nothing
    chosen = Bytes(L"over.m3u", bytes);
    menu.LstM3u.AddItem(L"kept");
    answer = false;
    EXPECT_FALSE(Choose());
    EXPECT_EQ(questions, 1);
    EXPECT_EQ(menu.LblM3uName.Caption(), L"");
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{L"kept"}));
    answer = true;
    EXPECT_TRUE(Choose());
    EXPECT_EQ(questions, 2);
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{a}));
}

}  // namespace
}  // namespace tessel::player
