#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "editor/ui/Form2.h"
#include "editor/ui/Form3.h"
#include "tests/editor/window_harness.h"

namespace listwright::testing {
namespace {

using Dialogs = EditorWindow;

const wchar_t kPatternTitle[] = L"ワイルドカード検索";
const wchar_t kExtTitle[] = L"登録する拡張子";

// The dialog a menu command of the main window opens, once it shows.
HWND Open(EditorWindow& editor, UINT command) {
    editor.Command(command);
    HWND found = nullptr;
    const wchar_t* caption = command == kExtSetting ? kExtTitle : kPatternTitle;
    WaitUntil([&] { return (found = FindWindowW(nullptr, caption)) != nullptr; }, 2s);
    return found;
}

void Click(HWND dialog, int id) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// "登録" of a pattern typed into the extension dialog.
void Register(HWND dialog, const wchar_t* pattern) {
    SetWindowTextW(GetDlgItem(dialog, kForm3Text1), pattern);
    Click(dialog, kForm3Command1);
}

TEST_F(Dialogs, PatternDialogDisablesTheMainWindowAndSelectsOnRun) {
    Entries().Append({L"a.MP3", L"b.wav", L"C.mp3"});
    UserSelect({1});
    HWND dialog = Open(*this, kWildCardList);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowEnabled(Handle()));
    HWND text1 = GetDlgItem(dialog, kForm2Text1);
    EXPECT_EQ(WindowText(text1), L"*");

    SetWindowTextW(text1, L"*.mp3");
    // Enter and Esc are not the buttons.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    ASSERT_TRUE(IsWindow(dialog));
    Click(dialog, kForm2Command1);
    Pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(Handle()));
    EXPECT_EQ(ListBoxSelection(), (std::vector<bool>{true, false, true}));

    // A new dialog starts with "*" again; closing it any way changes nothing.
    dialog = Open(*this, kWildCardList);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kForm2Text1)), L"*");
    SendMessageW(dialog, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(Handle()));
    EXPECT_EQ(ListBoxSelection(), (std::vector<bool>{true, false, true}));
}

TEST_F(Dialogs, ExtensionDialogEditsAWorkingCopyHandedBackOnAnyClose) {
    HWND dialog = Open(*this, kExtSetting);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowEnabled(Handle()));
    HWND list = GetDlgItem(dialog, kForm3ExtList);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);

    // Registered twice as typed, leading space and all; Text1 keeps its text.
    Register(dialog, L" *.AVI");
    Click(dialog, kForm3Command1);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kForm3Text1)), L" *.AVI");
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);
    // An empty Text1 registers nothing.
    Register(dialog, L"");
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);

    // "削除" with nothing selected changes nothing; with "*.wav" selected removes it.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kForm3MenuDelete, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kForm3ExtList, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kForm3MenuDelete, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);

    Click(dialog, kForm3Command2);  // "×"
    Pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(Handle()));
    EXPECT_EQ(form->Editor().ExtList().Items(), (Texts{L" *.AVI", L" *.AVI", L"*.mp3"}));

    // Closed by its window's close box, by "終了": the same.
    for (int way = 0; way < 2; ++way) {
        dialog = Open(*this, kExtSetting);
        ASSERT_NE(dialog, nullptr);
        Register(dialog, way == 0 ? L"*.ogg" : L"*.flac");
        if (way == 0) SendMessageW(dialog, WM_CLOSE, 0, 0);
        else SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kForm3OnEnd, 0), 0);
        Pump();
        EXPECT_TRUE(IsWindowEnabled(Handle()));
    }
    EXPECT_EQ(form->Editor().ExtList().Items(), (Texts{L" *.AVI", L" *.AVI", L"*.flac", L"*.mp3", L"*.ogg"}));
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(ExtIniBytes(),
              " *.AVI\r\n *.AVI\r\n*.flac\r\n*.mp3\r\n*.ogg\r\n");
}

// Closing the editor with the extension dialog open: a changed list kept leaves the
// dialog in charge; once the editor closes, the dialog's edits are saved.
TEST_F(Dialogs, ClosingTheEditorWithTheExtensionDialogOpen) {
    Entries().Append({L"a.mp3"});
    HWND dialog = Open(*this, kExtSetting);
    ASSERT_NE(dialog, nullptr);
    Command(kWildCardList);  // a second dialog is not opened over the first
    EXPECT_EQ(FindWindowW(nullptr, kPatternTitle), nullptr);
    Register(dialog, L"*.ogg");
    boxes.Expect(L"確認", IDCANCEL);
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(dialog));
    EXPECT_FALSE(IsWindowEnabled(Handle()));
    boxes.Expect(L"確認", IDNO);
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(form->Handle(), nullptr);
    EXPECT_EQ(ExtIniBytes(), "*.mp3\r\n*.ogg\r\n*.wav\r\n");
}

