#include "editor/core/listeditor.h"
#include "editor/core/extsettings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_dir.h"
#include "tests/editor/fake_host.h"

namespace listwright {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::wstring>;
using Q = EditorHost::Question;
using N = EditorHost::Notice;
using SC = EditorHost::SaveChoice;
using tessel::test::TempDir;
using testing::FakeHost;
using testing::Flags;

std::wstring W(const fs::path& p) { return p.wstring(); }

struct EditorTest : ::testing::Test {
    TempDir dir;
    FakeHost host;
    ListEditor editor{host};
    EntryList& list = editor.MainList();
};

TEST_F(EditorTest, OpenReplacesTheListAndSetsTheCurrentFileUnlessTheListWasCutShort) {
    list.Append({L"unsaved"});
    const fs::path file = dir.Write("a.m3u", "one\r\n\r\ntwo ");
    host.openAnswers = {W(file)};
    host.saveChoices = {SC::Discard};
    editor.EditExistFile();
    EXPECT_EQ(list.Texts(), (Texts{L"one", L"", L"two "}));
    EXPECT_EQ(editor.SBar().Get(), W(file));
    EXPECT_TRUE(host.asked.empty());

    // Cancel, an empty name, a missing file, a folder: nothing changes, nothing is said.
    host.openAnswers = {std::nullopt, std::wstring(), W(dir / "missing.m3u"), W(dir.path())};
    for (int i = 0; i < 4; ++i) editor.EditExistFile();
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(editor.SBar().Get(), W(file));
    EXPECT_TRUE(host.told.empty());

    // The list holds 32,767 entries: one more line is cut off, and the file is then no
    // longer the list's, so saving asks for a name instead of shortening it.
    std::string lines;
    for (int i = 0; i < 32767; ++i) lines += "e\r\n";
    const fs::path full = dir.Write("full.m3u", lines);
    const fs::path over = dir.Write("over.m3u", lines + "last\r\n");
    host.openAnswers = {W(full), W(over)};
    editor.EditExistFile();
    EXPECT_EQ(editor.SBar().Get(), W(full));
    editor.EditExistFile();
    EXPECT_EQ(list.Count(), 32767u);
    EXPECT_TRUE(editor.SBar().Get().empty());
    ASSERT_EQ(host.told.size(), 1u);
    EXPECT_EQ(host.told[0].count, 1u);
    host.saveAnswers = {std::nullopt};
    editor.OverwriteFile();
    EXPECT_EQ(host.saveDialogs, 1);
    EXPECT_EQ(fs::file_size(over), lines.size() + 6);
}

TEST_F(EditorTest, OverwriteWithoutCurrentFileIsSaveAsWhichAddsNoExtensionAndNewForgetsTheFile) {
    host.saveAnswers = {std::nullopt};
    editor.OverwriteFile();
    EXPECT_EQ(host.saveDialogs, 1);
    EXPECT_EQ(dir.EntryCount(), 0u);

    host.saveAnswers = {W(dir / "empty.m3u")};
    editor.OverwriteFile();
    EXPECT_EQ(fs::file_size(dir / "empty.m3u"), 0u);
    list.Append({L"new"});
    editor.OverwriteFile();  // replaces without a question
    EXPECT_EQ(host.saveDialogs, 2);
    EXPECT_TRUE(host.asked.empty());
    EXPECT_EQ(TempDir::ReadBytes(dir / "empty.m3u"), "new\r\n");
    // New empties the list and forgets the current file; Save As adds no extension.
    editor.CreateNewFile();
    EXPECT_TRUE(list.Empty());
    EXPECT_TRUE(editor.SBar().Get().empty());
    list.Append({L"x", L"y"});
    host.saveAnswers = {W(dir / "noext")};
    editor.NameFileSave();
    EXPECT_EQ(TempDir::ReadBytes(dir / "noext"), "x\r\ny\r\n");
    EXPECT_FALSE(fs::exists(dir / "noext.m3u"));
    EXPECT_TRUE(host.asked.empty());
    EXPECT_EQ(editor.SBar().Get(), W(dir / "noext"));
}

// New, Open and the exit (ConfirmDiscard) let a changed list go only on the user's word.
TEST_F(EditorTest, AChangedListIsOnlyLetGoWithTheUsersWord) {
    const fs::path file = dir.Write("a.m3u", "one\r\ntwo\r\n");
    // Unchanged lists, and a changed selection, go without a question.
    editor.CreateNewFile();
    host.openAnswers = {W(file)};
    editor.EditExistFile();
    list.SetSelected(1, true);
    EXPECT_TRUE(editor.ConfirmDiscard());
    // A change undone is no change.
    list.Append({L"x"});
    list.RemoveWhere([](std::size_t i) { return i == 2; });
    EXPECT_FALSE(editor.Modified());
    EXPECT_EQ(host.saveQuestions, 0);

    // キャンセル: New and Open do nothing (Open shows no dialog).
    list.Append({L"three"});
    host.saveChoices = {SC::Cancel, SC::Cancel};
    host.openAnswers = {W(file)};
    editor.CreateNewFile();
    editor.EditExistFile();
    EXPECT_EQ(list.Texts(), (Texts{L"one", L"two", L"three"}));
    EXPECT_EQ(host.openAnswers.size(), 1u);
    EXPECT_FALSE(editor.ConfirmDiscard());
    EXPECT_EQ(host.saveQuestions, 3);

    // はい with a current file: written there, then replaced.
    host.saveChoices = {SC::Save};
    editor.EditExistFile();
    EXPECT_EQ(TempDir::ReadBytes(file), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(host.saveDialogs, 0);

    // いいえ: discarded, nothing written.
    list.Append({L"four"});
    host.saveChoices = {SC::Discard};
    editor.CreateNewFile();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(TempDir::ReadBytes(file), "one\r\ntwo\r\nthree\r\n");
    EXPECT_EQ(host.saveQuestions, 5);

    // はい without a current file is Save As; a cancelled dialog or a failed write
    // keeps the list, a saved one lets it go and leaves nothing changed.
    list.Append({L"new"});
    host.saveChoices = {SC::Save, SC::Save, SC::Save};
    host.saveAnswers = {std::nullopt, W(dir / "no such folder" / "x.m3u"), W(dir / "b.m3u")};
    editor.CreateNewFile();
    EXPECT_FALSE(editor.ConfirmDiscard());
    EXPECT_EQ(list.Texts(), Texts{L"new"});
    ASSERT_EQ(host.told.size(), 1u);
    EXPECT_EQ(host.told[0].notice, N::WriteFailed);
    EXPECT_TRUE(editor.SBar().Get().empty());
    EXPECT_TRUE(editor.ConfirmDiscard());
    EXPECT_EQ(TempDir::ReadBytes(dir / "b.m3u"), "new\r\n");
    EXPECT_EQ(host.saveDialogs, 3);
    EXPECT_FALSE(editor.Modified());
    editor.CreateNewFile();
    EXPECT_TRUE(list.Empty());
    EXPECT_EQ(host.saveQuestions, 8);
}

TEST_F(EditorTest, EntriesThatCodePage932CannotHoldAreCountedBeforeWriting) {
    // One lost character is enough for the question; UTF-8 would keep it, so the
    // question offers the ".m3u8" name beside the one chosen.
    list.Append({L"ok.mp3", L"caf\u00E9.mp3"});
    host.saveAnswers = {W(dir / "out.m3u")};
    editor.NameFileSave();  // キャンセル
    EXPECT_EQ(host.utf8Offers, Texts{W(dir / "out.m3u8")});
    EXPECT_FALSE(fs::exists(dir / "out.m3u"));
    EXPECT_FALSE(fs::exists(dir / "out.m3u8"));
    EXPECT_TRUE(editor.SBar().Get().empty());

    // The count is of entries, whatever each of them loses. いいえ writes '?'.
    list.Append({L"\u266B\u2603.mp3", L"\U0001F3B5.mp3", L"\u65E5\u672C.mp3"});
    host.alteredChoice = EditorHost::AlteredChoice::Replace;
    host.saveAnswers = {W(dir / "out.m3u")};
    editor.NameFileSave();
    EXPECT_EQ(host.askedCounts, (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(TempDir::ReadBytes(dir / "out.m3u"), "ok.mp3\r\ncaf?.mp3\r\n??.mp3\r\n?.mp3\r\n\x93\xFA\x96\x7B.mp3\r\n");
    EXPECT_EQ(editor.SBar().Get(), W(dir / "out.m3u"));
    EXPECT_TRUE(host.asked.empty());
}

TEST_F(EditorTest, SavingAsM3u8KeepsEveryNameAndBecomesTheCurrentFile) {
    const std::string utf8 = "caf\xC3\xA9.mp3\r\n\xED\x95\x9C.mp3\r\n\xF0\x9F\x8E\xB5.mp3\r\n";
    list.Append({L"caf\u00E9.mp3", L"\uD55C.mp3", L"\U0001F3B5.mp3"});
    // はい on 上書き保存 of an .m3u file: the list goes to the .m3u8 beside it, which is
    // the current file from then on; the .m3u is not touched.
    editor.SBar().Set(W(dir / "list.m3u"));
    host.alteredChoice = EditorHost::AlteredChoice::SaveAsUtf8;
    editor.OverwriteFile();
    EXPECT_EQ(TempDir::ReadBytes(dir / "list.m3u8"), utf8);
    EXPECT_FALSE(fs::exists(dir / "list.m3u"));
    EXPECT_EQ(editor.SBar().Get(), W(dir / "list.m3u8"));
    EXPECT_FALSE(editor.Modified());
    // Saved there again: no question at all, whatever the letter case of the name.
    editor.OverwriteFile();
    host.saveAnswers = {W(dir / "new.M3U8")};
    editor.NameFileSave();
    EXPECT_EQ(TempDir::ReadBytes(dir / "new.M3U8"), utf8);
    EXPECT_EQ(host.utf8Offers.size(), 1u);
    EXPECT_TRUE(host.asked.empty());

    // The .m3u8 name is another file than the one chosen: one that exists is asked about.
    host.asked.clear();
    host.answer = false;
    dir.Write("other.m3u8", "keep\r\n");
    host.saveAnswers = {W(dir / "other.txt")};
    editor.NameFileSave();
    EXPECT_EQ(host.asked, (std::vector<Q>{Q::Overwrite}));
    EXPECT_EQ(TempDir::ReadBytes(dir / "other.m3u8"), "keep\r\n");
    EXPECT_FALSE(fs::exists(dir / "other.txt"));
    host.answer = true;
    host.saveAnswers = {W(dir / "other.txt")};
    editor.NameFileSave();
    EXPECT_EQ(TempDir::ReadBytes(dir / "other.m3u8"), utf8);
    EXPECT_EQ(editor.SBar().Get(), W(dir / "other.m3u8"));
}

TEST_F(EditorTest, UnreadableCharactersAreWarnedAboutOnceWhicheverTheFile) {
    // Bytes that were not UTF-8 read as U+FFFD; saving can keep the mark, not the bytes.
    const fs::path bad = dir.Write("bad.m3u8", "ok\r\nx\xFFy\r\n");
    host.openAnswers = {W(bad)};
    editor.EditExistFile();
    EXPECT_EQ(list.Texts(), (Texts{L"ok", L"x\uFFFDy"}));
    host.answer = false;
    editor.OverwriteFile();
    EXPECT_EQ(host.asked, (std::vector<Q>{Q::UnreadableEntries}));
    EXPECT_EQ(TempDir::ReadBytes(bad), "ok\r\nx\xFFy\r\n");
    host.answer = true;
    editor.OverwriteFile();
    EXPECT_EQ(TempDir::ReadBytes(bad), "ok\r\nx\xEF\xBF\xBDy\r\n");
    // To an .m3u name UTF-8 would keep nothing more: the plain question, no offer.
    host.saveAnswers = {W(dir / "bad.m3u")};
    editor.NameFileSave();
    EXPECT_EQ(host.asked, (std::vector<Q>{Q::UnreadableEntries, Q::UnreadableEntries, Q::AlteredEntries}));
    EXPECT_EQ(host.askedCounts, (std::vector<std::size_t>{1, 1, 1}));
    EXPECT_TRUE(host.utf8Offers.empty());
    EXPECT_EQ(TempDir::ReadBytes(dir / "bad.m3u"), "ok\r\nx?y\r\n");
}

TEST_F(EditorTest, ExpandReadsSelectedListFilesInTheirEncodingAsksAboutLargeOnes) {
    const fs::path inner = dir.Write("inner.m3u", "deep\r\n");
    const fs::path three = dir.Write("three.m3u", "1\r\n" + std::string(inner.string()) + "\r\n3\r\n");
    editor.ExpFiles();  // nothing selected
    list.Append({W(three), L"plain", W(dir / "missing.m3u")});
    editor.ExpFiles();
    EXPECT_EQ(list.Count(), 3u);

    list.SetSelected(0, true);
    list.SetSelected(2, true);
    editor.ExpFiles();
    EXPECT_EQ(list.Texts(), (Texts{W(three), L"plain", W(dir / "missing.m3u"), L"1", W(inner), L"3"}));
    EXPECT_EQ(Flags(list), (std::vector<bool>{true, false, true, false, false, false}));
    // A large file is asked about on its own; cancel skips only that one.
    const fs::path big = dir.Write("big.m3u", std::string(1100001, 'x'));
    list.Assign({W(big), W(inner)});
    editor.ListAllChoice();
    host.answer = false;
    editor.ExpFiles();
    EXPECT_EQ(host.asked, (std::vector<Q>{Q::SizeOver}));
    EXPECT_EQ(list.Texts(), (Texts{W(big), W(inner), L"deep"}));
    // Add and Expand read each list in the encoding its name says.
    const fs::path utf8 = dir.Write("u.M3U8", "\xEF\xBB\xBF\xC3\xA9\r\n");
    const fs::path sjis = dir.Write("s.m3u", "\x93\xFA\r\n");
    list.Clear();
    host.openAnswers = {W(utf8)};
    editor.AddingList();
    list.Append({W(utf8), W(sjis)});
    list.SetSelected(1, true);
    list.SetSelected(2, true);
    editor.ExpFiles();
    EXPECT_EQ(list.Texts(), (Texts{L"\u00E9", W(utf8), W(sjis), L"\u00E9", L"\u65E5"}));
}

TEST_F(EditorTest, ClipboardBusyIsToldAndNothingIsLost) {
    list.Append({L"a", L"b"});
    list.SetSelected(0, true);
    host.clipboard.busy = true;
    editor.CutFromList();
    editor.PasteToList();
    EXPECT_EQ(list.Count(), 2u);
    ASSERT_EQ(host.told.size(), 2u);
    EXPECT_EQ(host.told[0].notice, N::ClipboardBusy);
}

TEST_F(EditorTest, EndingDuringADropWalkAddsNothing) {
    dir.Write("m3usetting/ext.ini", "*.mp3\r\n");
    editor.LoadExtensions(ExtIniPath(dir.path()));
    dir.Write("f/in.mp3", "x");
    host.onLetMessagesRun = [] { return false; };
    editor.DropFiles({W(dir.Write("one.mp3", "1")), W(dir / "f")});
    EXPECT_TRUE(list.Empty());
    host.onLetMessagesRun = {};
    editor.DropFiles({W(dir.Write("two.mp3", "2"))});
    EXPECT_EQ(list.Count(), 1u);
}

}  // namespace
}  // namespace listwright
