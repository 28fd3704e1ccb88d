#include "editor/core/listfunc.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/fileio.h"

#include "tests/support/temp_dir.h"
#include "tests/editor/fake_host.h"

namespace listwright {
namespace {

using Texts = std::vector<std::wstring>;
using testing::FakeClipboard;
using testing::Flags;

EntryList ListOf(const Texts& texts, const std::vector<std::size_t>& selected = {}) {
    EntryList list;
    list.Append(texts);
    for (std::size_t i : selected) list.SetSelected(i, true);
    return list;
}

TEST(SplitPastedText, OnlyCrLfSplitsAndEmptyPiecesGo) {
    EXPECT_EQ(SplitPastedText(L"x\r\n\r\ny"), (Texts{L"x", L"y"}));
    EXPECT_EQ(SplitPastedText(L"a\nb\nc\n"), (Texts{L"a\nb\nc\n"}));
    EXPECT_EQ(SplitPastedText(L"a\rb\r\n"), (Texts{L"a\rb"}));
    EXPECT_EQ(SplitPastedText(L"\r\n\r\n"), Texts{});
    EXPECT_EQ(SplitPastedText(L"a\r\r\nb"), (Texts{L"a\r", L"b"}));
    EXPECT_EQ(SplitPastedText(L" a \r\n"), (Texts{L" a "}));
}

// Where one entry is selected, the clipboard window test pastes before it.
TEST(Paste, AtEndNonEmptyPiecesUnselectedAtTheSelectionOnlyWithOneSelected) {
    FakeClipboard clip;
    std::wstring opeText;
    EntryList list = ListOf({L"first"}, {0});
    clip.text = L"x\r\n\r\ny";
    EXPECT_EQ(PasteAtEnd(list, opeText, clip).result, ClipResult::Done);
    EXPECT_EQ(list.Texts(), (Texts{L"first", L"x", L"y"}));
    EXPECT_EQ(Flags(list), (std::vector<bool>{true, false, false}));
    clip.text.reset();  // an image and no text
    EXPECT_EQ(PasteAtEnd(list, opeText, clip).result, ClipResult::NothingToDo);
    clip.text = L"";
    EXPECT_EQ(PasteAtEnd(list, opeText, clip).result, ClipResult::NothingToDo);
    EXPECT_EQ(list.Count(), 3u);
    clip.text = L"X\r\n";
    list.SetSelected(2, true);
    PasteAtSelection(list, opeText, clip);
    EntryList none = ListOf({L"A", L"B"});
    PasteAtSelection(none, opeText, clip);
    EXPECT_EQ(list.Count(), 3u);
    EXPECT_EQ(none.Count(), 2u);
}

TEST(Paste, IntoAFullListReportsWhatWasLeftOut) {
    FakeClipboard clip;
    std::wstring opeText;
    EntryList list = ListOf(Texts(EntryList::kMaxEntries - 1, L"e"), {0});
    clip.text = L"p\r\nq\r\nr\r\n";
    EXPECT_EQ(PasteAtEnd(list, opeText, clip).leftOut, 2u);
    EXPECT_EQ(list.Text(list.Count() - 1), L"p");
    EXPECT_EQ(PasteAtSelection(list, opeText, clip).leftOut, 3u);
    EXPECT_EQ(list.Count(), EntryList::kMaxEntries);
}

TEST(Selection, DeleteAllNoneInvert) {
    EntryList list = ListOf({L"1", L"2", L"3", L"4", L"5"}, {0, 2, 4});
    DeleteSelected(list);
    EXPECT_EQ(list.Texts(), (Texts{L"2", L"4"}));
    DeleteSelected(list);  // nothing selected now
    EXPECT_EQ(list.Count(), 2u);
    list.Append({L"6"});
    list.SetSelected(1, true);
    InvertSelection(list);
    EXPECT_EQ(Flags(list), (std::vector<bool>{true, false, true}));
    SelectAll(list);
    EXPECT_EQ(list.SelCount(), 3u);
    ClearSelection(list);
    EXPECT_EQ(list.SelCount(), 0u);
}

TEST(SelectByPattern, LowerCasesBothSidesAndReplacesTheSelection) {
    EntryList list = ListOf({L"C:\\Music\\Song.MP3", L"", L"b.mp3", L"readme.txt", L"x.mp3.bak"}, {3});
    SelectByPattern(list, L"*");
    EXPECT_EQ(list.SelCount(), 5u);
    SelectByPattern(list, L"");
    EXPECT_EQ(Flags(list), (std::vector<bool>{false, true, false, false, false}));
    SelectByPattern(list, L"*MP3");
    EXPECT_EQ(Flags(list), (std::vector<bool>{true, false, true, false, false}));
    // Not wrapped in asterisks: "mp3" alone covers no whole entry.
    SelectByPattern(list, L"mp3");
    EXPECT_EQ(list.SelCount(), 0u);
    SelectByPattern(list, L"*MUSIC*");
    EXPECT_EQ(Flags(list), (std::vector<bool>{true, false, false, false, false}));
    // Lower-casing goes beyond A to Z: ä against Ä, αβ against ΑΒ.
    list = ListOf({L"\u00C4RGER.mp3", L"\u0391\u0392.mp3", L"abc.mp3"});
    SelectByPattern(list, L"\u00E4*");
    EXPECT_EQ(Flags(list), (std::vector<bool>{true, false, false}));
    SelectByPattern(list, L"\u03B1\u03B2.MP3");
    EXPECT_EQ(Flags(list), (std::vector<bool>{false, true, false}));
}

TEST(SortByName, CaseIgnoredAllUnselectedCopyKept) {
    EntryList list = ListOf({L"b.mp3", L"A.mp3", L"c.mp3"}, {0, 2});
    SortedStringList sortTrueList;
    sortTrueList.InsertAll({L"left over from an earlier sort"});
    SortByName(list, sortTrueList);
    EXPECT_EQ(list.Texts(), (Texts{L"A.mp3", L"b.mp3", L"c.mp3"}));
    EXPECT_EQ(list.SelCount(), 0u);
    EXPECT_EQ(sortTrueList.Items(), list.Texts());
}

TEST(RemoveMissingFiles, OnlyExistingFilesStayWithTheirSelection) {
    tessel::test::TempDir dir;
    const std::wstring present = dir.Write("a.mp3", "x").wstring();
    const std::wstring folder = dir.path().wstring();
    const std::wstring missing = (dir / "gone.mp3").wstring();
    const std::wstring present2 = dir.Write("b.mp3", "y").wstring();
    EntryList list = ListOf({present, L"", folder, missing, L"#comment", present2}, {5});
    RemoveMissingFiles(list, [](const std::wstring& p) { return tessel::FileExistsExact(p); });
    EXPECT_EQ(list.Texts(), (Texts{present, present2}));
    EXPECT_EQ(Flags(list), (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace listwright