// Wine has one DPI for the whole screen: the rule of DPI to measures is tested natively
// with DPI values; here the dialogs are made by it at the DPI their window has, fonts
// included, and the frame and font take a DPI as given.
TEST_F(Dialogs, DialogsAreMadeForTheDpiOfTheirMonitor) {
    struct Design {
        UINT command;
        int text1;
        double width, height;
    };
    for (const Design& d : {Design{kWildCardList, kForm2Text1, 4785, 825},
                            Design{kExtSetting, kForm3Text1, 4260, 1710}}) {
        HWND dialog = Open(*this, d.command);
        ASSERT_NE(dialog, nullptr);
        const DesignScale scale(tessel::win32::WindowDpi(dialog));
        EXPECT_EQ(tessel::win32::MonitorDpiAt(POINT{0, 0}), scale.Dpi());
        RECT client{};
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, scale.Pixels(d.width));
        EXPECT_EQ(client.bottom, scale.Pixels(d.height));
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(dialog, d.text1), WM_GETFONT, 0, 0)),
                  UiFont(scale.Dpi()));
        SendMessageW(dialog, WM_CLOSE, 0, 0);
        Pump();
    }
    for (int dpi : {96, 192}) {
        LOGFONTW font{};
        ASSERT_TRUE(GetObjectW(UiFont(dpi), sizeof font, &font));
        EXPECT_EQ(font.lfHeight, -12 * dpi / 96);
    }
    EXPECT_EQ(UiFont(192), UiFont(192));
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
    const SIZE s96 = DesignWindowSize(4260, 1710, style, 0, true, 96);
    const SIZE s192 = DesignWindowSize(4260, 1710, style, 0, true, 192);
    EXPECT_GE(s96.cx, 284);
    EXPECT_GE(s192.cx, 568);
    // Caption and menu bar are twice as high at 200 %.
    EXPECT_GT(s192.cy - 228, s96.cy - 114);
}

// ext.ini held by another program at the start cannot be read; once it is free, the
// extension dialog opened and closed without a change decides nothing: the exit leaves
// the file as it is (that a change does decide: extsettings_test).
TEST_F(Dialogs, AnExtIniThatCouldNotBeReadIsNotReplacedWithoutAChange) {
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
    dir.Write("m3usetting/ext.ini", "*.flac\r\n*.mp3\r\n");
    const std::wstring ini = (dir / "m3usetting" / "ext.ini").wstring();
    HANDLE lock = CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    boxes.Expect(L"エラー", IDOK);
    Create();
    CloseHandle(lock);
    EXPECT_EQ(boxes.TakeSeen().size(), 1u);
    HWND dialog = Open(*this, kExtSetting);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, kForm3Command2);
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(ExtIniBytes(), "*.flac\r\n*.mp3\r\n");
}

// Log-off or shutdown with the editor open: no close comes, yet the patterns (also
// those still in an open extension dialog) are saved, once, and nothing waits.
TEST_F(Dialogs, TheEndOfTheSessionSavesThePatternsOnce) {
    // An end of session that was cancelled saves nothing.
    dir.Write("m3usetting/ext.ini", "untouched");
    SendMessageW(Handle(), WM_ENDSESSION, FALSE, 0);
    EXPECT_EQ(ExtIniBytes(), "untouched");
    HWND dialog = Open(*this, kExtSetting);
    ASSERT_NE(dialog, nullptr);
    Register(dialog, L"*.ogg");
    EXPECT_EQ(SendMessageW(Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageW(Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(ExtIniBytes(), "*.mp3\r\n*.ogg\r\n*.wav\r\n");
    EXPECT_FALSE(IsWindow(dialog));
    // Saved once: neither a second end message nor a late close writes again.
    dir.Write("m3usetting/ext.ini", "*.flac\r\n");
    SendMessageW(Handle(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_EQ(ExtIniBytes(), "*.flac\r\n");
}

// "é" has no code page 932 form: saved, "*Café*" would come back as the wider "*Caf?*".
TEST_F(Dialogs, APatternTheSettingsFileCannotHoldIsRefused) {
    HWND dialog = Open(*this, kExtSetting);
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, kForm3ExtList);
    boxes.Expect(L"エラー", IDOK);
    Register(dialog, L"*Café*");
    EXPECT_TRUE(WaitUntil([&] { return boxes.AllUsed(); }, 3s));
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, kForm3Text1)), L"*Café*");
    const auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find(L"登録できません"), std::wstring::npos);
    // Japanese is held by the file's code page and goes in.
    Register(dialog, L"*曲*");
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 3);
}

// A pattern file of a megabyte: read at start, listed, and written back as it was.
struct MegabyteOfPatterns : EditorWindow {
    std::string ExtIni() const override {
        std::string bytes;
        char line[16];
        for (int i = 0; bytes.size() < (1u << 20); ++i) {
            std::snprintf(line, sizeof line, "*.e%06d\r\n", i);
            bytes += line;
        }
        return bytes;
    }
};

TEST_F(MegabyteOfPatterns, AreReadListedAndKept) {
    const std::string before = ExtIniBytes();
    const std::size_t lines = static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    EXPECT_EQ(form->Editor().ExtList().Count(), lines);
    HWND dialog = Open(*this, kExtSetting);
    ASSERT_NE(dialog, nullptr);
    // The list box shows what it can hold; the dialog hands every pattern back.
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, kForm3ExtList), LB_GETCOUNT, 0, 0), 32767);
    // A pattern registered into the full list is refused with a word, not dropped.
    boxes.Expect(L"エラー", IDOK);
    Register(dialog, L"*.new");
    const auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find(L"これ以上登録できません"), std::wstring::npos);
    SendMessageW(Handle(), WM_CLOSE, 0, 0);
    Pump();
    // Compared as a whole: a line-by-line difference of two megabytes would not fit.
    EXPECT_TRUE(ExtIniBytes() == before);
}

}  // namespace
}  // namespace listwright::testing
