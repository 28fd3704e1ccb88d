// The control panel of the program in this process, under Wine: hiding and showing
// through the check box, the icon and the menu; translucency read back from the real
// windows; the run-time skin change with playback running; favourites from a real
// folder; the list commands and the clipboard. The panel's rules are tested natively
// (panel_logic_test); here, their wiring to the real windows.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/fileio.h"
#include "player/shared/texts.h"
#include "player/skin/skin_layout.h"
#include "tests/support/in_process_player.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;
using player::MenuForm;
namespace menu_texts = player::menu_texts;

class PanelTest : public InProcessPlayer {
protected:
    void SetUp() override { UseShippedSkins(); }
    player::SkinLayout Layout(const wchar_t* skin) const {
        player::SkinLayout layout;
        EXPECT_FALSE(player::ReadSkinLayout(dir / L"parts" / skin / L"define.ini", layout));
        return layout;
    }
};

TEST_F(PanelTest, CheckBoxIconAndMenuHideAndShowTheTwoWindowsButNotThePanelAndTheIconComesBack) {
    Start();
    HWND body = app->Body().Handle(), skin = app->Skin().Handle(), panel = app->Panel().Handle();
    app->Panel().SetPanelVisible(true);
    ASSERT_TRUE(::IsWindowVisible(skin));
    // A real mouse move over the panel whose x happens to be 514 is no click.
    ::SendMessageW(panel, WM_MOUSEMOVE, 0, MAKELPARAM(514, 3));
    EXPECT_EQ(app->PanelControls().ChkHide.Value(), 0);

    Command(MenuForm::IdChkHide, BN_CLICKED);
    EXPECT_EQ(app->PanelControls().ChkHide.Value(), 1);
    EXPECT_FALSE(::IsWindowVisible(body));
    EXPECT_FALSE(::IsWindowVisible(skin));
    EXPECT_TRUE(::IsWindowVisible(panel));

    // The icon: a left-button release toggles, presses and moves do nothing.
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN})
        ::SendMessageW(panel, player::kTrayCallbackMessage, player::kTrayIconId, message);
    EXPECT_FALSE(::IsWindowVisible(skin));
    ::SendMessageW(panel, player::kTrayCallbackMessage, player::kTrayIconId, WM_LBUTTONUP);
    EXPECT_EQ(app->PanelControls().ChkHide.Value(), 0);
    EXPECT_EQ(::SendMessageW(app->Panel().Child(MenuForm::IdChkHide), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_TRUE(::IsWindowVisible(body));
    EXPECT_TRUE(::IsWindowVisible(skin));

    Command(MenuForm::IdMenuShowMain);
    EXPECT_EQ(app->PanelControls().ChkHide.Value(), 1);
    EXPECT_FALSE(::IsWindowVisible(skin));

    Command(MenuForm::IdMenuShowSetting);
    EXPECT_FALSE(::IsWindowVisible(panel));
    Command(MenuForm::IdMenuShowSetting);
    EXPECT_TRUE(::IsWindowVisible(panel));
    Command(MenuForm::IdCmdHide, BN_CLICKED);
    EXPECT_FALSE(::IsWindowVisible(panel));
    // Closing through the title bar only hides the panel.
    Command(MenuForm::IdMenuShowSetting);
    ::SendMessageW(panel, WM_CLOSE, 0, 0);
    EXPECT_TRUE(::IsWindow(panel));
    EXPECT_FALSE(::IsWindowVisible(panel));
    // A fixed border without a minimise box. Minimised all the same, the panel counts
    // as not shown: the skin window's double click brings it back.
    EXPECT_FALSE(::GetWindowLongW(panel, GWL_STYLE) & WS_MINIMIZEBOX);
    Command(MenuForm::IdMenuShowSetting);
    ::ShowWindow(panel, SW_MINIMIZE);
    ::SendMessageW(skin, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_TRUE(::IsWindowVisible(panel));
    EXPECT_FALSE(::IsIconic(panel));

    // A shell restart (which deletes the icon) adds it again: it can be deleted once more.
    ASSERT_TRUE(app->TrayIconAdded());
    ASSERT_TRUE(NotifyTrayIcon(NIM_DELETE, panel));
    ::SendMessageW(panel, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    EXPECT_TRUE(app->TrayIconAdded());
    EXPECT_TRUE(NotifyTrayIcon(NIM_DELETE, panel));
    NotifyTrayIcon(NIM_ADD, panel);
    // Without the editor beside it nothing is shown and nothing starts (a box would
    // fail the test); the editor started from the panel is the download's test.
    Command(MenuForm::IdCmdExecEdit, BN_CLICKED);
    Pump(300ms);
    EXPECT_EQ(::FindWindowW(nullptr, L"Quillow"), nullptr);
}

TEST_F(PanelTest, SlidersMakeEachWindowLayeredAndASkinChangeWhilePlayingKeepsThatReshapesAndReplacesTheIcon) {
    folder.settings->at(7) = L"100";  // skin window, restored at start-up
    Start();
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
    EXPECT_EQ(alphaOf(skin), 100);
    // 255 restored: nothing applied, the body window is no layered window.
    EXPECT_FALSE(::GetWindowLongW(body, GWL_EXSTYLE) & WS_EX_LAYERED);

    // The slider as the user moves it: a page click.
    app->PanelControls().ScrPlayerTrans.SetValue(138);
    ::SendMessageW(app->Panel().Handle(), WM_HSCROLL, MAKEWPARAM(SB_PAGELEFT, 0),
                   reinterpret_cast<LPARAM>(app->Panel().Child(MenuForm::IdScrPlayerTrans)));
    EXPECT_EQ(app->PanelControls().ScrPlayerTrans.Value(), 128);
    EXPECT_EQ(alphaOf(body), 128);
    EXPECT_EQ(alphaOf(skin), 100);  // the other window as it was
    app->PanelControls().ScrPlayerTrans.SetValue(255);
    EXPECT_TRUE(::GetWindowLongW(body, GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(alphaOf(body), 255);
    app->PanelControls().ScrPlayerTrans.SetValue(0);
    EXPECT_EQ(alphaOf(body), 0);

    // A skin change while playing reshapes, replaces the icon and keeps the translucency.
    app->PlayFile(Media(L"silence_185.mp3"));
    ASSERT_TRUE(WaitUntil([&] { return app->BodyControls().ScrTime.Max() > 0; }, 5s));
    app->PanelControls().ScrSkinTrans.SetValue(200);
    const RECT before = Rect(app->Skin().Handle());
    const HWND panel = app->Panel().Handle();
    const auto panelIcon = [&] { return ::SendMessageW(panel, WM_GETICON, ICON_SMALL, 0); };
    const LRESULT iconBefore = panelIcon();
    ASSERT_NE(iconBefore, 0);

    boxes.Expect(menu_texts::kSkinConfirmTitle, IDYES);
    app->Panel().ConfirmAndChangeSkin(L"Ember");
    auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Ember 適用しますか？");
    EXPECT_EQ(app->Vars().SkinName, L"Ember");
    // The new skin's picture (the panel shows the tray icon's), and the icon is still
    // in the notification area.
    EXPECT_NE(panelIcon(), 0);
    EXPECT_NE(panelIcon(), iconBefore);
    EXPECT_TRUE(NotifyTrayIcon(NIM_MODIFY, panel));
    const player::SkinLayout layout = Layout(L"Ember");
    const RECT s = Rect(app->Skin().Handle());
    EXPECT_NE(s.right - s.left, before.right - before.left) << "the shipped skins must differ in size";
    EXPECT_EQ(s.left, before.left);
    EXPECT_EQ(s.top, before.top);
    EXPECT_EQ(s.right - s.left, layout.ScanWidth());
    EXPECT_EQ(s.bottom - s.top, layout.ScanHeight());
    const RECT p = Rect(app->Body().Handle());
    EXPECT_EQ(p.left, s.left - 96 + layout.playerOffsetX);
    EXPECT_EQ(alphaOf(app->Skin().Handle()), 200);
    EXPECT_TRUE(app->PanelControls().LstSkinFile.Enabled());
    const int position = app->BodyControls().ScrTime.Value();
    EXPECT_TRUE(WaitUntil([&] { return app->BodyControls().ScrTime.Value() > position; }, 4s));

    boxes.Expect(menu_texts::kSkinConfirmTitle, IDNO);
    app->Panel().ConfirmAndChangeSkin(L"Azure");
    EXPECT_EQ(boxes.TakeSeen().size(), 1u);
    EXPECT_EQ(app->Vars().SkinName, L"Ember");
}

TEST_F(PanelTest, BrokenOrVanishedSkinKeepsTheCurrentSkinAndNamesTheFile) {
    Start();
    const fs::path parts = dir / L"parts";
    const RECT before = Rect(app->Skin().Handle());
    // A picture missing; a broken skin named like a folder on the way to the skins
    // ("parts" is one), which the settings would name and the next start fail on.
    fs::copy(parts / L"Ember", parts / L"Broken", fs::copy_options::recursive);
    fs::remove(parts / L"Broken" / L"p_mask.bmp");
    fs::create_directories(parts / L"parts");
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {{L"Broken", L"p_mask.bmp"},
                                                               {L"parts", menu_texts::kSkinUnusable}};
    for (const auto& [name, named] : cases) {
        boxes.Expect(menu_texts::kSkinConfirmTitle, IDYES);  // the question, then the report
        boxes.Expect(L"", IDOK);
        app->Panel().ConfirmAndChangeSkin(name);
        const auto seen = boxes.TakeSeen();
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_NE(seen[1].text.find(named), std::wstring::npos) << Printable(seen[1].text);
        EXPECT_EQ(app->Vars().SkinName, L"Azure");
    }
    EXPECT_NE(app->Vars().PlayerMaskPath.find(L"Azure"), std::wstring::npos);
    const RECT after = Rect(app->Skin().Handle());
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    fs::remove_all(parts / L"parts");

    // The real list box shows the skins in the skin list's own order, letter case
    // ignored (plain code order would put every capital first).
    fs::create_directories(parts / L"beta");
    app->Panel().SkinMenuUpdate_Click();
    EXPECT_EQ(ListBoxItems(app->Panel().Child(MenuForm::IdLstSkinFile)),
              (std::vector<std::wstring>{L"Azure", L"beta", L"Broken", L"Ember"}));
    // A listed skin whose folder went: "スキン変更" says so and the entry disappears.
    fs::remove_all(parts / L"Broken");
    app->PanelControls().LstSkinFile.SetListIndex(2);
    boxes.Expect(menu_texts::kSkinMissingTitle, IDOK);
    app->Panel().SkinMenuChangeSkin_Click();
    const auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, menu_texts::kSkinMissing);
    EXPECT_EQ(app->PanelControls().LstSkinFile.Items(), (std::vector<std::wstring>{L"Azure", L"beta", L"Ember"}));
    EXPECT_EQ(app->Vars().SkinName, L"Azure");
    // Nothing selected: nothing happens, no box (Stop fails on one).
    app->Panel().SkinMenuChangeSkin_Click();
}

// Files of the skins removed while the skin window takes the new skin's size: after the
// check, before the pictures are read, as if they went between the two.
std::vector<fs::path> filesToLose;
WNDPROC skinWindowProc = nullptr;
LRESULT CALLBACK LosingFilesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGED) {
        for (const fs::path& file : filesToLose) fs::remove(file);
        filesToLose.clear();
    }
    return ::CallWindowProcW(skinWindowProc, window, message, wParam, lParam);
}

// A skin that fails half-way through the change: the skin in use goes back on; when its
// files went too, the box says that neither skin could be put on, with both reasons.
TEST_F(PanelTest, ASkinFailingHalfWayPutsTheOldOneBackOrSaysItCannot) {
    Start();
    HWND skin = app->Skin().Handle();
    const RECT before = Rect(skin);
    const fs::path parts = dir / L"parts";
    skinWindowProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(skin, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LosingFilesProc)));
    for (int lose = 0; lose < 2; ++lose) {
        SCOPED_TRACE(lose);
        fs::copy_file(DistDir() / L"parts" / L"Ember" / L"player.bmp", parts / L"Ember" / L"player.bmp",
                      fs::copy_options::overwrite_existing);
        filesToLose = {parts / L"Ember" / L"player.bmp"};
        if (lose) filesToLose.push_back(parts / L"Azure" / L"p_mask.bmp");
        boxes.Expect(menu_texts::kSkinConfirmTitle, IDYES);
        boxes.Expect(menu_texts::kSkinMissingTitle, IDOK);
        app->Panel().ConfirmAndChangeSkin(L"Ember");
        const auto seen = boxes.TakeSeen();
        ASSERT_EQ(seen.size(), 2u);
        const std::wstring& text = seen[1].text;
        EXPECT_NE(text.find(L"player.bmp"), std::wstring::npos) << Printable(text);
        EXPECT_EQ(text.find(menu_texts::kSkinRestoreFailed) != std::wstring::npos, lose == 1) << Printable(text);
        EXPECT_EQ(text.find(L"p_mask.bmp") != std::wstring::npos, lose == 1) << Printable(text);
        EXPECT_EQ(app->Vars().SkinName, L"Azure");
        if (!lose) {
            EXPECT_EQ(Rect(skin).right, before.right);
        }
    }
    ::SetWindowLongPtrW(skin, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(skinWindowProc));
}

