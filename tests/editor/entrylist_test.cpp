#include "editor/core/entrylist.h"

#include <gtest/gtest.h>

#include "editor/core/sortedlist.h"

namespace listwright {
namespace {

using Texts = std::vector<std::wstring>;

Texts Numbered(std::size_t n, const std::wstring& prefix = L"e") {
    Texts t;
    for (std::size_t i = 0; i < n; ++i) t.push_back(prefix + std::to_wstring(i));
    return t;
}

struct CountingListener : EntryList::Listener {
    int resets = 0, selections = 0;
    std::vector<std::size_t> appendedFrom;
    void EntriesReset() override { ++resets; }
    void EntriesAppended(std::size_t first) override { appendedFrom.push_back(first); }
    void SelectionChanged() override { ++selections; }
};

TEST(EntryListCapacity, EveryWayOfAddingStopsAt32767AndCountsTheRest) {
    EntryList list;
    EXPECT_EQ(list.Assign(Numbered(40000)), 40000u - 32767u);
    EXPECT_EQ(list.Count(), 32767u);
    EXPECT_EQ(list.Text(32766), L"e32766");
    EXPECT_EQ(list.Append({L"x"}), 1u);
    EXPECT_EQ(list.InsertAt(0, {L"y", L"z"}), 2u);
    EXPECT_EQ(list.Text(0), L"e0");

    list.Assign(Numbered(32760));
    EXPECT_EQ(list.Append(Numbered(10, L"a")), 3u);
    EXPECT_EQ(list.Count(), 32767u);
    EXPECT_EQ(list.Text(32766), L"a6");  // the first pieces are the ones kept

    list.Assign(Numbered(32765));
    EXPECT_EQ(list.InsertAt(1, {L"p", L"q", L"r"}), 1u);
    EXPECT_EQ(list.Text(1), L"p");
    EXPECT_EQ(list.Text(2), L"q");
    EXPECT_EQ(list.Text(3), L"e1");
}

TEST(EntryListViewNotice, AppendsAreTold_AsAppends_OtherChangesAsResets) {
    EntryList list;
    CountingListener view;
    list.SetListener(&view);
    list.Append({L"a", L"b"});
    list.Append({L"c"});
    EXPECT_EQ(view.appendedFrom, (std::vector<std::size_t>{0, 2}));
    list.Append({});
    EXPECT_EQ(view.appendedFrom.size(), 2u);  // nothing added, nothing told

    list.SetSelected(1, true);
    list.SetSelected(1, true);  // unchanged: no second notice
    EXPECT_EQ(view.selections, 1);
    list.SetSelectionWhere([](std::size_t) { return false; });
    EXPECT_EQ(view.selections, 2);

    list.InsertAt(0, {L"z"});
    list.RemoveWhere([](std::size_t i) { return i == 0; });
    list.RemoveWhere([](std::size_t) { return false; });  // nothing removed: no notice
    EXPECT_EQ(view.resets, 2);
    // A full list told about an append of nothing would make the view add a phantom row.
    list.Assign(Numbered(32767));
    const auto before = view.appendedFrom.size();
    list.Append({L"over"});
    EXPECT_EQ(view.appendedFrom.size(), before);
}

TEST(EntryListRemove, KeepsOrderAndSelectionOfTheRest) {
    EntryList list;
    list.Append({L"a", L"b", L"c", L"d"});
    list.SetSelected(2, true);
    list.SetSelected(3, true);
    list.RemoveWhere([](std::size_t i) { return i == 0 || i == 3; });
    EXPECT_EQ(list.Texts(), (Texts{L"b", L"c"}));
    EXPECT_FALSE(list.Selected(0));
    EXPECT_TRUE(list.Selected(1));

    list.AdoptSelection({0, 7});  // a position past the end is ignored
    EXPECT_TRUE(list.Selected(0));
    EXPECT_FALSE(list.Selected(1));
}

TEST(SortedStringList, AscendingIgnoringCaseEqualsKeepInsertionOrder) {
    SortedStringList sorted;
    sorted.InsertAll({L"b.mp3"});  // one at a time: each merged with what is there
    sorted.InsertAll({L"A.mp3"});
    sorted.InsertAll({L"c.mp3"});
    EXPECT_EQ(sorted.Items(), (Texts{L"A.mp3", L"b.mp3", L"c.mp3"}));

    SortedStringList one, bulk;
    const Texts input{L"*.MP3", L"*.wav", L"*.mp3", L"*.AVI", L"*.Mp3", L"*.avi"};
    for (const auto& s : input) one.InsertAll({s});
    bulk.InsertAll(input);
    EXPECT_EQ(one.Items(), bulk.Items());
    EXPECT_EQ(one.Items(), (Texts{L"*.AVI", L"*.avi", L"*.MP3", L"*.mp3", L"*.Mp3", L"*.wav"}));
    // The keys of a bulk sort order exactly as the pairwise comparison does.
    const Texts mixed{L"b", L"B", L"a b", L"ab", L"a-b", L"A", L"\u00E4", L"z", L"10", L"9", L"", L" "};
    SortedStringList pairwise, keyed;
    for (const auto& s : mixed) pairwise.InsertAll({s});
    keyed.InsertAll(mixed);
    EXPECT_EQ(pairwise.Items(), keyed.Items());
    // A bulk insert into a list that already holds equals puts the new ones after them.
    bulk.InsertAll({L"*.WAV"});
    EXPECT_EQ(bulk.At(6), L"*.WAV");
}

}  // namespace
}  // namespace listwright
