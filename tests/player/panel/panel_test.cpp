// The control panel of the program in this process, under Wine: hiding and showing
// through the check box, the icon and the menu; translucency read back from the real
// windows; the run-time skin change with playback running; favourites from a real
// folder; the clipboard; the editor started as a second process.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <commctrl.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "win32/clipboard.h"
#include "player/shared/texts.h"
#include "player/playback/mmc/mmc.h"
#include "player/skin/skin_layout.h"
#include "player/startup/Initialize.h"
#include "tests/player/core/in_process_app.h"
#include "tests/player/core/win_support.h"

namespace tessel::player::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Answers the message boxes of this process from another thread: records title and
// text, then presses `button`. A box that nobody expected is answered all the same,
// so a failing test can never hang; only a dialog titled `leave` is left to others.
// (Every box of the player has a title.)
class BoxAnswerer {
public:
    explicit BoxAnswerer(int button, std::wstring leave = {})
        : button_(button), leave_(std::move(leave)), thread_([this] { Run(); }) {}
    ~BoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    std::vector<std::wstring> titles, texts;
    int Count() const { return count_; }

private:
    struct Search {
        const std::wstring* leave;
        HWND box = nullptr;
    };
    void Run() {
        while (!stop_) {
            Search search{&leave_};
            ::EnumWindows(
                [](HWND w, LPARAM p) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(p);
                    DWORD pid = 0;
                    ::GetWindowThreadProcessId(w, &pid);
                    wchar_t cls[16] = {};
                    ::GetClassNameW(w, cls, 16);
                    // A box without a title is one on its way (the file dialog's) or gone.
                    const std::wstring title = WindowText(w);
                    if (pid == ::GetCurrentProcessId() && std::wstring(cls) == L"#32770" && ::IsWindowVisible(w) &&
                        !title.empty() && title != *s->leave) {
                        s->box = w;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            if (HWND box = search.box) {
                titles.push_back(WindowText(box));
                texts.push_back(DialogText(box));
                ++count_;
                ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button_, BN_CLICKED), 0);
                std::this_thread::sleep_for(150ms);
            }
            std::this_thread::sleep_for(20ms);
        }
    }
    int button_;
    std::wstring leave_;
    std::atomic<bool> stop_{false};
    std::atomic<int> count_{0};
    std::thread thread_;
};

class PanelTest : public ::testing::Test {
protected:
    TempDir dir{L"panel"};
    std::vector<std::wstring> reports;
    std::wstring instance = L"TesselPlayerPanelTest." + std::to_wstring(::GetCurrentProcessId()) + L"." +
                            std::to_wstring(++instances);
    static inline int instances = 0;

    std::unique_ptr<PlayerApp> Start(std::vector<std::wstring> settings = DefaultSettings()) {
        settings[1] = L"200";
        settings[2] = L"150";
        MakeProgramFolder(dir.path(), &settings);
        fs::copy(DistDir() / L"parts", dir.path() / L"parts",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::create_directories(dir.path() / L"parts" / L"~work");
        StartOptions o = InProcessOptions(dir.path(), L"TesselPlayerPanelTest", &reports);
        o.instanceName = instance;
        auto app = std::make_unique<PlayerApp>(std::move(o));
        EXPECT_TRUE(app->StartUp());
        EXPECT_TRUE(reports.empty()) << (reports.empty() ? "" : Printable(reports[0]));
        Pump();
        return app;
    }
    static void Command(PlayerApp& app, int id, int code = 0) {
        ::SendMessageW(app.Panel().Handle(), WM_COMMAND, MAKEWPARAM(id, code),
                       reinterpret_cast<LPARAM>(app.Panel().Child(id)));
    }
    static RECT Rect(HWND window) {
        RECT r{};
        ::GetWindowRect(window, &r);
        return r;
    }
    static std::wstring ClipboardText() {
        std::wstring text;
        for (int i = 0; i < 50 && !::OpenClipboard(nullptr); ++i) ::Sleep(20);
        if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
            if (auto* p = static_cast<const wchar_t*>(::GlobalLock(data))) {
                text = p;
                ::GlobalUnlock(data);
            }
        }
        ::CloseClipboard();
        return text;
    }
};