// "é" is not in code page 932, the settings file's code page. A skin folder and a list
// file named with it are chosen, saved and found again by the next start.
TEST_F(PanelTest, NamesOutsideTheSettingsCodePageSurviveASaveAndARestart) {
    Start();
    const fs::path skin = dir / L"parts" / L"Café";
    fs::copy(dir / L"parts" / L"Ember", skin, fs::copy_options::recursive);
    const fs::path list = dir / L"Listes à jouer" / L"Café.m3u";
    fs::create_directories(list.parent_path());
    WriteLines(list, {Media(L"tone_440.mp3"), Media(L"chord_c.mp3")});
    boxes.Expect(menu_texts::kSkinConfirmTitle, IDYES);
    boxes.Expect(menu_texts::kListFileDialogTitle, IDOK, list.wstring());
    app->Panel().ConfirmAndChangeSkin(L"Café");
    app->Panel().ChooseListFile();
    ASSERT_EQ(app->Vars().SkinName, L"Café");
    ASSERT_EQ(app->PanelControls().LblM3uName.Caption(), list.wstring());
    app->Shutdown();
    Stop();

    const std::vector<std::wstring> saved = ReadLines(SettingsFile());
    ASSERT_EQ(saved.size(), 14u);
    for (const std::wstring* line : {&saved[0], &saved[9]}) {
        EXPECT_EQ(line->find(L'?'), std::wstring::npos) << Printable(*line);
        EXPECT_FALSE(line->empty());
    }
    app = Launch(L"/play");
    ASSERT_TRUE(app->StartUp()) << (reports.empty() ? "" : Printable(reports[0]));
    EXPECT_EQ(Rect(app->Skin().Handle()).right - Rect(app->Skin().Handle()).left, Layout(L"Café").ScanWidth());
    EXPECT_EQ(app->PanelControls().LblMediaName.Caption(), Media(L"tone_440.mp3"));
    EXPECT_EQ(app->PanelControls().LstM3u.ListCount(), 1u);
}

