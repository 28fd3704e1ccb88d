// Choosing a list file through the real open dialog and the real size question, each
// answered by a watcher thread the way a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>
#include <algorithm>

#include "common/cp932.h"
#include "player/shared/texts.h"
#include "player/playback/mmc/mmc.h"
#include "player/startup/Initialize.h"
#include "tests/player/core/in_process_app.h"
#include "tests/player/core/win_support.h"

namespace tessel::player::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kFilterCombo = 0x470;    // cmb1 of the explorer-style dialog
constexpr int kReadOnlyBox = 0x410;    // chx1

// What the user does: in the open dialog type a name (or cancel), then answer the size
// question if one comes. Everything it saw is kept for the test to check.
struct User {
    std::wstring typeName;       // empty: cancel the open dialog
    int answerSizeQuestion = 0;  // IDOK or IDCANCEL
    std::atomic<bool> sawDialog{false}, sawQuestion{false};
    std::wstring filterText, questionText;
    int filterCount = -1;
    bool readOnlyVisible = true;

    void Act() {
        HWND dialog = WaitForDialog(menu_texts::kListFileDialogTitle, 20s);
        if (!dialog) return;
        sawDialog = true;
        std::this_thread::sleep_for(200ms);  // let the dialog finish building its controls
        HWND filter = ::GetDlgItem(dialog, kFilterCombo);
        filterCount = static_cast<int>(::SendMessageW(filter, CB_GETCOUNT, 0, 0));
        filterText = WindowText(filter);
        HWND readOnly = ::GetDlgItem(dialog, kReadOnlyBox);
        readOnlyVisible = readOnly != nullptr && ::IsWindowVisible(readOnly);
        if (typeName.empty()) {
            ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        EnterFileName(dialog, typeName);
        if (answerSizeQuestion == 0) return;
        HWND question = WaitForDialog(menu_texts::kConfirmTitle, 10s);
        if (!question) return;
        sawQuestion = true;
        questionText = DialogText(question);
        ::PostMessageW(question, WM_COMMAND, answerSizeQuestion, 0);
    }
};

class ListDialogTest : public ::testing::Test {
protected:
    TempDir dir{L"listdialog"};
    std::unique_ptr<PlayerApp> app;