TEST_F(PanelTest, CheckBoxIconAndMenuHideAndShowTheTwoWindowsButNotThePanel) {
    auto app = Start();
    HWND body = app->Body().Handle(), skin = app->Skin().Handle(), panel = app->Panel().Handle();
    app->Panel().SetPanelVisible(true);
    ASSERT_TRUE(::IsWindowVisible(skin));

    Command(*app, MenuForm::IdChkHide, BN_CLICKED);
    EXPECT_EQ(app->PanelControls().ChkHide.Value(), 1);
    EXPECT_FALSE(::IsWindowVisible(body));
    EXPECT_FALSE(::IsWindowVisible(skin));
    EXPECT_TRUE(::IsWindowVisible(panel));

    // The icon: a left-button release toggles, presses and moves do nothing.
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN}) {
        ::SendMessageW(panel, kTrayCallbackMessage, kTrayIconId, message);
    }
    EXPECT_FALSE(::IsWindowVisible(skin));
    ::SendMessageW(panel, kTrayCallbackMessage, kTrayIconId, WM_LBUTTONUP);
    EXPECT_EQ(app->PanelControls().ChkHide.Value(), 0);
    EXPECT_TRUE(::IsWindowVisible(body));
    EXPECT_TRUE(::IsWindowVisible(skin));

    // The grey state counts as off: the menu entry hides.
    app->PanelControls().ChkHide.SetValue(2);
    ::ShowWindow(body, SW_SHOWNA);
    ::ShowWindow(skin, SW_SHOWNA);
    Command(*app, MenuForm::IdMenuShowMain);
    EXPECT_EQ(app->PanelControls().ChkHide.Value(), 1);
    EXPECT_FALSE(::IsWindowVisible(skin));

    Command(*app, MenuForm::IdMenuShowSetting);
    EXPECT_FALSE(::IsWindowVisible(panel));
    Command(*app, MenuForm::IdMenuShowSetting);
    EXPECT_TRUE(::IsWindowVisible(panel));
    Command(*app, MenuForm::IdCmdHide, BN_CLICKED);
    EXPECT_FALSE(::IsWindowVisible(panel));
    // Closing through the title bar only hides the panel.
    Command(*app, MenuForm::IdMenuShowSetting);
    ::SendMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(panel));
    EXPECT_FALSE(::IsWindowVisible(panel));
}

TEST_F(PanelTest, MenuBarHoldsOnlyMenuWithItsEntries) {
    auto app = Start();
    HMENU bar = ::GetMenu(app->Panel().Handle());
    ASSERT_EQ(::GetMenuItemCount(bar), 1);
    wchar_t caption[64] = {};
    ::GetMenuStringW(bar, 0, caption, 64, MF_BYPOSITION);
    EXPECT_EQ(std::wstring(caption), menu_texts::kMenuRoot);
    HMENU root = ::GetSubMenu(bar, 0);
    EXPECT_EQ(root, app->Panel().RootMenu());
    EXPECT_EQ(::GetMenuItemCount(root), 10);
    EXPECT_TRUE(::GetMenuState(root, MenuForm::IdMenuReLoadList, MF_BYCOMMAND) == 0);  // enabled
}