// Favourites: the folder's files (not its folders, nor what a killed save of one left)
// under "更新する", which reads the folder again; a pick loads the list (a favourite
// deleted since: panel_logic_test); a missing folder is made.
TEST_F(PanelTest, FavouritesComeFromTheFolderAndRefreshPicksUpANewFile) {
    MakeProgramFolder(dir.path(), folder);
    WriteLines(dir / L"fav" / L"a.m3u", {Media(L"tone_440.mp3"), L"C:\\missing.mp3"});
    fs::create_directories(dir / L"fav" / L"folder");
    WriteLines(dir / L"fav" / TemporaryFileName(L"a.m3u", 4242, 0), {});
    Start();
    HMENU fav = ::GetSubMenu(app->Panel().RootMenu(), 4);
    ASSERT_EQ(::GetMenuItemCount(fav), 2);
    wchar_t caption[64] = {};
    ::GetMenuStringW(fav, 0, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"更新する");
    EXPECT_EQ(::GetMenuState(fav, 0, MF_BYPOSITION) & MF_GRAYED, 0u);

    WriteLines(dir / L"fav" / L"b.txt", {});
    Command(MenuForm::IdMenuFavListFirst);
    EXPECT_EQ(::GetMenuItemCount(fav), 3);
    Command(MenuForm::IdMenuFavListFirst);  // twice: still the same items
    ASSERT_EQ(::GetMenuItemCount(fav), 3);

    int pick = -1;
    for (int i = 1; i < 3; ++i) {
        ::GetMenuStringW(fav, i, caption, 64, MF_BYPOSITION);
        if (std::wstring(caption) == L"a.m3u") pick = static_cast<int>(::GetMenuItemID(fav, i));
    }
    ASSERT_NE(pick, -1);
    ::SendMessageW(app->Panel().Handle(), WM_COMMAND, MAKEWPARAM(pick, 0), 0);
    EXPECT_EQ(app->PanelControls().LblM3uName.Caption(), (dir / L"fav" / L"a.m3u").wstring());
    EXPECT_EQ(app->PanelControls().LstM3u.Items(), std::vector<std::wstring>{Media(L"tone_440.mp3")});

    fs::remove_all(dir / L"fav");
    Command(MenuForm::IdMenuFavListFirst);
    EXPECT_TRUE(fs::is_directory(dir / L"fav"));
    EXPECT_EQ(::GetMenuItemCount(fav), 1);
}