    void SetUp() override {
        MakeProgramFolder(dir.path(), nullptr);
        WriteLines(dir.path() / L"Setting" / L"init.ini", DefaultSettings());
        app = std::make_unique<PlayerApp>(InProcessOptions(dir.path(), L"TesselListDialogTest", nullptr));
        ASSERT_TRUE(app->StartUp());
    }
    void TearDown() override {
        if (app && app->Device()) app->Device()->Command(MediaCommand::Close);
        app.reset();
    }
    // Runs the command on this (the user-interface) thread while the user acts.
    void Choose(User& user) {
        std::thread actor([&] { user.Act(); });
        app->Panel().ChooseListFile();
        actor.join();
    }
    // A list of `entries`, padded with comment lines to exactly `size` bytes.
    fs::path ListOfSize(const wchar_t* name, const std::vector<std::wstring>& entries, std::size_t size) {
        std::string bytes;
        for (const std::wstring& e : entries) bytes += EncodeCp932(e).bytes + "\r\n";
        while (bytes.size() + 2 < size) {
            const std::size_t line = std::min<std::size_t>(size - bytes.size() - 2, 200);
            bytes += "#" + std::string(line - 1, 'x') + "\r\n";
        }
        bytes.resize(size, '\n');
        const fs::path path = dir.path() / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
};

TEST_F(ListDialogTest, OpenDialogShowsOneFilterAndNoReadOnlyBoxAndLoadsTheChosenList) {
    const std::wstring song = (MediaDir() / L"tone_440.mp3").wstring();
    const fs::path list = dir.path() / L"曲のリスト.m3u";
    WriteLines(list, {song, (dir.path() / L"missing.mp3").wstring(), L"", song});
    User user;
    user.typeName = list.wstring();
    Choose(user);
    ASSERT_TRUE(user.sawDialog);
    EXPECT_EQ(user.filterCount, 1);
    EXPECT_EQ(user.filterText, L"プレイリストファイル(*.*)");
    EXPECT_FALSE(user.readOnlyVisible);
    EXPECT_FALSE(user.sawQuestion);
    EXPECT_EQ(app->PanelControls().LblM3uName.Caption(), list.wstring());
    EXPECT_EQ(app->PanelControls().LstM3u.ListCount(), 2u);
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"2");
}

TEST_F(ListDialogTest, CancelChangesNothing) {
    const std::wstring song = (MediaDir() / L"tone_440.mp3").wstring();
    app->PanelControls().LstM3u.AddItem(song);
    User user;  // cancels
    Choose(user);
    ASSERT_TRUE(user.sawDialog);
    EXPECT_EQ(app->PanelControls().LstM3u.ListCount(), 1u);
    EXPECT_EQ(app->PanelControls().LblM3uName.Caption(), L"");
}

TEST_F(ListDialogTest, SizeQuestionOnlyAboveOnePointOneMillionBytes) {
    const std::wstring song = (MediaDir() / L"tone_440.mp3").wstring();
    const fs::path exact = ListOfSize(L"exact.m3u", {song}, 1100000);
    const fs::path over = ListOfSize(L"over.m3u", {song, song}, 1100001);
    ASSERT_EQ(fs::file_size(exact), 1100000u);
    ASSERT_EQ(fs::file_size(over), 1100001u);

    User noQuestion;
    noQuestion.typeName = exact.wstring();
    Choose(noQuestion);
    EXPECT_FALSE(noQuestion.sawQuestion);
    EXPECT_EQ(app->PanelControls().LblM3uName.Caption(), exact.wstring());
    EXPECT_EQ(app->PanelControls().LstM3u.ListCount(), 1u);

    User declines;
    declines.typeName = over.wstring();
    declines.answerSizeQuestion = IDCANCEL;
    Choose(declines);
    ASSERT_TRUE(declines.sawQuestion);
    EXPECT_NE(declines.questionText.find(L"本当に開きますか？"), std::wstring::npos) << Printable(declines.questionText);
    EXPECT_EQ(app->PanelControls().LblM3uName.Caption(), exact.wstring());  // nothing changed
    EXPECT_EQ(app->PanelControls().LstM3u.ListCount(), 1u);

    User accepts;
    accepts.typeName = over.wstring();
    accepts.answerSizeQuestion = IDOK;
    Choose(accepts);
    ASSERT_TRUE(accepts.sawQuestion);
    EXPECT_EQ(app->PanelControls().LblM3uName.Caption(), over.wstring());
    EXPECT_EQ(app->PanelControls().LstM3u.ListCount(), 2u);  // the queue was cleared first
}

// A list of 50 MB: the size question, then a load of many seconds during which the
// panel answers other threads at once, its count rises as the entries arrive, and the
// player can be closed.
TEST_F(ListDialogTest, AFiftyMegabyteListLoadsWhileThePanelKeepsAnsweringAndCanBeClosed) {
    const std::string song = EncodeCp932((MediaDir() / L"tone_440.mp3").wstring()).bytes;
    std::string bytes;
    bytes.reserve(50u << 20);
    std::size_t songs = 0;
    for (std::size_t i = 0; bytes.size() < (50u << 20); ++i) {
        if (i % 20000 == 19999) {
            bytes += song + "\r\n";
            ++songs;
        } else {
            bytes += "Z:\\no such folder\\track " + std::to_string(i) + " of a long list of songs.mp3\r\n";
        }
    }
    const fs::path list = dir.path() / L"fifty.m3u";
    std::ofstream(list, std::ios::binary) << bytes;
    bytes.clear();

    User user;
    user.typeName = list.wstring();
    user.answerSizeQuestion = IDOK;
    HWND count = app->Panel().Child(MenuForm::IdLblListCount);
    HWND skin = app->Skin().Handle();
    std::atomic<bool> done{false};
    std::vector<int> seen;
    int unanswered = 0;
    std::thread watcher([&] {
        while (!user.sawQuestion && !done) std::this_thread::sleep_for(20ms);
        while (!done) {
            wchar_t text[32] = {};
            DWORD_PTR got = 0;
            if (::SendMessageTimeoutW(count, WM_GETTEXT, 32, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 1000, &got))
                seen.push_back(_wtoi(text));
            else
                ++unanswered;
            // Once the count has risen twice, the user closes the player.
            if (seen.size() >= 3 && std::count_if(seen.begin() + 1, seen.end(), [&](int v) { return v > seen.front(); }) >= 2 &&
                seen.back() > seen[seen.size() - 2]) {
                ::PostMessageW(skin, WM_CLOSE, 0, 0);
                break;
            }
            std::this_thread::sleep_for(50ms);
        }
    });
    Choose(user);
    done = true;
    watcher.join();
    ASSERT_TRUE(user.sawQuestion);
    EXPECT_EQ(unanswered, 0);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_LT(seen.front(), seen.back()) << "the count never rose while the list loaded";
    // Closed in the middle: the load stopped there.
    EXPECT_TRUE(app->Ended());
    EXPECT_LT(app->PanelControls().LstM3u.ListCount(), songs);
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), std::to_wstring(app->PanelControls().LstM3u.ListCount()));
}

}  // namespace
}  // namespace tessel::player::test