TEST_F(PanelTest, SlidersMakeEachWindowLayeredWithTheirAlphaAndKeepTheStyleAt255) {
    auto settings = DefaultSettings();
    settings[7] = L"100";  // skin window, restored at start-up
    auto app = Start(settings);
    HWND body = app->Body().Handle(), skin = app->Skin().Handle();
    auto alphaOf = [](HWND w) -> int {
        BYTE alpha = 0;
        DWORD flags = 0;
        COLORREF key = 0;
        if (!::GetLayeredWindowAttributes(w, &key, &alpha, &flags) || !(flags & LWA_ALPHA)) return -1;
        return alpha;
    };
    ASSERT_EQ(app->Vars().LayeredAvailable, true);
    EXPECT_TRUE(app->PanelControls().ScrSkinTrans.Enabled());
    EXPECT_TRUE(::GetWindowLongW(skin, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(alphaOf(skin), 100);
    // 255 restored: nothing applied, the body window is no layered window.
    EXPECT_FALSE(::GetWindowLongW(body, GWL_EXSTYLE) & WS_EX_LAYERED);

    // The slider as the user moves it: a page click.
    app->PanelControls().ScrPlayerTrans.SetValue(138);
    ::SendMessageW(app->Panel().Handle(), WM_HSCROLL, MAKEWPARAM(SB_PAGELEFT, 0),
                   reinterpret_cast<LPARAM>(app->Panel().Child(MenuForm::IdScrPlayerTrans)));
    EXPECT_EQ(app->PanelControls().ScrPlayerTrans.Value(), 128);
    EXPECT_TRUE(::GetWindowLongW(body, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(alphaOf(body), 128);
    EXPECT_EQ(alphaOf(skin), 100);  // the other window as it was

    app->PanelControls().ScrPlayerTrans.SetValue(255);
    EXPECT_TRUE(::GetWindowLongW(body, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(alphaOf(body), 255);
    app->PanelControls().ScrPlayerTrans.SetValue(0);
    EXPECT_EQ(alphaOf(body), 0);
    EXPECT_TRUE(::IsWindow(body));
}

TEST_F(PanelTest, SkinChangeWhilePlayingReshapesReplacesAndModifiesTheIcon) {
    auto app = Start();
    app->PlayFile((MediaDir() / L"silence_185.mp3").wstring());
    ASSERT_TRUE(WaitUntil([&] { return app->BodyControls().ScrTime.Max() > 0; }, 5s, true));
    app->PanelControls().ScrSkinTrans.SetValue(200);
    const RECT before = Rect(app->Skin().Handle());

    {
        BoxAnswerer yes(IDYES);
        app->Panel().ConfirmAndChangeSkin(L"Ember");
        ASSERT_EQ(yes.Count(), 1);
        EXPECT_EQ(yes.titles[0], L"スキンファイルの変更確認");
        // The box's text line (its icon slot is an empty static).
        EXPECT_NE(yes.texts[0].find(L"\nEmber 適用しますか？\n"), std::wstring::npos) << Printable(yes.texts[0]);
    }
    EXPECT_EQ(app->Vars().SkinName, L"Ember");
    EXPECT_TRUE(app->TrayIconModified());
    SkinLayout layout;
    ASSERT_FALSE(ReadSkinLayout(dir.path() / L"parts" / L"Ember" / L"define.ini", layout));
    const RECT s = Rect(app->Skin().Handle());
    EXPECT_EQ(s.left, before.left);
    EXPECT_EQ(s.top, before.top);
    EXPECT_EQ(s.right - s.left, layout.ScanWidth());
    EXPECT_EQ(s.bottom - s.top, layout.ScanHeight());
    HRGN region = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(::GetWindowRgn(app->Skin().Handle(), region), COMPLEXREGION);
    RECT box{};
    ::GetRgnBox(region, &box);
    ::DeleteObject(region);
    EXPECT_LE(box.right, layout.ScanWidth());
    EXPECT_LE(box.bottom, layout.ScanHeight());
    const RECT p = Rect(app->Body().Handle());
    EXPECT_EQ(p.left, s.left - 96 + layout.playerOffsetX);
    EXPECT_EQ(p.top, s.bottom - 83 + layout.playerOffsetY);
    // Translucency, playback and the skin list go on.
    BYTE alpha = 0;
    ::GetLayeredWindowAttributes(app->Skin().Handle(), nullptr, &alpha, nullptr);
    EXPECT_EQ(alpha, 200);
    EXPECT_TRUE(app->PanelControls().LstSkinFile.Enabled());
    EXPECT_EQ(app->PanelControls().LstSkinFile.Items(), (std::vector<std::wstring>{L"Azure", L"Ember"}));
    const int position = app->BodyControls().ScrTime.Value();
    EXPECT_TRUE(WaitUntil([&] { return app->BodyControls().ScrTime.Value() > position; }, 4s, true));
    EXPECT_FALSE(app->PanelControls().LblMediaName.Caption().empty());

    // "No" changes nothing.
    {
        BoxAnswerer no(IDNO);
        app->Panel().ConfirmAndChangeSkin(L"Azure");
        EXPECT_EQ(no.Count(), 1);
    }
    EXPECT_EQ(app->Vars().SkinName, L"Ember");
}

TEST_F(PanelTest, BrokenOrVanishedSkinKeepsTheCurrentSkinAndNamesTheFile) {
    auto app = Start();
    fs::copy(dir.path() / L"parts" / L"Ember", dir.path() / L"parts" / L"Broken", fs::copy_options::recursive);
    fs::remove(dir.path() / L"parts" / L"Broken" / L"p_mask.bmp");
    const RECT before = Rect(app->Skin().Handle());
    {
        BoxAnswerer yes(IDYES);  // the question, then the report
        app->Panel().ConfirmAndChangeSkin(L"Broken");
        ASSERT_EQ(yes.Count(), 2);
        EXPECT_NE(yes.texts[1].find(L"p_mask.bmp"), std::wstring::npos) << Printable(yes.texts[1]);
    }
    EXPECT_EQ(app->Vars().SkinName, L"Azure");
    EXPECT_NE(app->Vars().PlayerMaskPath.find(L"Azure"), std::wstring::npos);
    const RECT after = Rect(app->Skin().Handle());
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    // A mask cut short (the system's loader would read past its end): the same.
    fs::copy(dir.path() / L"parts" / L"Ember", dir.path() / L"parts" / L"Cut", fs::copy_options::recursive);
    fs::resize_file(dir.path() / L"parts" / L"Cut" / L"s_mask.bmp", 100);
    {
        BoxAnswerer yes(IDYES);
        app->Panel().ConfirmAndChangeSkin(L"Cut");
        ASSERT_EQ(yes.Count(), 2);
        EXPECT_NE(yes.texts[1].find(L"s_mask.bmp"), std::wstring::npos) << Printable(yes.texts[1]);
    }
    EXPECT_EQ(app->Vars().SkinName, L"Azure");
    fs::remove_all(dir.path() / L"parts" / L"Cut");
    // A broken skin named like a folder on the way to the skins ("parts" is one) keeps
    // no name either: the settings would name it and the next start would fail.
    fs::create_directories(dir.path() / L"parts" / L"parts");
    {
        BoxAnswerer yes(IDYES);
        app->Panel().ConfirmAndChangeSkin(L"parts");
        ASSERT_EQ(yes.Count(), 2);
        EXPECT_NE(yes.texts[1].find(menu_texts::kSkinUnusable), std::wstring::npos) << Printable(yes.texts[1]);
    }
    EXPECT_EQ(app->Vars().SkinName, L"Azure");
    fs::remove_all(dir.path() / L"parts" / L"parts");

    // A listed skin whose folder went: "スキン変更" says so and the entry disappears.
    app->Panel().SkinMenuUpdate_Click();
    auto& list = app->PanelControls().LstSkinFile;
    ASSERT_EQ(list.Items(), (std::vector<std::wstring>{L"Azure", L"Broken", L"Ember"}));
    fs::remove_all(dir.path() / L"parts" / L"Broken");
    list.SetListIndex(1);
    {
        BoxAnswerer ok(IDOK);
        app->Panel().SkinMenuChangeSkin_Click();
        ASSERT_EQ(ok.Count(), 1);
        EXPECT_EQ(ok.titles[0], L"読込エラー");
        EXPECT_NE(ok.texts[0].find(L"\nスキンが存在しません\n"), std::wstring::npos) << Printable(ok.texts[0]);
    }
    EXPECT_EQ(list.Items(), (std::vector<std::wstring>{L"Azure", L"Ember"}));
    EXPECT_EQ(app->Vars().SkinName, L"Azure");
    // Nothing selected: nothing happens, no box.
    BoxAnswerer none(IDNO);
    app->Panel().SkinMenuChangeSkin_Click();
    EXPECT_EQ(none.Count(), 0);
}

// "é" is not in code page 932, the settings file's code page. A skin folder and a list
// file named with it are chosen, saved and found again by the next start.
TEST_F(PanelTest, NamesOutsideTheSettingsCodePageSurviveASaveAndARestart) {
    auto app = Start();
    const fs::path skin = dir.path() / L"parts" / L"Café";
    fs::copy(dir.path() / L"parts" / L"Ember", skin, fs::copy_options::recursive);
    const fs::path lists = dir.path() / L"Listes à jouer";
    fs::create_directories(lists);
    const fs::path list = lists / L"Café.m3u";
    const std::wstring media = (MediaDir() / L"tone_440.mp3").wstring();
    WriteLines(list, {media, (MediaDir() / L"chord_c.mp3").wstring()});
    {
        // The skin question; no other box may come, the open dialog is the user's.
        BoxAnswerer yes(IDYES, menu_texts::kListFileDialogTitle);
        app->Panel().ConfirmAndChangeSkin(L"Café");
        std::thread user([&] {
            if (HWND dialog = WaitForDialog(menu_texts::kListFileDialogTitle, 20s)) EnterFileName(dialog, list.wstring());
        });
        app->Panel().ChooseListFile();
        user.join();
        EXPECT_EQ(yes.Count(), 1) << (yes.Count() > 1 ? Printable(yes.titles[1] + L"/" + yes.texts[1]) : "");
    }
    ASSERT_EQ(app->Vars().SkinName, L"Café");
    ASSERT_EQ(app->PanelControls().LblM3uName.Caption(), list.wstring());
    app->Shutdown();
    app.reset();

    const std::vector<std::wstring> saved = ReadLines(dir.path() / L"Setting" / L"init.ini");
    ASSERT_EQ(saved.size(), 14u);
    for (const std::wstring* line : {&saved[0], &saved[9]}) {
        EXPECT_EQ(line->find(L'?'), std::wstring::npos) << Printable(*line);
        EXPECT_FALSE(line->empty());
    }
    // The next start takes the same skin and the same list.
    reports.clear();
    StartOptions o = InProcessOptions(dir.path(), L"TesselPlayerPanelTest", &reports, L"/play");
    o.instanceName = instance + L".again";
    auto again = std::make_unique<PlayerApp>(std::move(o));
    ASSERT_TRUE(again->StartUp()) << (reports.empty() ? "" : Printable(reports[0]));
    EXPECT_TRUE(reports.empty());
    const RECT s = Rect(again->Skin().Handle());
    SkinLayout layout;
    ASSERT_FALSE(ReadSkinLayout(skin / L"define.ini", layout));
    EXPECT_EQ(s.right - s.left, layout.ScanWidth());
    EXPECT_EQ(again->PanelControls().LblMediaName.Caption(), media);
    EXPECT_EQ(again->PanelControls().LstM3u.ListCount(), 1u);
    again->Device()->Command(MediaCommand::Stop);
    again->Device()->Command(MediaCommand::Close);
}

// The real list box shows the skins in the skin list's own order, letter case ignored
// (plain code order would put every capital first: Azure, Delta, Ember, alpha, beta).
TEST_F(PanelTest, TheSkinListShowsMixedCaseNamesInOneOrder) {
    auto app = Start();
    for (const wchar_t* name : {L"beta", L"Delta", L"alpha"}) fs::create_directories(dir.path() / L"parts" / name);
    app->Panel().SkinMenuUpdate_Click();
    HWND list = app->Panel().Child(MenuForm::IdLstSkinFile);
    std::vector<std::wstring> shown;
    for (LRESULT i = 0, n = ::SendMessageW(list, LB_GETCOUNT, 0, 0); i < n; ++i) {
        wchar_t text[64] = {};
        ::SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        shown.push_back(text);
    }
    EXPECT_EQ(shown, (std::vector<std::wstring>{L"alpha", L"Azure", L"beta", L"Delta", L"Ember"}));
}

TEST_F(PanelTest, FavouritesComeFromTheFolderAndRefreshPicksUpANewFile) {
    const fs::path media = MediaDir() / L"tone_440.mp3";
    fs::create_directories(dir.path() / L"fav");
    WriteLines(dir.path() / L"fav" / L"a.m3u", {media.wstring(), L"C:\\missing.mp3"});
    auto app = Start();
    HMENU fav = ::GetSubMenu(app->Panel().RootMenu(), 4);
    ASSERT_NE(fav, nullptr);
    ASSERT_EQ(::GetMenuItemCount(fav), 2);
    EXPECT_EQ(::GetMenuState(fav, 0, MF_BYPOSITION) & MF_GRAYED, 0u);

    WriteLines(dir.path() / L"fav" / L"b.txt", {});
    Command(*app, MenuForm::IdMenuFavListFirst);
    EXPECT_EQ(::GetMenuItemCount(fav), 3);
    Command(*app, MenuForm::IdMenuFavListFirst);  // twice: still the same items
    ASSERT_EQ(::GetMenuItemCount(fav), 3);

    // Pick a.m3u: it becomes the list file and fills the queue with its existing entries.
    int pick = -1;
    for (int i = 1; i < 3; ++i) {
        wchar_t caption[64] = {};
        ::GetMenuStringW(fav, i, caption, 64, MF_BYPOSITION);
        if (std::wstring(caption) == L"a.m3u") pick = static_cast<int>(::GetMenuItemID(fav, i));
    }
    ASSERT_NE(pick, -1);
    ::SendMessageW(app->Panel().Handle(), WM_COMMAND, MAKEWPARAM(pick, 0), 0);
    EXPECT_EQ(app->PanelControls().LblM3uName.Caption(), (dir.path() / L"fav" / L"a.m3u").wstring());
    EXPECT_EQ(app->PanelControls().LstM3u.Items(), (std::vector<std::wstring>{media.wstring()}));
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"1");

    // A favourite deleted after the build: nothing happens.
    fs::remove(dir.path() / L"fav" / L"a.m3u");
    app->PanelControls().LblM3uName.SetCaption(L"");
    ::SendMessageW(app->Panel().Handle(), WM_COMMAND, MAKEWPARAM(pick, 0), 0);
    EXPECT_EQ(app->PanelControls().LblM3uName.Caption(), L"");
}

TEST_F(PanelTest, ListCommandsCopyDeleteClearAndReload) {
    auto app = Start();
    auto& list = app->PanelControls().LstM3u;
    for (const wchar_t* item : {L"a", L"b", L"c"}) list.AddItem(item);
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    // The real list box follows the object.
    HWND box = app->Panel().Child(MenuForm::IdLstM3u);
    EXPECT_EQ(::SendMessageW(box, LB_GETSELCOUNT, 0, 0), 2);
    app->Panel().FLMenuCopy_Click();
    EXPECT_EQ(ClipboardText(), L"a\r\nc\r\n");

    app->Panel().FLMenuDelete_Click();
    EXPECT_EQ(list.Items(), (std::vector<std::wstring>{L"b"}));
    EXPECT_EQ(::SendMessageW(box, LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"1");

    // Copy with nothing selected leaves the clipboard alone.
    app->Panel().FLMenuCopy_Click();
    EXPECT_EQ(ClipboardText(), L"a\r\nc\r\n");

    const fs::path listFile = dir.path() / L"l.m3u";
    WriteLines(listFile, {(MediaDir() / L"tone_440.mp3").wstring(), (MediaDir() / L"tone_660.wav").wstring()});
    app->PanelControls().LblM3uName.SetCaption(listFile.wstring());
    app->Panel().FLMenuClear_Click();
    EXPECT_EQ(list.ListCount(), 0u);
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"0");
    Command(*app, MenuForm::IdMenuReLoadList);
    EXPECT_EQ(list.ListCount(), 2u);
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"2");

    // The read-out's copy: what is shown, a leading space at rest.
    app->PanelControls().LblScrLstName.SetCaption(L" C:\\x.m3u");
    app->Panel().MLLCopy_Click();
    EXPECT_EQ(ClipboardText(), L" C:\\x.m3u");

    // Panning: 2000 twips to the left, the right edge kept.
    HWND slide = app->Panel().Child(MenuForm::IdScrListSlide);
    RECT rest{};
    ::GetWindowRect(box, &rest);
    ::SendMessageW(app->Panel().Handle(), WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), reinterpret_cast<LPARAM>(slide));
    RECT panned{};
    ::GetWindowRect(box, &panned);
    EXPECT_EQ(panned.right, rest.right);
    EXPECT_NEAR(panned.left, rest.left - 2000 / 15, 1);
    ::SendMessageW(app->Panel().Handle(), WM_HSCROLL, MAKEWPARAM(SB_LEFT, 0), reinterpret_cast<LPARAM>(slide));
    ::GetWindowRect(box, &panned);
    EXPECT_EQ(panned.left, rest.left);
}

// Drops on the queue list: every item is added (one file too: the panel never plays
// a drop), in one batch so a large drop does not redraw the list per item.
TEST_F(PanelTest, DropsOnTheQueueListAreAddedInOneBatch) {
    auto app = Start();
    const fs::path tree = dir.path() / L"drop";
    fs::create_directories(tree / L"sub");
    for (const auto& f : {L"a.mp3", L"b.mp3", L"sub\\c.mp3"}) WriteSilentWav(tree / f, 100);
    ListBox& queue = app->PanelControls().LstM3u;
    std::vector<ControlChange> seen;
    const Control::ViewFn real = queue.view;
    queue.view = [&](ControlChange change, std::size_t index) {
        seen.push_back(change);
        real(change, index);
    };
    HWND list = app->Panel().Child(MenuForm::IdLstM3u);
    SendDrop(list, {(tree / L"a.mp3").wstring()});
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModeNotOpen);
    SendDrop(list, {tree.wstring(), L"C:\\gone\\nowhere.mp3"});
    queue.view = real;
    const std::wstring a = (tree / L"a.mp3").wstring();
    EXPECT_EQ(queue.Items(), (std::vector<std::wstring>{a, a, (tree / L"b.mp3").wstring(),
                                                        (tree / L"sub\\c.mp3").wstring()}));
    EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"4");
    // Each drop: the batch opens before its first item and closes after its last.
    const std::vector<ControlChange> one{ControlChange::BatchBegin, ControlChange::ItemAdded,
                                         ControlChange::BatchEnd};
    ASSERT_EQ(seen.size(), 3u + 5u);
    EXPECT_EQ(std::vector<ControlChange>(seen.begin(), seen.begin() + 3), one);
    EXPECT_EQ(seen[3], ControlChange::BatchBegin);
    EXPECT_EQ(seen.back(), ControlChange::BatchEnd);
    // The list keeps its tool tip without the tip window subclassing it (which made a
    // drop of 30,000 files take six times as long as listing them).
    HWND tip = ::FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
    bool found = false;
    for (; tip; tip = ::FindWindowExW(nullptr, tip, TOOLTIPS_CLASSW, nullptr)) {
        wchar_t text[128] = {};
        TOOLINFOW info{};
        info.cbSize = sizeof info;
        info.hwnd = app->Panel().Handle();
        info.uId = reinterpret_cast<UINT_PTR>(list);
        info.lpszText = text;
        if (!::SendMessageW(tip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info))) continue;
        found = true;
        EXPECT_EQ(info.uFlags & TTF_SUBCLASS, 0u);
        EXPECT_STREQ(text, L"現在再生中のリスト");
    }
    EXPECT_TRUE(found);
}