// Ten thousand favourites: the menu is built once at start and once per refresh, not
// again after every item (which took minutes).
TEST_F(PanelTest, TenThousandFavouritesMakeOneMenu) {
    home = FromEnvironmentPath("TESSEL_TEST_FAV_MANY");
    folder.shippedSkins = false;
    Start();
    HMENU fav = ::GetSubMenu(app->Panel().RootMenu(), 4);
    EXPECT_EQ(::GetMenuItemCount(fav), 10001);
    app->Panel().MenuFavList_Click(0);  // "更新する"
    EXPECT_EQ(::GetMenuItemCount(fav), 10001);
}

TEST_F(PanelTest, ListCommandsCopyDeleteClearReloadAndPanAndDropsAreAddedInOneBatch) {
    Start();
    auto& list = app->PanelControls().LstM3u;
    for (const wchar_t* item : {L"a", L"b", L"c"}) list.AddItem(item);
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    HWND box = app->Panel().Child(MenuForm::IdLstM3u);
    EXPECT_EQ(::SendMessageW(box, LB_GETSELCOUNT, 0, 0), 2);
    app->Panel().FLMenuCopy_Click();
    EXPECT_EQ(ReadClipboard(), L"a\r\nc\r\n");
    app->Panel().FLMenuDelete_Click();
    EXPECT_EQ(ListBoxItems(box), std::vector<std::wstring>{L"b"});

    const fs::path listFile = dir / L"l.m3u";
    WriteLines(listFile, {Media(L"tone_440.mp3"), Media(L"tone_660.wav")});
    app->PanelControls().LblM3uName.SetCaption(listFile.wstring());
    app->Panel().FLMenuClear_Click();
    EXPECT_EQ(::SendMessageW(box, LB_GETCOUNT, 0, 0), 0);
    Command(MenuForm::IdMenuReLoadList);
    EXPECT_EQ(::SendMessageW(box, LB_GETCOUNT, 0, 0), 2);

    // The read-out's copy: what is shown, a leading space at rest.
    app->PanelControls().LblScrLstName.SetCaption(L" C:\\x.m3u");
    app->Panel().MLLCopy_Click();
    EXPECT_EQ(ReadClipboard(), L" C:\\x.m3u");

    // A copy that finds the clipboard held too long says that it is lost.
    list.SetSelected(0, true);
    boxes.Expect(L"", IDOK);
    {
        ClipboardHolder holder(1500ms);
        ASSERT_TRUE(holder.Holds());
        Command(MenuForm::IdFLMenuCopy);
    }
    const auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, WithoutLineBreaks(menu_texts::kClipboardBusy));
    EXPECT_EQ(ReadClipboard(), L" C:\\x.m3u");

    // Panning: 2000 twips to the left, the right edge kept.
    HWND slide = app->Panel().Child(MenuForm::IdScrListSlide);
    const RECT rest = Rect(box);
    ::SendMessageW(app->Panel().Handle(), WM_HSCROLL, MAKEWPARAM(SB_RIGHT, 0), reinterpret_cast<LPARAM>(slide));
    EXPECT_EQ(Rect(box).right, rest.right);
    EXPECT_NEAR(Rect(box).left, rest.left - 2000 / 15, 1);
    ::SendMessageW(app->Panel().Handle(), WM_HSCROLL, MAKEWPARAM(SB_LEFT, 0), reinterpret_cast<LPARAM>(slide));
    EXPECT_EQ(Rect(box).left, rest.left);

    // Drops on the queue list: every item is added (one file too: the panel never plays
    // a drop), in one batch so a large drop does not redraw the list per item.
    list.Clear();
    for (const char* name : {"drop/a.mp3", "drop/b.mp3", "drop/sub/c.mp3"}) dir.Write(name, "x");
    const fs::path tree = dir / L"drop";
    std::vector<player::ControlChange> changes;
    const player::Control::ViewFn real = list.view;
    list.view = [&](player::ControlChange change, std::size_t index) {
        changes.push_back(change);
        real(change, index);
    };
    SendDrop(box, {(tree / L"a.mp3").wstring()});
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModeNotOpen);
    SendDrop(box, {tree.wstring(), L"C:\\gone\\nowhere.mp3"});
    list.view = real;
    const std::wstring a = (tree / L"a.mp3").wstring();
    EXPECT_EQ(ListBoxItems(box),
              (std::vector<std::wstring>{a, a, (tree / L"b.mp3").wstring(), (tree / L"sub\\c.mp3").wstring()}));
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"4");
    // Each drop: the batch opens before its first item and closes after its last.
    using C = player::ControlChange;
    EXPECT_EQ(changes, (std::vector<C>{C::BatchBegin, C::ItemAdded, C::BatchEnd, C::BatchBegin, C::ItemAdded,
                                       C::ItemAdded, C::ItemAdded, C::BatchEnd}));
}

