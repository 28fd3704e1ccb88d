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

#include "common/cp932.h"
#include "player/panel/menu_texts.h"
#include "player/playback/mmc/mmc.h"
#include "player/startup/Initialize.h"
#include "tests/player/core/in_process_app.h"
#include "tests/player/core/win_support.h"

namespace tessel::player::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr int kFileNameCombo = 0x47C;  // cmb13 of the explorer-style dialog
constexpr int kFileNameEdit = 0x480;   // edt1
constexpr int kFilterCombo = 0x470;    // cmb1
constexpr int kReadOnlyBox = 0x410;    // chx1

HWND WaitForBox(const wchar_t* title, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (HWND box = ::FindWindowW(L"#32770", title)) return box;
        std::this_thread::sleep_for(20ms);
    }
    return nullptr;
}

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
        HWND dialog = WaitForBox(menu_texts::kListFileDialogTitle, 20s);
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
        HWND name = ::GetDlgItem(dialog, kFileNameCombo);
        if (!name) name = ::GetDlgItem(dialog, kFileNameEdit);
        ::SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typeName.c_str()));
        ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        if (answerSizeQuestion == 0) return;
        HWND question = WaitForBox(menu_texts::kConfirmTitle, 10s);
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
        if (app && app->mmc) app->mmc->Command(L"close");
        app.reset();
    }
    // Runs the command on this (the user-interface) thread while the user acts.
    void Choose(User& user) {
        std::thread actor([&] { user.Act(); });
        app->menuForm.ChooseListFile();
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
    EXPECT_EQ(app->menuControls.LblM3uName.Caption(), list.wstring());
    EXPECT_EQ(app->menuControls.LstM3u.ListCount(), 2u);
    EXPECT_EQ(app->menuControls.LblListCount.Caption(), L"2");
}

TEST_F(ListDialogTest, CancelChangesNothing) {
    const std::wstring song = (MediaDir() / L"tone_440.mp3").wstring();
    app->menuControls.LstM3u.AddItem(song);
    User user;  // cancels
    Choose(user);
    ASSERT_TRUE(user.sawDialog);
    EXPECT_EQ(app->menuControls.LstM3u.ListCount(), 1u);
    EXPECT_EQ(app->menuControls.LblM3uName.Caption(), L"");
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
    EXPECT_EQ(app->menuControls.LblM3uName.Caption(), exact.wstring());
    EXPECT_EQ(app->menuControls.LstM3u.ListCount(), 1u);

    User declines;
    declines.typeName = over.wstring();
    declines.answerSizeQuestion = IDCANCEL;
    Choose(declines);
    ASSERT_TRUE(declines.sawQuestion);
    EXPECT_NE(declines.questionText.find(L"本当に開きますか？"), std::wstring::npos) << Printable(declines.questionText);
    EXPECT_EQ(app->menuControls.LblM3uName.Caption(), exact.wstring());  // nothing changed
    EXPECT_EQ(app->menuControls.LstM3u.ListCount(), 1u);

    User accepts;
    accepts.typeName = over.wstring();
    accepts.answerSizeQuestion = IDOK;
    Choose(accepts);
    ASSERT_TRUE(accepts.sawQuestion);
    EXPECT_EQ(app->menuControls.LblM3uName.Caption(), over.wstring());
    EXPECT_EQ(app->menuControls.LstM3u.ListCount(), 2u);  // the queue was cleared first
}

}  // namespace
}  // namespace tessel::player::test