TEST_F(PanelTest, ClipboardHeldByAnotherThreadIsWaitedForBrieflyThenGivenUp) {
    auto app = Start();
    HWND owner = app->Panel().Handle();
    ASSERT_TRUE(win32::PutClipboardText(owner, L"before"));
    std::atomic<bool> opened{false}, release{false};
    std::thread holder([&] {
        if (::OpenClipboard(nullptr)) {
            opened = true;
            while (!release) ::Sleep(5);
            ::CloseClipboard();
        }
    });
    ASSERT_TRUE(WaitUntil([&] { return opened.load(); }, 2s));
    const DWORD start = ::GetTickCount();
    EXPECT_FALSE(win32::PutClipboardText(owner, L"after"));
    EXPECT_LT(::GetTickCount() - start, 2000u);
    // The panel's copy command says that its copy is lost.
    app->PanelControls().LstM3u.AddItem(L"C:\\a.mp3");
    app->PanelControls().LstM3u.SetSelected(0, true);
    {
        BoxAnswerer ok(IDOK);
        Command(*app, MenuForm::IdFLMenuCopy);
        ASSERT_TRUE(WaitUntil([&] { return ok.Count() > 0; }, 3s, true));
        EXPECT_NE(ok.texts.at(0).find(menu_texts::kClipboardBusy), std::wstring::npos) << Printable(ok.texts.at(0));
    }
    release = true;
    holder.join();
    EXPECT_EQ(ClipboardText(), L"before");

    // A short hold is waited out.
    opened = false;
    release = false;
    std::thread brief([&] {
        if (::OpenClipboard(nullptr)) {
            opened = true;
            ::Sleep(80);
            ::CloseClipboard();
        }
    });
    ASSERT_TRUE(WaitUntil([&] { return opened.load(); }, 2s));
    EXPECT_TRUE(win32::PutClipboardText(owner, L"after"));
    brief.join();
    EXPECT_EQ(ClipboardText(), L"after");
}

