// The player program inside the test process: start-up, the controls behind real
// windows, the tray icon, the hand-over between two instances, shutdown.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/fileio.h"
#include "player/playback/mmc/mmc.h"
#include "player/startup/Initialize.h"
#include "player/shared/texts.h"
#include "win32/error_text.h"
#include "tests/player/core/in_process_app.h"
#include "tests/player/core/win_support.h"

namespace tessel::player::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class AppTest : public ::testing::Test {
protected:
    TempDir dir{L"app"};
    std::vector<UINT> exits;
    std::vector<std::wstring> reports;
    std::wstring instance = L"TesselPlayerTest." + std::to_wstring(::GetCurrentProcessId()) + L"." +
                            std::to_wstring(++instances);
    static inline int instances = 0;

    StartOptions Options(const std::wstring& arguments) {
        StartOptions o = InProcessOptions(dir.path(), L"TesselPlayerTest", &reports, arguments);
        o.instanceName = instance;
        o.endProcess = [this](UINT code) { exits.push_back(code); };
        return o;
    }
    std::unique_ptr<PlayerApp> Start(const std::vector<std::wstring>& settings, const std::wstring& arguments = L"") {
        MakeProgramFolder(dir.path(), &settings);
        auto app = std::make_unique<PlayerApp>(Options(arguments));
        EXPECT_TRUE(app->StartUp());
        EXPECT_TRUE(reports.empty()) << (reports.empty() ? "" : Printable(reports[0]));
        return app;
    }
    fs::path Settings() const { return dir.path() / L"Setting" / L"init.ini"; }
    static bool TrayIconExists(HWND owner) {
        NOTIFYICONDATAW nid{};
        nid.cbSize = sizeof nid;
        nid.hWnd = owner;
        nid.uID = kTrayIconId;
        nid.uFlags = NIF_TIP;
        wcscpy_s(nid.szTip, L"probe");
        return ::Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
    }
    static bool DeleteTrayIcon(HWND owner) {
        NOTIFYICONDATAW nid{};
        nid.cbSize = sizeof nid;
        nid.hWnd = owner;
        nid.uID = kTrayIconId;
        return ::Shell_NotifyIconW(NIM_DELETE, &nid) != FALSE;
    }
};

