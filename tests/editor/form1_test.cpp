#include <gtest/gtest.h>

#include <atomic>

#include "editor/ui/texts.h"
#include "tests/editor/window_harness.h"

namespace listwright::testing {
namespace {

std::wstring MenuCaption(HMENU menu, UINT position) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
    return text;
}

// The menus' items are one table with the commands they send; here what the table
// cannot say: the two menus under their captions, where the separators fall, and
// that every item is enabled and shows no access key or shortcut.
using Form1Window = EditorWindow;

TEST_F(Form1Window, TwoMenusOfEnabledItemsWithoutAccessKeys) {
    EXPECT_EQ(WindowText(Handle()), L"Quillow");
    HMENU bar = GetMenu(Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(MenuCaption(bar, 0), L"ファイル");
    EXPECT_EQ(MenuCaption(bar, 1), L"編集");
    const std::vector<std::vector<int>> separators{{2, 5}, {4, 7, 12}};
    const std::vector<std::pair<UINT, UINT>> ends{{kCreateNewFile, kTheEndApp}, {kCutFromList, kAddingList}};
    for (int m = 0; m < 2; ++m) {
        HMENU menu = GetSubMenu(bar, m);
        const int n = GetMenuItemCount(menu);
        EXPECT_EQ(n, m == 0 ? 7 : 18);
        std::vector<int> found;
        for (int i = 0; i < n; ++i) {
            const UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
            if (state & MF_SEPARATOR) {
                found.push_back(i);
                continue;
            }
            EXPECT_EQ(state & (MF_GRAYED | MF_DISABLED), 0u) << m << "/" << i;
            EXPECT_EQ(MenuCaption(menu, static_cast<UINT>(i)).find_first_of(L"&\t"), std::wstring::npos);
        }
        EXPECT_EQ(found, separators[m]);
        EXPECT_EQ(GetMenuItemID(menu, 0), ends[m].first);
        EXPECT_EQ(GetMenuItemID(menu, n - 1), ends[m].second);
    }
}

TEST_F(Form1Window, StartsEmptyAndTheListFillsTheClientArea) {
    EXPECT_EQ(SendMessageW(List(), LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(StatusText(), L"");
    EXPECT_EQ(form->Editor().ExtList().Count(), 2u);
    // Extended multiple selection, unsorted, accepting drops; the window itself does not.
    const LONG_PTR style = GetWindowLongPtrW(List(), GWL_STYLE);
    EXPECT_TRUE(style & LBS_EXTENDEDSEL);
    EXPECT_FALSE(style & LBS_SORT);
    EXPECT_TRUE(GetWindowLongPtrW(List(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_FALSE(GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

    const auto expectFilled = [&] {
        RECT c{}, list{}, bar{};
        GetClientRect(Handle(), &c);
        GetWindowRect(List(), &list);
        GetWindowRect(form->SBar(), &bar);
        MapWindowPoints(HWND_DESKTOP, Handle(), reinterpret_cast<POINT*>(&list), 2);
        EXPECT_EQ(list.left, 0);
        EXPECT_EQ(list.top, 0);
        EXPECT_EQ(list.right, c.right);
        EXPECT_EQ(list.bottom, c.bottom - (bar.bottom - bar.top));
    };
    expectFilled();
    // Too small for the list: nothing fails; larger again: laid out again.
    SetWindowPos(Handle(), nullptr, 0, 0, 120, 40, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    Pump();
    ShowWindow(Handle(), SW_MINIMIZE);
    Pump();
    ShowWindow(Handle(), SW_RESTORE);
    SetWindowPos(Handle(), nullptr, 0, 0, 600, 500, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    Pump();
    expectFilled();
}

bool HasIcon(HWND box) {
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if ((GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && SendMessageW(c, STM_GETICON, 0, 0)) return true;
    }
    return false;
}

// Exit, close, 新規作成, 開く and the end of the session let a changed list go only on
// the user's word (an unchanged one goes without a question: every test's end).
TEST_F(Form1Window, AChangedListIsLetGoOnlyWithTheUsersWord) {
    Entries().Append({L"a.mp3"});
    std::atomic<int> icons{0};
    for (int i = 0; i < 5; ++i) boxes.Expect(L"確認", IDCANCEL, std::nullopt, [&](HWND b) { icons += HasIcon(b); });
    Command(kTheEndApp);
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
    Command(kCreateNewFile);
    Command(kEditExistFile);  // cancelled before its dialog
    EXPECT_EQ(SendMessageW(Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), FALSE);
    Pump();
    ASSERT_NE(form->Handle(), nullptr);
    EXPECT_EQ(ListBoxTexts(), Texts{L"a.mp3"});
    auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 5u);
    for (const auto& box : seen) EXPECT_EQ(box.text, L"リストは変更されています。保存しますか？");
    EXPECT_EQ(icons, 0);

    // はい at the end of the session: saved as a new file, and the session may end.
    const std::filesystem::path saved = dir / "saved.m3u";
    boxes.Expect(L"確認", IDYES);
    boxes.Expect(L"保存するファイル", IDOK, saved.wstring());
    EXPECT_EQ(SendMessageW(Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    EXPECT_EQ(TempDir::ReadBytes(saved), "a.mp3\r\n");
    EXPECT_EQ(StatusText(), saved.wstring());
    EXPECT_EQ(boxes.TakeSeen().size(), 2u);
    // Changed again, いいえ lets it go (that a saved list goes without a question, and
    // いいえ writes nothing: listeditor_test), and the exit writes ext.ini anew, sorted
    // (closing the window is the same exit: dialogs_test closes it so).
    Entries().Append({L"b.mp3"});
    boxes.Expect(L"確認", IDNO);
    dir.Write("m3usetting/ext.ini", "");
    form->Editor().ReplaceExtensions({L"*.wav", L"*.MP3", L"*.avi"});
    Command(kTheEndApp);
    Pump();
    EXPECT_EQ(form->Handle(), nullptr);
    EXPECT_EQ(ExtIniBytes(), "*.avi\r\n*.MP3\r\n*.wav\r\n");
}

TEST_F(Form1Window, AMissingSettingsFolderIsReportedNotACrash) {
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
    std::filesystem::remove_all(dir / "m3usetting");
    boxes.Expect(L"エラー", IDOK);
    Create();
    EXPECT_EQ(form->Editor().ExtList().Count(), 0u);
    boxes.Expect(L"エラー", IDOK);
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
    Pump();
    const auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[0].text.find(L"拡張子の設定フォルダが見つかりません"), std::wstring::npos);
    EXPECT_NE(seen[1].text.find(L"拡張子の設定ファイルを保存できませんでした"), std::wstring::npos);
}

TEST_F(Form1Window, SortAndRemoveMissingShowInTheListBox) {
    const auto real = dir.Write("b.mp3", "x").wstring();
    // The real file's path starts with a drive letter C: it sorts between b and Z.
    Entries().Append({real, L"Z.mp3", L"A.mp3", L"b.mp3"});
    UserSelect({0, 2});
    Command(kEnumNameSeq);
    EXPECT_EQ(ListBoxTexts(), (Texts{L"A.mp3", L"b.mp3", real, L"Z.mp3"}));
    EXPECT_EQ(ListBoxSelection(), (std::vector<bool>{false, false, false, false}));
    UserSelect({2});
    Command(kNoExistsDelete);
    EXPECT_EQ(ListBoxTexts(), Texts{real});
    EXPECT_EQ(ListBoxSelection(), std::vector<bool>{true});
}

// From the keyboard alone: the list has the keys whenever the window has them.
TEST_F(Form1Window, TheListHasTheFocusAfterEveryDialogItsKeysSelectAndOpenTheMenuAndHighContrastShows) {
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
    Pump();
    Create(SW_SHOWNORMAL);  // as the program starts
    EXPECT_EQ(GetFocus(), List());

    for (UINT dialog : {kWildCardList, kExtSetting}) {
        Command(dialog);
        Pump();
        ASSERT_NE(form->DialogWindow(), nullptr);
        EXPECT_NE(GetFocus(), List());
        SendMessageW(form->DialogWindow(), WM_CLOSE, 0, 0);
        Pump();
        EXPECT_EQ(GetFocus(), List()) << dialog;
    }
    boxes.Expect(texts::form1::kOpenTitle, IDCANCEL);
    Command(kEditExistFile);
    Pump();
    EXPECT_EQ(boxes.TakeSeen().size(), 1u);
    EXPECT_EQ(GetFocus(), List());

    Entries().Append({L"a.mp3", L"b.mp3", L"c.mp3"});
    Pump();
    TypeKey(VK_HOME);
    TypeKey(VK_DOWN);
    EXPECT_EQ(ListBoxSelection(), (std::vector<bool>{false, true, false}));
    TypeKey(VK_DOWN, true);
    EXPECT_EQ(ListBoxSelection(), (std::vector<bool>{false, true, true}));
    // The editor's own list follows what the keys selected.
    EXPECT_FALSE(Entries().Selected(0));
    EXPECT_TRUE(Entries().Selected(1));
    EXPECT_TRUE(Entries().Selected(2));

    // The menu key and Shift+F10 open the edit menu under the entry with the focus,
    // wherever the mouse is.
    RECT item{};
    SendMessageW(List(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
    POINT under{item.left, item.bottom};
    ClientToScreen(List(), &under);
    SetCursorPos(5, 5);
    for (bool shiftF10 : {false, true}) {
        PopupWatcher watcher(Handle());
        TypeKey(shiftF10 ? VK_F10 : VK_APPS, shiftF10);
        EXPECT_EQ(watcher.Items(), 18) << shiftF10;
        EXPECT_EQ(watcher.First(), static_cast<UINT>(kCutFromList));
        EXPECT_EQ(watcher.Origin().x, under.x);
        EXPECT_EQ(watcher.Origin().y, under.y);
        Pump();
        EXPECT_EQ(GetFocus(), List());
    }
    // The right button released over the list opens the same menu.
    PopupWatcher watcher(Handle());
    SendMessageW(List(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 20));
    SendMessageW(List(), WM_RBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(watcher.Items(), 18);
    EXPECT_EQ(watcher.First(), static_cast<UINT>(kCutFromList));

    // The list is a standard control on the system's colours. (The status bar is drawn
    // by the visual style, which Windows turns off with a high-contrast scheme and Wine
    // does not: it is not checked here.)
    HighContrastColours scheme;
    RECT list{};
    GetClientRect(List(), &list);
    EXPECT_EQ(ClientPixel(List(), list.right / 2, list.bottom / 2), HighContrastColours::kWindow);
}

}  // namespace
}  // namespace listwright::testing