TEST_F(PanelTest, Move00PutsTheWindowsAtTheScreensCornerAndGivesTheSkinWindowTheKeys) {
    auto app = Start();
    // Pressed in the shown panel, which is the active window then.
    app->Panel().SetPanelVisible(true);
    ::SetActiveWindow(app->Panel().Handle());
    ASSERT_EQ(::GetActiveWindow(), app->Panel().Handle());
    Command(*app, MenuForm::IdCmdMove00, BN_CLICKED);
    EXPECT_EQ(::GetActiveWindow(), app->Skin().Handle());
    EXPECT_EQ(::GetFocus(), app->Skin().Handle());
    const RECT s = Rect(app->Skin().Handle());
    const RECT p = Rect(app->Body().Handle());
    SkinLayout layout;
    ASSERT_FALSE(ReadSkinLayout(dir.path() / L"parts" / L"Azure" / L"define.ini", layout));
    EXPECT_EQ(s.left, 96);
    EXPECT_EQ(p.left, layout.playerOffsetX);
    EXPECT_EQ(std::min(s.top, p.top - layout.playerOffsetY), 0);
    EXPECT_EQ(p.bottom - layout.playerOffsetY, s.bottom);
    // Hidden windows are only placed: nothing shows, the panel keeps the keys.
    app->PanelControls().ChkHide.SetValue(1);
    ::SetActiveWindow(app->Panel().Handle());
    Command(*app, MenuForm::IdCmdMove00, BN_CLICKED);
    EXPECT_FALSE(::IsWindowVisible(app->Skin().Handle()));
    EXPECT_EQ(::GetActiveWindow(), app->Panel().Handle());
}