// The selection flags of a list as the panel's model holds them.
std::vector<bool> ListBoxSelection(const player::ListBox& list) {
    std::vector<bool> flags;
    for (std::size_t i = 0; i < list.ListCount(); ++i) flags.push_back(list.Selected(i));
    return flags;
}

// The panel from the keyboard alone, through the message loop as the program runs it.
TEST_F(PanelTest, TabVisitsEveryControlOnceInReadingOrderTheListsFollowTheirCaptionsAndMove00TakesTheKeys) {
    Start();
    HWND panel = app->Panel().Handle();
    // Opened from the icon's menu, the panel has the keys, on its first control.
    Command(MenuForm::IdMenuShowSetting);
    Pump(0ms);
    EXPECT_EQ(::GetActiveWindow(), panel);
    const int order[] = {MenuForm::IdChkRandom,    MenuForm::IdChkEndless,   MenuForm::IdChkHide,
                         MenuForm::IdChkBreak,     MenuForm::IdChkStartPlay, MenuForm::IdScrSkinTrans,
                         MenuForm::IdScrPlayerTrans, MenuForm::IdCmbDispSize, MenuForm::IdLstM3u,
                         MenuForm::IdScrListSlide, MenuForm::IdLstSkinFile,  MenuForm::IdCmdMove00,
                         MenuForm::IdCmdExecEdit,  MenuForm::IdCmdChoice,    MenuForm::IdCmdHide};
    const int n = static_cast<int>(std::size(order));
    auto focused = [&] { return ::GetDlgCtrlID(::GetFocus()); };
    EXPECT_EQ(focused(), order[0]);
    // Two rounds each way: after N presses the control N places on, wrapping round.
    for (int i = 1; i <= 2 * n; ++i) {
        TypeKey(VK_TAB);
        ASSERT_EQ(focused(), order[i % n]) << "after " << i << " Tab";
    }
    for (int i = 1; i <= n; ++i) {
        TypeKey(VK_TAB, true);
        ASSERT_EQ(focused(), order[(n - i) % n]) << "after " << i << " Shift+Tab";
    }
    // Hidden and opened again from the skin window, the panel gives the focus back
    // where it was.
    TypeKey(VK_TAB);
    TypeKey(VK_TAB);
    Command(MenuForm::IdCmdHide, BN_CLICKED);
    // Under Wine the focus change of the hiding comes back through the X server, a
    // little later: only then is the skin window the one the user works in.
    Pump(300ms);
    ::SetActiveWindow(app->Skin().Handle());
    ::SendMessageW(app->Skin().Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 20));
    Pump(0ms);
    EXPECT_EQ(::GetActiveWindow(), panel);
    EXPECT_EQ(focused(), order[2]);

    // Space toggles the check box with the focus, and only that one.
    ::SetFocus(app->Panel().Child(MenuForm::IdChkEndless));
    TypeKey(VK_SPACE);
    EXPECT_EQ(app->PanelControls().ChkEndless.Value(), 1);
    EXPECT_EQ(app->PanelControls().ChkRandom.Value(), 0);
    TypeKey(VK_SPACE);
    EXPECT_EQ(app->PanelControls().ChkEndless.Value(), 0);

    // A screen reader names a list by the caption just before it in the window order.
    const std::pair<int, const wchar_t*> captions[] = {{MenuForm::IdLstM3u, menu_texts::kLabel6},
                                                       {MenuForm::IdLstSkinFile, menu_texts::kLabel3}};
    for (const auto& [id, caption] : captions) {
        HWND label = ::GetWindow(app->Panel().Child(id), GW_HWNDPREV);
        EXPECT_EQ(ClassOf(label), L"Static");
        EXPECT_EQ(WindowText(label), caption);
        EXPECT_TRUE(::IsWindowVisible(label));
    }

    // "Move00" pressed in the shown panel puts the windows at the screen's corner and
    // gives the skin window the keys; hidden windows are only placed, nothing shows and
    // the panel keeps the keys.
    ::SetActiveWindow(panel);
    ASSERT_EQ(::GetActiveWindow(), panel);
    Command(MenuForm::IdCmdMove00, BN_CLICKED);
    EXPECT_EQ(::GetActiveWindow(), app->Skin().Handle());
    EXPECT_EQ(::GetFocus(), app->Skin().Handle());
    const RECT s = Rect(app->Skin().Handle());
    const RECT p = Rect(app->Body().Handle());
    const player::SkinLayout layout = Layout(L"Azure");
    EXPECT_EQ(s.left, 96);
    EXPECT_EQ(p.left, layout.playerOffsetX);
    EXPECT_EQ(std::min(s.top, p.top - layout.playerOffsetY), 0);
    EXPECT_EQ(p.bottom - layout.playerOffsetY, s.bottom);
    app->PanelControls().ChkHide.SetValue(1);
    ::SetActiveWindow(panel);
    Command(MenuForm::IdCmdMove00, BN_CLICKED);
    EXPECT_FALSE(::IsWindowVisible(app->Skin().Handle()));
    EXPECT_EQ(::GetActiveWindow(), panel);
}

