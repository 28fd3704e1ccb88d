// The player program inside the test process: start-up into real controls, a start
// that fails, the first run, and the ways it ends. The settings file's rules are
// tested natively (settings_test); here, that the windows show what it says.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "player/shared/texts.h"
#include "tests/support/in_process_player.h"
#include "win32/error_text.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;
using player::MenuForm;

using AppTest = InProcessPlayer;

TEST_F(AppTest, StartUpShowsTheSettingsInRealControlsAndPlacesTheWindows) {
    folder.settings = {L"Azure", L"120", L"-8", L"1", L"0", L"0", L"1", L"200", L"255", LR"(C:\lists\ロック.m3u)",
                       L"3", L"150", L"200", L"0"};
    Start();
    auto& panel = app->Panel();
    EXPECT_EQ(::SendMessageW(panel.Child(MenuForm::IdChkBreak), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageW(panel.Child(MenuForm::IdChkEndless), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageW(panel.Child(MenuForm::IdChkRandom), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(::SendMessageW(panel.Child(MenuForm::IdCmbDispSize), CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(::SendMessageW(panel.Child(MenuForm::IdCmbDispSize), CB_GETCOUNT, 0, 0), 9);
    EXPECT_EQ(::GetScrollPos(panel.Child(MenuForm::IdScrSkinTrans), SB_CTL), 200);
    EXPECT_EQ(WindowText(panel.Child(MenuForm::IdLblScrLstName)), LR"( C:\lists\ロック.m3u)");
    EXPECT_EQ(WindowText(panel.Handle()), L"設定 - TesselPlayer");
    EXPECT_FALSE(::IsWindowVisible(panel.Handle()));
    const RECT skin = Rect(app->Skin().Handle());
    EXPECT_EQ(skin.left, 120);
    EXPECT_EQ(skin.top, -8);
    // The body window: its design size, its caption, at the skin window's lower left.
    const RECT body = Rect(app->Body().Handle());
    EXPECT_EQ(body.right - body.left, 96);
    EXPECT_EQ(body.bottom - body.top, 83);
    EXPECT_EQ(body.right, skin.left);
    EXPECT_EQ(body.bottom, skin.bottom);
    EXPECT_EQ(WindowText(app->Body().Handle()), L"PlayerForm");
    EXPECT_TRUE(::IsWindowVisible(app->Body().Handle()));
    EXPECT_TRUE(::IsWindowVisible(app->Skin().Handle()));
    // Nothing was asked to play: nothing plays.
    EXPECT_EQ(app->BodyControls().LblTitle.Caption(), L"");
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"0");
}

// No settings file yet: the default skin when it is there, else the skin the list
// shows first (the list ignores case: "beta" comes before "Zed"). Nothing is written
// before the end.
TEST_F(AppTest, FirstRunTakesTheDefaultSkinOrTheFirstListedOne) {
    folder.settings.reset();
    Start();
    EXPECT_EQ(app->Vars().SkinName, L"Azure");
    EXPECT_FALSE(fs::exists(SettingsFile()));
    app->Shutdown();
    const auto lines = ReadLines(SettingsFile());
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], L"Azure");
    EXPECT_EQ(lines[7], L"255");
    EXPECT_EQ(lines[9], L"");
    EXPECT_EQ(lines[10], L"-1");

    app.reset();
    fs::remove(SettingsFile());
    fs::rename(dir / L"parts" / L"Azure", dir / L"parts" / L"Zed");
    fs::copy(dir / L"parts" / L"Zed", dir / L"parts" / L"beta", fs::copy_options::recursive);
    fs::create_directories(dir / L"parts" / L"~aa");
    app = Launch();
    ASSERT_TRUE(app->StartUp()) << (reports.empty() ? "" : Printable(reports[0]));
    EXPECT_EQ(app->Vars().SkinName, L"beta");
    EXPECT_NE(app->Vars().DefinePath.find(L"\\beta\\"), std::wstring::npos);
}

// The skin the settings name cannot be used (a folder renamed, or a short name the
// volume has not got): the default skin, or when that one is broken too the first listed
// one that works, with a box naming both; the next save keeps the skin in use. With no
// usable skin at all the start fails with the report it always gave, and no box.
TEST_F(AppTest, UnusableStoredSkinStartsWithAnotherAndSaysWhich) {
    folder.settings->at(0) = L"AZURE~1";
    boxes.Expect(player::texts::kStartSkinReplacedTitle, IDOK);
    Start();
    auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find(L"スキン「AZURE~1」が見つからないか使えないため、スキン「Azure」で起動します。"),
              std::wstring::npos) << Printable(seen[0].text);
    EXPECT_NE(app->Vars().DefinePath.find(L"\\Azure\\"), std::wstring::npos);
    app->Shutdown();
    EXPECT_EQ(ReadLines(SettingsFile()).at(0), L"Azure");
    Stop();

    const fs::path parts = dir / L"parts";
    fs::copy(parts / L"Azure", parts / L"Broken", fs::copy_options::recursive);
    fs::copy(parts / L"Azure", parts / L"Zed", fs::copy_options::recursive);
    // A shape too complex for the display: a checkerboard over the whole scan.
    ASSERT_TRUE(WriteCheckerboardBmp(parts / L"Broken" / L"s_mask.bmp", 320, 120));
    fs::remove(parts / L"Azure" / L"p_mask.bmp");
    folder.settings->at(0) = L"Gone";
    WriteLines(SettingsFile(), *folder.settings);
    boxes.Expect(player::texts::kStartSkinReplacedTitle, IDOK);
    app = Launch();
    ASSERT_TRUE(app->StartUp()) << (reports.empty() ? "" : Printable(reports[0]));
    seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find(L"スキン「Gone」が見つからないか使えないため、スキン「Zed」で起動します。"),
              std::wstring::npos) << Printable(seen[0].text);
    EXPECT_EQ(app->Vars().SkinName, L"Zed");
    Stop();

    fs::remove(parts / L"Zed" / L"skin.bmp");
    exits.clear();
    app = Launch();
    EXPECT_FALSE(app->StartUp());
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find(L"\\Gone\\"), std::wstring::npos) << Printable(reports[0]);
    EXPECT_EQ(exits, std::vector<UINT>{1});
}

