#include "player/shared/controls.h"
#include "player/shared/llvariable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessel::player {
namespace {

TEST(Controls, HandlersRunOnlyWhenTheValueChanges) {
    CheckBox box;
    int clicks = 0;
    box.onClick = [&] { ++clicks; };
    box.SetValue(0);
    EXPECT_EQ(clicks, 0);
    box.SetValue(1);
    box.SetValue(1);
    EXPECT_EQ(clicks, 1);
    box.SetValue(2);
    EXPECT_EQ(clicks, 2);

    Label label(L"Now");
    std::vector<std::wstring> seen;
    label.onChange = [&] { seen.push_back(label.Caption()); };
    label.SetCaption(L"Now");
    label.SetCaption(L"0");
    label.SetCaption(L"1");
    EXPECT_EQ(seen, (std::vector<std::wstring>{L"0", L"1"}));
}

TEST(Controls, RefusedValuesLeaveTheControlAsItWasALowerMaximumPullsTheValueDown) {
    CheckBox box;
    box.SetValue(1);
    EXPECT_THROW(box.SetValue(3), ControlValueError);
    EXPECT_THROW(box.SetValue(-1), ControlValueError);
    EXPECT_EQ(box.Value(), 1);

    ScrollBar bar(0, 255, 255);
    EXPECT_THROW(bar.SetValue(256), ControlValueError);
    EXPECT_THROW(bar.SetValue(-1), ControlValueError);
    EXPECT_EQ(bar.Value(), 255);
    // Lowering the maximum pulls the value down and reports it.
    int changes = 0;
    bar.onChange = [&] { ++changes; };
    bar.SetMax(185);
    EXPECT_EQ(bar.Max(), 185);
    EXPECT_EQ(bar.Value(), 185);
    EXPECT_EQ(changes, 1);
    bar.SetMax(32767);
    EXPECT_EQ(bar.Value(), 185);
    EXPECT_THROW(bar.SetMax(32768), ControlValueError);

    ComboBox combo;
    for (int i = 0; i < 9; ++i) combo.AddItem(std::to_wstring(i));
    combo.SetListIndex(8);
    EXPECT_THROW(combo.SetListIndex(9), ControlValueError);
    EXPECT_THROW(combo.SetListIndex(-2), ControlValueError);
    EXPECT_EQ(combo.ListIndex(), 8);
    combo.SetListIndex(-1);
    EXPECT_EQ(combo.ListIndex(), -1);
}

TEST(Controls, QueueRefusesItemsBeyondSixteenBitIndexes) {
    ListBox list;
    for (std::size_t i = 0; i < ListBox::kMaxItems; ++i) {
        ASSERT_TRUE(list.AddItem(L"x"));
    }
    EXPECT_FALSE(list.AddItem(L"one too many"));
    EXPECT_EQ(list.ListCount(), 32767u);
    list.RemoveItem(0);
    EXPECT_TRUE(list.AddItem(L"fits again"));
    EXPECT_EQ(list.List(32766), L"fits again");
}

TEST(Controls, ListKeepsSelectionAndViewInStep) {
    ListBox list;
    std::vector<std::pair<ControlChange, std::size_t>> told;
    list.view = [&](ControlChange c, std::size_t i) { told.emplace_back(c, i); };
    list.AddItem(L"a");
    list.AddItem(L"b");
    list.AddItem(L"c");
    list.SetSelected(2, true);
    list.SetListIndex(2);
    list.RemoveItem(0);
    EXPECT_TRUE(list.Selected(1));
    EXPECT_EQ(list.ListIndex(), 1);
    list.RemoveItem(1);
    EXPECT_EQ(list.ListIndex(), -1);
    EXPECT_EQ(list.Items(), (std::vector<std::wstring>{L"b"}));
    EXPECT_THROW(list.List(1), ControlValueError);
    ASSERT_GE(told.size(), 5u);
    EXPECT_EQ(told[0], std::make_pair(ControlChange::ItemAdded, std::size_t{0}));
    EXPECT_EQ(told.back(), std::make_pair(ControlChange::ItemRemoved, std::size_t{1}));
}

}  // namespace
}  // namespace tessel::player