TEST_F(PanelTest, ShellRestartAddsTheIconAgain) {
    auto app = Start();
    ASSERT_TRUE(app->TrayIconAdded());
    NOTIFYICONDATAW gone{};
    gone.cbSize = sizeof gone;
    gone.hWnd = app->Panel().Handle();
    gone.uID = kTrayIconId;
    ASSERT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &gone));  // what a shell restart does
    ::SendMessageW(app->Panel().Handle(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(app->TrayIconAdded());
    // The icon exists again: it can be deleted once more.
    EXPECT_TRUE(::Shell_NotifyIconW(NIM_DELETE, &gone));
    ::Shell_NotifyIconW(NIM_ADD, &gone);
}

TEST_F(PanelTest, EditorStartsAsASecondProcessFoundByItsTitle) {
    auto app = Start();
    // Without the editor nothing is shown and nothing starts.
    {
        BoxAnswerer any(IDOK);
        Command(*app, MenuForm::IdCmdExecEdit, BN_CLICKED);
        ::Sleep(300);
        EXPECT_EQ(any.Count(), 0);
    }
    fs::create_directories(dir.path() / L"exec");
    fs::copy(DistDir() / L"exec", dir.path() / L"exec",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    Command(*app, MenuForm::IdCmdExecEdit, BN_CLICKED);
    HWND editor = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (editor = ::FindWindowW(nullptr, L"Quillow")) != nullptr; }, 15s, true));
    DWORD pid = 0;
    ::GetWindowThreadProcessId(editor, &pid);
    EXPECT_NE(pid, ::GetCurrentProcessId());
    HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
    ASSERT_NE(process, nullptr);
    ::PostMessageW(editor, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process, 1);
        ADD_FAILURE() << "the editor did not close";
    }
    ::CloseHandle(process);
}

}  // namespace
}  // namespace tessel::player::test