// A file named "fav" where the favourites folder belongs, in a program folder where it
// cannot be made: the player starts without favourites and says so once, naming the
// folder and the reason; the rebuilds of a skin change or of "更新する" do not say it
// again, and once the way is clear "更新する" makes the folder.
TEST_F(AppTest, FavouritesFolderThatCannotBeMadeDoesNotStopTheStart) {
    MakeProgramFolder(home, folder);
    fs::remove_all(home / L"fav");
    WriteLines(home / L"fav", {});
    app = Launch();
    ASSERT_TRUE(app->StartUp()) << (reports.empty() ? "" : Printable(reports[0]));
    EXPECT_TRUE(exits.empty());
    ASSERT_EQ(reports.size(), 1u);
    for (const std::wstring& part : {std::wstring(player::texts::kFavFolderFailed),
                                    std::wstring(player::texts::kFavUnavailable), (home / L"fav").wstring(),
                                    std::wstring(player::texts::kReasonLabel)})
        EXPECT_NE(reports[0].find(part), std::wstring::npos) << Printable(reports[0]);
    const auto& menu = app->PanelControls().MenuFavList;
    ASSERT_EQ(menu.Count(), 1u);
    EXPECT_TRUE(menu.Item(0).enabled);

    Command(MenuForm::IdMenuFavListFirst);  // "更新する"
    EXPECT_EQ(reports.size(), 1u);
    fs::remove(home / L"fav");
    Command(MenuForm::IdMenuFavListFirst);
    EXPECT_TRUE(fs::is_directory(home / L"fav"));
    EXPECT_EQ(reports.size(), 1u);
}

// A start-up that fails: the report keeps every character, whether the failure came as
// the system's wide text or as our own UTF-8.
TEST_F(AppTest, StartUpFailuresKeepTheirJapaneseTextWhole) {
    MakeProgramFolder(dir.path(), folder);
    const std::wstring why = L"デバイスを開けません（テスト）";
    for (int wide = 0; wide < 2; ++wide) {
        reports.clear();
        player::StartOptions o = Options();
        o.makeDevice = [&](HWND) -> std::unique_ptr<MediaDevice> {
            if (wide) throw win32::WideError(why);
            throw std::runtime_error(reinterpret_cast<const char*>(u8"デバイスを開けません（テスト）"));
        };
        player::PlayerApp failing(std::move(o));
        EXPECT_FALSE(failing.StartUp());
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_NE(reports[0].find(why), std::wstring::npos) << Printable(reports[0]);
    }
}

// Closing either skinned window, the menu's end and the end of the session (which does
// all but ending) close the medium, save the settings (all fourteen lines, from the
// thirteen a file may hold), remove the icon, and end once; a settings file that cannot
// be written is reported, and the icon goes all the same.
TEST_F(AppTest, EveryWayOfEndingSavesAndRemovesTheIcon) {
    folder.settings->at(5) = L"1";
    folder.settings->pop_back();
    for (int way = 0; way < 5; ++way) {
        SCOPED_TRACE(way);
        exits.clear();
        Start(Quoted(MediaDir() / L"tone_440.mp3"));
        HWND panel = app->Panel().Handle();
        ASSERT_TRUE(app->TrayIconAdded());
        ASSERT_NE(app->Device()->Mode(), MediaDevice::kModeNotOpen);
        if (way == 0 || way == 1) {
            HWND target = way == 0 ? app->Skin().Handle() : app->Body().Handle();
            ::SendMessageW(target, WM_CLOSE, 0, 0);
            EXPECT_TRUE(::IsWindow(target));  // not destroyed behind the player's back
        } else if (way == 2) {
            EXPECT_EQ(::SendMessageW(panel, WM_QUERYENDSESSION, 0, 0), TRUE);
            ::SendMessageW(panel, WM_ENDSESSION, TRUE, 0);
        } else if (way == 3) {
            app->Shutdown();
        } else {
            fs::remove_all(dir / L"Setting");
            app->Shutdown();
            ASSERT_EQ(reports.size(), 1u);
            EXPECT_NE(reports[0].find(L"設定ファイルを書き込めません"), std::wstring::npos);
            EXPECT_NE(reports[0].find(L"init.ini"), std::wstring::npos);
            reports.clear();
        }
        if (way != 2) app->Shutdown();  // a second request does nothing more
        EXPECT_EQ(exits, way == 2 ? std::vector<UINT>{} : std::vector<UINT>{0});
        EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModeNotOpen);
        EXPECT_FALSE(NotifyTrayIcon(NIM_DELETE, panel));  // the icon is gone: deleting it again fails
        const auto lines = ReadLines(SettingsFile());
        ASSERT_EQ(lines.size(), way == 4 ? 0u : 14u);
        if (way < 4) {
            EXPECT_EQ(lines[5], L"1");
        }
        Stop();
    }
}

}  // namespace
}  // namespace tessel::test
