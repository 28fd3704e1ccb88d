#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "common/textfile.h"
#include "tests/editor/window_harness.h"

namespace listwright::testing {
namespace {

using tessel::test::TempDir;
namespace fs = std::filesystem;

const wchar_t kOpenTitle[] = L"リストファイルを開く";
const wchar_t kSaveTitle[] = L"保存するファイル";

using FileCommands = EditorWindow;

// Where the size question starts is the list file module's rule; here, that it is asked
// and answered, and that a file another program holds open without sharing leaves the
// list and the current file as they were.
TEST_F(FileCommands, OpenAsksBeforeALargeFileAndKeepsTheListOnCancelOrAFailedRead) {
    const fs::path first = dir.Write("first.m3u", "one\r\ntwo\r\n");
    const fs::path over = dir.Write("over.m3u", std::string(1100001, 'x'));
    const fs::path locked = dir.Write("locked.m3u", "x\r\ny\r\nz\r\n");
    HANDLE h = CreateFileW(locked.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    boxes.Expect(kOpenTitle, IDOK, first.wstring());
    boxes.Expect(kOpenTitle, IDOK, over.wstring());
    boxes.Expect(L"確認", IDCANCEL);
    boxes.Expect(kOpenTitle, IDOK, locked.wstring());
    boxes.Expect(L"エラー", IDOK);
    for (int i = 0; i < 3; ++i) Command(kEditExistFile);
    CloseHandle(h);
    EXPECT_EQ(ListBoxTexts(), (Texts{L"one", L"two"}));
    EXPECT_EQ(StatusText(), first.wstring());
    const auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[2].text, L"ファイルサイズが1MBを超えます本当に開きますか？");
    EXPECT_NE(seen[4].text.find(L"ファイルを読み込めませんでした"), std::wstring::npos);
    // The one dialog object keeps the last name chosen.
    EXPECT_NE(seen[1].nameField.find(L"first.m3u"), std::wstring::npos);
    // So "上書き保存" still writes to the file whose content the list holds.
    Command(kOverwriteFile);
    EXPECT_EQ(TempDir::ReadBytes(first), "one\r\ntwo\r\n");
    EXPECT_EQ(TempDir::ReadBytes(locked), "x\r\ny\r\nz\r\n");

    boxes.Expect(kOpenTitle, IDOK, over.wstring());
    boxes.Expect(L"確認", IDOK);
    Command(kEditExistFile);
    EXPECT_EQ(SendMessageW(List(), LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(StatusText(), over.wstring());
    EXPECT_TRUE(boxes.AllUsed());
}

// The save rules (no extension added, an empty list as zero bytes) are tested natively;
// here the dialog, the question and the code page of what is written.
TEST_F(FileCommands, SaveAsAsksBeforeReplacingAndOverwriteDoesNot) {
    Entries().Append({L"a.mp3", L"\u65E5\u672C.mp3"});
    const fs::path existing = dir.Write("existing.m3u", "old\r\n");
    boxes.Expect(kSaveTitle, IDOK, existing.wstring());
    boxes.Expect(L"確認", IDNO);
    Command(kNameFileSave);
    EXPECT_EQ(TempDir::ReadBytes(existing), "old\r\n");
    EXPECT_EQ(StatusText(), L"");

    boxes.Expect(kSaveTitle, IDOK, existing.wstring());
    boxes.Expect(L"確認", IDYES);
    Command(kNameFileSave);
    EXPECT_EQ(TempDir::ReadBytes(existing), "a.mp3\r\n\x93\xfa\x96\x7b.mp3\r\n");
    EXPECT_EQ(StatusText(), existing.wstring());
    auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[1].text, L"上書きします。よろしいですか？");
}

// A UTF-8 list (marked) opened, a dropped file with a name code page 932 cannot write
// added, and saved: as .m3u8 every name reaches the disk; as .m3u the question offers
// the .m3u8 beside it, and いいえ writes '?' as before.
TEST_F(FileCommands, M3u8ListsKeepNamesOutsideCodePage932) {
    const fs::path folder = dir / L"Listes";
    const Texts names = {(folder / L"Beyonc\u00E9 - Halo.mp3").wstring(), (folder / L"\uD55C\uAD6D\uC5B4.mp3").wstring(),
                         (folder / L"\U0001F3B5.mp3").wstring()};
    const std::string utf8 = tessel::EncodeTextLines(names, tessel::TextEncoding::Utf8).bytes;
    const fs::path list = dir.Write(L"Listes\\Caf\u00E9.m3u8", "\xEF\xBB\xBF" + utf8);
    boxes.Expect(kOpenTitle, IDOK, list.wstring());
    Command(kEditExistFile);
    EXPECT_EQ(ListBoxTexts(), names);
    EXPECT_EQ(StatusText(), list.wstring());

    const fs::path dropped = dir.Write(L"Listes\\Sigur R\u00F3s \u00D1.mp3", "x");
    SendDrop(List(), {dropped.wstring()});
    Texts all = names;
    all.push_back(dropped.wstring());
    EXPECT_EQ(ListBoxTexts(), all);
    Command(kOverwriteFile);
    EXPECT_EQ(boxes.TakeSeen().size(), 1u);  // only the open dialog: no question
    // No mark written; the dropped name in UTF-8 after the others.
    EXPECT_EQ(TempDir::ReadBytes(list), tessel::EncodeTextLines(all, tessel::TextEncoding::Utf8).bytes);

    // Save As .m3u: the question, with the way out; キャンセル writes nothing, いいえ
    // writes '?'.
    const fs::path m3u = dir / L"plain.m3u";
    boxes.Expect(kSaveTitle, IDOK, m3u.wstring());
    boxes.Expect(L"確認", IDCANCEL);
    boxes.Expect(kSaveTitle, IDOK, m3u.wstring());
    boxes.Expect(L"確認", IDNO);
    Command(kNameFileSave);
    EXPECT_FALSE(fs::exists(m3u));
    Command(kNameFileSave);
    auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_NE(seen[3].text.find(L" 4 件"), std::wstring::npos) << Printable(seen[3].text);
    EXPECT_NE(seen[3].text.find(L"「plain.m3u8」"), std::wstring::npos) << Printable(seen[3].text);
    EXPECT_EQ(StatusText(), m3u.wstring());
    const std::string written = TempDir::ReadBytes(m3u);
    // é, three Hangul, the emoji (one character, two UTF-16 units), ó and Ñ.
    EXPECT_EQ(std::count(written.begin(), written.end(), '?'), 7);
    EXPECT_FALSE(fs::exists(dir / L"plain.m3u8"));
    // はい: the list goes to plain.m3u8, whole, and that is the current file.
    boxes.Expect(L"確認", IDYES);
    Command(kOverwriteFile);
    EXPECT_EQ(TempDir::ReadBytes(dir / L"plain.m3u8"), tessel::EncodeTextLines(all, tessel::TextEncoding::Utf8).bytes);
    EXPECT_EQ(StatusText(), (dir / L"plain.m3u8").wstring());
    EXPECT_TRUE(boxes.AllUsed());
}

TEST_F(FileCommands, AddAndExpandAppendAfterTheExistingEntries) {
    const fs::path inner = dir.Write("inner.m3u", "1\r\n\r\n3\r\n");
    Entries().Append({inner.wstring(), L"keep"});
    UserSelect({0});
    Command(kExpFiles);
    EXPECT_EQ(ListBoxTexts(), (Texts{inner.wstring(), L"keep", L"1", L"", L"3"}));
    EXPECT_EQ(ListBoxSelection(), (std::vector<bool>{true, false, false, false, false}));

    boxes.Expect(kOpenTitle, IDOK, inner.wstring());
    Command(kAddingList);
    EXPECT_EQ(ListBoxTexts(), (Texts{inner.wstring(), L"keep", L"1", L"", L"3", L"1", L"", L"3"}));
    EXPECT_EQ(ListBoxSelection()[0], true);
    EXPECT_EQ(StatusText(), L"");  // an added list does not become the current file
}

TEST_F(FileCommands, OpeningMoreThan32767EntriesSaysHowManyWereLeftOut) {
    std::string bytes;
    for (int i = 0; i < 32800; ++i) bytes += "e\r\n";
    const fs::path big = dir.Write("big.m3u", bytes);
    boxes.Expect(kOpenTitle, IDOK, big.wstring());
    boxes.Expect(L"情報", IDOK);
    Command(kEditExistFile);
    EXPECT_EQ(SendMessageW(List(), LB_GETCOUNT, 0, 0), 32767);
    const auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_NE(seen[1].text.find(L" 33 件"), std::wstring::npos);
    // No longer the list's file (what 上書き保存 then does: listeditor_test).
    EXPECT_EQ(StatusText(), L"");
}

}  // namespace
}  // namespace listwright::testing
