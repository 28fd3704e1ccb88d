#include <gtest/gtest.h>

#include "tests/editor/window_harness.h"

namespace listwright::testing {
namespace {

struct MenuRow {
    UINT id;
    std::wstring caption;  // empty for a separator
};

std::wstring MenuCaption(HMENU menu, UINT position) {
    wchar_t text[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STRING | MIIM_FTYPE | MIIM_ID;
    info.dwTypeData = text;
    info.cch = 255;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return (info.fType & MFT_SEPARATOR) ? std::wstring() : std::wstring(text);
}

std::vector<MenuRow> Rows(HMENU menu) {
    std::vector<MenuRow> rows;
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        const std::wstring caption = MenuCaption(menu, static_cast<UINT>(i));
        rows.push_back(MenuRow{caption.empty() ? 0u : GetMenuItemID(menu, i), caption});
        // Every item is enabled.
        if (!caption.empty()) {
            EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED), 0u);
        }
    }
    return rows;
}

void ExpectRows(const std::vector<MenuRow>& got, const std::vector<MenuRow>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].caption, want[i].caption) << "item " << i;
        EXPECT_EQ(got[i].id, want[i].id) << "item " << i;
        // No access key and no shortcut in any caption.
        EXPECT_EQ(got[i].caption.find_first_of(L"&\t"), std::wstring::npos);
    }
}

using Form1Window = EditorWindow;

TEST_F(Form1Window, MenusAreExactlyTheTwoMenusWithTheirItems) {
    EXPECT_EQ(WindowText(Handle()), L"Quillow");
    HMENU bar = GetMenu(Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(MenuCaption(bar, 0), L"ファイル");
    EXPECT_EQ(MenuCaption(bar, 1), L"編集");
    ExpectRows(Rows(GetSubMenu(bar, 0)), {{kCreateNewFile, L"新規作成"},
                                          {kEditExistFile, L"開く"},
                                          {0, L""},
                                          {kOverwriteFile, L"上書き保存"},
                                          {kNameFileSave, L"名前を付けて保存"},
                                          {0, L""},
                                          {kTheEndApp, L"終了"}});
    ExpectRows(Rows(GetSubMenu(bar, 1)), {{kCutFromList, L"切り取り"},
                                          {kCopyFromList, L"コピー"},
                                          {kDeleteFromList, L"削除"},
                                          {kClearList, L"全て削除"},
                                          {0, L""},
                                          {kPasteToList, L"最後尾に貼り付け"},
                                          {kPasteToPoint, L"選択位置に貼り付け"},
                                          {0, L""},
                                          {kListAllChoice, L"全て選択"},
                                          {kWildCardList, L"含まれる文字列から選択"},
                                          {kReverseChoiceList, L"選択を反転"},
                                          {kNoChoiceList, L"全ての選択を解除"},
                                          {0, L""},
                                          {kExpFiles, L"リストファイルを展開"},
                                          {kEnumNameSeq, L"名前順に並べ替える"},
                                          {kNoExistsDelete, L"存在しないファイルをリストから削除"},
                                          {kExtSetting, L"登録する拡張子の設定"},
                                          {kAddingList, L"リストファイルから追加"}});
}

TEST_F(Form1Window, StartsEmptyAtItsDesignSizeAndTheListFillsTheClientArea) {
    EXPECT_EQ(SendMessageW(List(), LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(StatusText(), L"");
    EXPECT_EQ(form->Editor().ExtList().Count(), 2u);
    // Extended multiple selection, unsorted, accepting drops; the window itself does not.
    const LONG_PTR style = GetWindowLongPtrW(List(), GWL_STYLE);
    EXPECT_TRUE(style & LBS_EXTENDEDSEL);
    EXPECT_FALSE(style & LBS_SORT);
    EXPECT_TRUE(GetWindowLongPtrW(List(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_FALSE(GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

    RECT client{};
    GetClientRect(Handle(), &client);
    EXPECT_EQ(client.right, TwipsX(7215));
    EXPECT_EQ(client.bottom, TwipsY(6450));

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

// Closing the window is the same exit (dialogs_test closes it so).
TEST_F(Form1Window, ExitWritesExtIniSortedAndEndsWithoutAQuestion) {
    dir.Write("m3usetting/ext.ini", "");  // proves it is written anew
    Entries().Append({L"unsaved"});
    form->Editor().ReplaceExtensions({L"*.wav", L"*.MP3", L"*.avi"});
    Command(kTheEndApp);
    Pump();
    EXPECT_EQ(form->Handle(), nullptr);
    EXPECT_EQ(ExtIniBytes(), "*.avi\r\n*.MP3\r\n*.wav\r\n");
}

// Waits for the popup menu of this process, notes how many items it shows, and closes it.
class PopupWatcher {
public:
    explicit PopupWatcher(HWND owner)
        : thread_([this, owner] {
              for (int i = 0; i < 150 && items_ < 0; ++i) {
                  Sleep(20);
                  HWND popup = FindWindowW(L"#32768", nullptr);
                  if (popup && IsWindowVisible(popup)) {
                      HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
                      items_ = menu ? GetMenuItemCount(menu) : 0;
                      first_ = menu ? GetMenuItemID(menu, 0) : 0;
                  }
              }
              PostMessageW(owner, WM_CANCELMODE, 0, 0);
          }) {}
    ~PopupWatcher() {
        if (thread_.joinable()) thread_.join();
    }
    int Items() {
        thread_.join();
        return items_;
    }
    UINT First() const { return first_; }

private:
    std::atomic<int> items_{-1};
    std::atomic<UINT> first_{0};
    std::thread thread_;
};

TEST_F(Form1Window, RightButtonReleasedOverTheListPopsUpTheEditMenu) {
    PopupWatcher watcher(Handle());
    POINT pt{20, 20};
    SendMessageW(List(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pt.x, pt.y));
    SendMessageW(List(), WM_RBUTTONUP, 0, MAKELPARAM(pt.x, pt.y));
    EXPECT_EQ(watcher.Items(), 18);
    EXPECT_EQ(watcher.First(), static_cast<UINT>(kCutFromList));
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

}  // namespace
}  // namespace listwright::testing