TEST_F(PanelTest, ArrowsSelectInTheQueueEnterPlaysTheEntryTheMenuKeysOpenItsMenuAndHighContrastShows) {
    Start();
    app->Panel().SetPanelVisible(true);
    auto& queue = app->PanelControls().LstM3u;
    for (const wchar_t* name : {L"tone_440.mp3", L"tone_660.wav", L"tone_440.mp3"}) queue.AddItem(Media(name));
    HWND list = app->Panel().Child(MenuForm::IdLstM3u);
    ::SetFocus(list);
    TypeKey(VK_HOME);
    TypeKey(VK_DOWN);
    EXPECT_EQ(ListBoxSelection(queue), (std::vector<bool>{false, true, false}));
    TypeKey(VK_DOWN, true);
    EXPECT_EQ(ListBoxSelection(queue), (std::vector<bool>{false, true, true}));
    TypeKey(VK_UP);
    EXPECT_EQ(ListBoxSelection(queue), (std::vector<bool>{false, true, false}));

    // The menu at the entry with the focus, not at the mouse; Shift+F10 as the menu key.
    RECT item{};
    ::SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    POINT under{item.left, item.bottom};
    ::ClientToScreen(list, &under);
    ::SetCursorPos(5, 5);
    for (bool shiftF10 : {false, true}) {
        PopupWatcher watcher(app->Panel().Handle());
        TypeKey(shiftF10 ? VK_F10 : VK_APPS, shiftF10);
        EXPECT_EQ(watcher.Items(), 5) << shiftF10;
        EXPECT_EQ(watcher.First(), static_cast<UINT>(MenuForm::IdFLMenuPlay));
        EXPECT_EQ(watcher.Origin().x, under.x);
        EXPECT_EQ(watcher.Origin().y, under.y);
        Pump(0ms);
        // The key's release opened nothing more: no menu bar, no second menu.
        EXPECT_EQ(::GetFocus(), list);
    }
    ASSERT_EQ(app->Device()->Mode(), MediaDevice::kModeNotOpen);
    TypeKey(VK_RETURN);
    EXPECT_EQ(app->Device()->FileName(), Media(L"tone_660.wav"));
    EXPECT_EQ(::GetFocus(), list);

    // Standard controls on the system's colours: a high-contrast scheme shows in the
    // panel as it does in every other program.
    HighContrastColours scheme;
    RECT inside{};
    ::GetClientRect(list, &inside);
    EXPECT_EQ(ClientPixel(app->Panel().Handle(), 2, 2), HighContrastColours::kFace);
    EXPECT_EQ(ClientPixel(list, inside.right / 2, inside.bottom / 2), HighContrastColours::kWindow);
}

}  // namespace
}  // namespace tessel::test