TEST_F(AppTest, StartUpRestoresTheSettingsIntoRealControls) {
    auto settings = DefaultSettings();
    settings[1] = L"120";
    settings[2] = L"-8";
    settings[3] = L"1";
    settings[6] = L"1";
    settings[7] = L"200";
    settings[9] = LR"(C:\lists\ロック.m3u)";
    settings[10] = L"3";
    settings[11] = L"150";
    settings[12] = L"200";
    auto app = Start(settings);
    EXPECT_EQ(app->Vars().SkinName, L"Azure");
    EXPECT_EQ(app->Vars().VideoWindowRect.top, 150);
    EXPECT_EQ(app->Vars().VideoWindowRect.left, 200);
    HWND panel = app->Panel().Handle();
    EXPECT_EQ(::SendMessageW(app->Panel().Child(MenuForm::IdChkBreak), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageW(app->Panel().Child(MenuForm::IdChkEndless), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(::SendMessageW(app->Panel().Child(MenuForm::IdChkRandom), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(::SendMessageW(app->Panel().Child(MenuForm::IdCmbDispSize), CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(::SendMessageW(app->Panel().Child(MenuForm::IdCmbDispSize), CB_GETCOUNT, 0, 0), 9);
    EXPECT_EQ(::GetScrollPos(app->Panel().Child(MenuForm::IdScrSkinTrans), SB_CTL), 200);
    EXPECT_EQ(WindowText(app->Panel().Child(MenuForm::IdLblScrLstName)), LR"( C:\lists\ロック.m3u)");
    EXPECT_EQ(WindowText(panel), L"設定 - TesselPlayer");
    EXPECT_FALSE(::IsWindowVisible(panel));
    RECT skin{};
    ::GetWindowRect(app->Skin().Handle(), &skin);
    EXPECT_EQ(skin.left, 120);
    EXPECT_EQ(skin.top, -8);
    // The body window: its design size, its caption, at the skin window's lower left.
    RECT body{};
    ::GetWindowRect(app->Body().Handle(), &body);
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

TEST_F(AppTest, ShutdownClosesSavesRemovesTheIconAndEnds) {
    auto settings = DefaultSettings();
    settings[5] = L"1";
    settings.pop_back();
    auto app = Start(settings, L"\"" + (MediaDir() / L"tone_440.mp3").wstring() + L"\"");
    HWND panel = app->Panel().Handle();
    ASSERT_TRUE(app->TrayIconAdded());
    ASSERT_TRUE(TrayIconExists(panel));
    EXPECT_NE(app->Device()->Mode(), MediaDevice::kModeNotOpen);
    app->Shutdown();
    EXPECT_EQ(exits, std::vector<UINT>{0});
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModeNotOpen);
    // The icon is gone: deleting it again fails.
    EXPECT_FALSE(DeleteTrayIcon(panel));
    const auto lines = ReadLines(Settings());
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[5], L"1");
    EXPECT_EQ(lines[13], L"0");
    // A second close request does nothing more.
    app->Shutdown();
    EXPECT_EQ(exits.size(), 1u);
}

TEST_F(AppTest, ClosingEitherSkinnedWindowShutsDown) {
    for (int which = 0; which < 2; ++which) {
        exits.clear();
        auto app = Start(DefaultSettings());
        HWND panel = app->Panel().Handle();
        HWND target = which == 0 ? app->Skin().Handle() : app->Body().Handle();
        ::SendMessageW(target, WM_CLOSE, 0, 0);
        EXPECT_EQ(exits, std::vector<UINT>{0});
        EXPECT_TRUE(::IsWindow(target));  // not destroyed behind the player's back
        EXPECT_FALSE(DeleteTrayIcon(panel));
        EXPECT_EQ(ReadLines(Settings()).size(), 14u);
        fs::remove(Settings());
    }
}

TEST_F(AppTest, UnwritableSettingsAreReportedAndTheIconStillGoes) {
    auto app = Start(DefaultSettings());
    HWND panel = app->Panel().Handle();
    fs::remove_all(dir.path() / L"Setting");
    app->Shutdown();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find(L"設定ファイルを書き込めません"), std::wstring::npos);
    EXPECT_NE(reports[0].find(L"init.ini"), std::wstring::npos);
    EXPECT_FALSE(DeleteTrayIcon(panel));
    EXPECT_EQ(exits, std::vector<UINT>{0});
}

// A start-up that fails: the report keeps every character, whether the failure came as
// the system's wide text or as our own UTF-8.
TEST_F(AppTest, StartUpFailuresKeepTheirJapaneseTextWhole) {
    MakeProgramFolder(dir.path(), nullptr);
    const std::wstring why = L"デバイスを開けません（テスト）";
    for (int wide = 0; wide < 2; ++wide) {
        reports.clear();
        StartOptions o = Options(L"");
        o.makeDevice = [&](HWND) -> std::unique_ptr<MediaDevice> {
            if (wide) throw win32::WideError(why);
            throw std::runtime_error(reinterpret_cast<const char*>(u8"デバイスを開けません（テスト）"));
        };
        PlayerApp app(std::move(o));
        EXPECT_FALSE(app.StartUp());
        ASSERT_EQ(reports.size(), 1u);
        EXPECT_NE(reports[0].find(why), std::wstring::npos) << Printable(reports[0]);
    }
}

// No settings file yet: the default skin when it is there, else the skin the list
// shows first (the list ignores case: "beta" comes before "Zed").
TEST_F(AppTest, FirstRunTakesTheDefaultSkinOrTheFirstListedOne) {
    MakeProgramFolder(dir.path(), nullptr);
    {
        auto app = Start({});
        EXPECT_EQ(app->Vars().SkinName, L"Azure");
    }
    fs::remove(Settings());
    fs::rename(dir.path() / L"parts" / L"Azure", dir.path() / L"parts" / L"Zed");
    fs::copy(dir.path() / L"parts" / L"Zed", dir.path() / L"parts" / L"beta", fs::copy_options::recursive);
    fs::create_directories(dir.path() / L"parts" / L"~aa");
    auto app = std::make_unique<PlayerApp>(Options(L""));
    ASSERT_TRUE(app->StartUp()) << (reports.empty() ? "" : Printable(reports[0]));
    EXPECT_EQ(app->Vars().SkinName, L"beta");
    EXPECT_NE(app->Vars().DefinePath.find(L"\\beta\\"), std::wstring::npos);
}

TEST_F(AppTest, SessionEndSavesAndRemovesTheIconWithoutEnding) {
    auto app = Start(DefaultSettings());
    HWND panel = app->Panel().Handle();
    EXPECT_EQ(::SendMessageW(panel, WM_QUERYENDSESSION, 0, 0), TRUE);
    ::SendMessageW(panel, WM_ENDSESSION, TRUE, 0);
    EXPECT_TRUE(exits.empty());
    EXPECT_FALSE(DeleteTrayIcon(panel));
    EXPECT_EQ(ReadLines(Settings()).size(), 14u);
}

TEST_F(AppTest, TrayClicksToggleTheWindowsAndMouseMovesDoNot) {
    auto app = Start(DefaultSettings());
    HWND panel = app->Panel().Handle();
    // A real mouse move over the panel whose x happens to be 514 is no click.
    ::SendMessageW(panel, WM_MOUSEMOVE, 0, MAKELPARAM(514, 3));
    EXPECT_EQ(app->PanelControls().ChkHide.Value(), 0);
    ::SendMessageW(panel, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONUP);
    EXPECT_EQ(app->PanelControls().ChkHide.Value(), 1);
    EXPECT_FALSE(::IsWindowVisible(app->Body().Handle()));
    EXPECT_FALSE(::IsWindowVisible(app->Skin().Handle()));
    EXPECT_EQ(::SendMessageW(app->Panel().Child(MenuForm::IdChkHide), BM_GETCHECK, 0, 0), BST_CHECKED);
    ::SendMessageW(panel, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONDOWN);
    EXPECT_EQ(app->PanelControls().ChkHide.Value(), 1);
    ::SendMessageW(panel, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONUP);
    EXPECT_EQ(app->PanelControls().ChkHide.Value(), 0);
    EXPECT_TRUE(::IsWindowVisible(app->Body().Handle()));
    EXPECT_TRUE(::IsWindowVisible(app->Skin().Handle()));
    // The user's click on the check box does the same.
    ::SendMessageW(panel, WM_COMMAND, MAKEWPARAM(MenuForm::IdChkHide, BN_CLICKED),
                   reinterpret_cast<LPARAM>(app->Panel().Child(MenuForm::IdChkHide)));
    EXPECT_EQ(app->PanelControls().ChkHide.Value(), 1);
    EXPECT_FALSE(::IsWindowVisible(app->Skin().Handle()));
    // The panel itself is never touched by hiding.
    EXPECT_FALSE(::IsWindowVisible(panel));
}

TEST_F(AppTest, FavouritesMenuListsTheFolderOrCreatesIt) {
    {
        MakeProgramFolder(dir.path(), nullptr);
        WriteLines(dir.path() / L"fav" / L"rock.m3u", {});
        WriteLines(dir.path() / L"fav" / L"jazz.m3u", {});
        fs::create_directories(dir.path() / L"fav" / L"folder");
        // What a killed save of a favourite left behind is no favourite.
        WriteLines(dir.path() / L"fav" / TemporaryFileName(L"rock.m3u", 4242, 0), {});
        auto app = Start(DefaultSettings());
        const MenuArray& menu = app->PanelControls().MenuFavList;
        ASSERT_EQ(menu.Count(), 3u);
        EXPECT_EQ(menu.Item(0).caption, L"更新する");
        std::vector<std::wstring> names{menu.Item(1).caption, menu.Item(2).caption};
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, (std::vector<std::wstring>{L"jazz.m3u", L"rock.m3u"}));
    }
    fs::remove_all(dir.path() / L"fav");
    auto app = Start(DefaultSettings());
    EXPECT_TRUE(fs::is_directory(dir.path() / L"fav"));
    ASSERT_EQ(app->PanelControls().MenuFavList.Count(), 1u);
    EXPECT_TRUE(app->PanelControls().MenuFavList.Item(0).enabled);
}

// Ten thousand favourites: the menu is built once at start and once per refresh, not
// again after every item (which took minutes).
TEST_F(AppTest, TenThousandFavouritesMakeOneMenu) {
    const fs::path folder = FromEnvironmentPath("TESSEL_TEST_FAV_MANY");
    MakeProgramFolder(folder, nullptr);
    StartOptions o = InProcessOptions(folder, L"TesselPlayerTest", &reports);
    o.instanceName = instance;
    o.endProcess = [this](UINT code) { exits.push_back(code); };
    auto app = std::make_unique<PlayerApp>(std::move(o));
    ASSERT_TRUE(app->StartUp());
    HMENU fav = ::GetSubMenu(app->Panel().RootMenu(), 4);
    EXPECT_EQ(app->PanelControls().MenuFavList.Count(), 10001u);
    EXPECT_EQ(::GetMenuItemCount(fav), 10001);
    app->Panel().MenuFavList_Click(0);  // "更新する"
    EXPECT_EQ(::GetMenuItemCount(fav), 10001);
    wchar_t caption[64] = {};
    ::GetMenuStringW(fav, 0, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"更新する");
}

TEST_F(AppTest, SecondInstanceHandsOverAndTheFirstPlaysItOnce) {
    auto first = Start(DefaultSettings());
    const fs::path song = MediaDir() / L"chord_c.mp3";
    auto second = std::make_unique<PlayerApp>(Options(L"\"" + song.wstring() + L"\""));
    EXPECT_FALSE(second->StartUp());
    EXPECT_EQ(exits, std::vector<UINT>{0});
    EXPECT_EQ(WindowText(second->Body().Handle()), L"MultiActive");
    EXPECT_FALSE(second->TrayIconAdded());
    EXPECT_EQ(WindowText(first->Body().Handle()), song.wstring());
    // The first instance's timer takes it within a tick.
    EXPECT_TRUE(WaitUntil([&] { return first->PanelControls().LblMediaName.Caption() == song.wstring(); }, 2s, true));
    EXPECT_EQ(WindowText(first->Body().Handle()), L"PlayerForm");
    EXPECT_EQ(first->BodyControls().LblTitle.Caption(), L"     chord_c.mp3              ");
    EXPECT_EQ(first->BodyControls().LblTTime.Caption(), L"3");
}

TEST_F(AppTest, VideoWindowOfTheMediumIsPutOnTop) {
    auto app = Start(DefaultSettings(), L"\"" + (MediaDir() / L"clip.mp4").wstring() + L"\"");
    ASSERT_NE(app->Vars().VideoWindowHandle, 0u);
    HWND video = reinterpret_cast<HWND>(app->Vars().VideoWindowHandle);
    EXPECT_TRUE(::GetWindowLongW(video, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(app->BodyControls().LblTitle.Caption(), L"     clip.mp4              ");
    // A medium without pictures: no video window.
    app->PlayFile((MediaDir() / L"tone_660.wav").wstring());
    EXPECT_EQ(app->Vars().VideoWindowHandle, 0u);
    EXPECT_EQ(app->PanelControls().LblMediaName.Caption(), (MediaDir() / L"tone_660.wav").wstring());
}

}  // namespace
}  // namespace tessel::player::test
