// Choosing and loading list files on real files: where the entries go, in batches, up
// to the queue's limit; the choice, the size question, and files that are gone. Which
// lines name a file is the list file module's rule (listfile_test).
#include <gtest/gtest.h>

#include <filesystem>
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
        return Bytes(name, EncodeTextLines(lines).bytes);
    }
    std::wstring Bytes(const std::wstring& name, const std::string& bytes) {
        return WideFromPath(dir.Write(PathFromWide(name), bytes));
    }
    std::vector<std::wstring> Queue() const { return menu.LstM3u.Items(); }
};

TEST_F(ListFileTest, AppendsUntilTheQueueIsFullAndLeavesItAloneForAMissingFile) {
    const std::wstring a = Touch(L"a.mp3"), b = Touch(L"b.wav");
    menu.LstM3u.AddItem(L"earlier");
    engine->LoadListFile(List(L"l.m3u", {b, a, b}));
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{L"earlier", b, a, b}));
    menu.LblListCount.SetCaption(L"stale");
    engine->LoadListFile(WideFromPath(dir / "gone.m3u"));
    engine->LoadListFile(L"");
    EXPECT_EQ(Queue().size(), 4u);
    EXPECT_EQ(menu.LblListCount.Caption(), L"stale");
    // Two places left in the queue: the read stops when it is full.
    for (std::size_t i = Queue().size(); i + 2 < ListBox::kMaxItems; ++i) menu.LstM3u.AddItem(L"x");
    engine->LoadListFile(List(L"l.m3u", {a, a, a, a}));
    EXPECT_EQ(menu.LstM3u.ListCount(), ListBox::kMaxItems);
    EXPECT_EQ(menu.LblListCount.Caption(), L"32767");
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
    EXPECT_FALSE(loading.Busy());  // the timers' handlers run again
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

// A cancel, an empty name, a file that is not there or is gone before it is read change
// nothing; a list chosen replaces the queue and refreshes the names, and the medium
// playing is not touched.
TEST_F(ChooseTest, NothingChangesUntilAListIsTakenWhichReplacesTheQueue) {
    const std::wstring a = Touch(L"a.mp3");
    menu.LblM3uName.SetCaption(L"previous.m3u");
    menu.LstM3u.AddItem(L"kept");
    menu.LblMediaName.SetCaption(L"playing.mp3");
    device.lengths[L"playing.mp3"] = 1000;
    EXPECT_FALSE(Choose());
    chosen = L"";
    EXPECT_FALSE(Choose());
    chosen = WideFromPath(dir / "never.m3u");
    EXPECT_FALSE(Choose());
    const std::wstring list = List(L"l.m3u", {a, L"#comment"});
    chosen = list;
    beforeRead = [&] { fs::remove(PathFromWide(list)); };
    EXPECT_FALSE(Choose());
    EXPECT_EQ(menu.LblM3uName.Caption(), L"previous.m3u");
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{L"kept"}));
    EXPECT_EQ(refreshes, 0);

    beforeRead = nullptr;
    List(L"l.m3u", {a, L"#comment"});
    EXPECT_TRUE(Choose());
    EXPECT_EQ(menu.LblM3uName.Caption(), list);
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{a}));
    EXPECT_EQ(menu.LblListCount.Caption(), L"1");
    EXPECT_EQ(menu.LblScrLstName.Caption(), L" " + list);
    EXPECT_EQ(menu.LblScrMediaName.Caption(), L" playing.mp3");
    EXPECT_EQ(refreshes, 1);
    EXPECT_EQ(questions, 0);
    EXPECT_TRUE(device.commands.empty());
}

}  // namespace
}  // namespace tessel::player
