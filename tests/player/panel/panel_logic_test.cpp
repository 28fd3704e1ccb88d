// The control panel's rules on the state-holding controls alone.
#include "player/panel/panel_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tessel::player {
namespace {

void Fill(ListBox& list, const std::vector<std::wstring>& items, const std::vector<std::size_t>& selected) {
    for (const auto& item : items) list.AddItem(item);
    for (std::size_t i : selected) list.SetSelected(i, true);
}

TEST(CmdMove00, TheTallerWindowTakesTheTopTheBottomsAligned) {
    // Skin 200 twips taller than the body window; taller body (bottoms aligned, the body
    // window's top at 0); equal heights take the second case.
    const Move00Target t = CmdMove00Target(1445, 1440, 1245);
    EXPECT_EQ(t.skinTop, 0);
    EXPECT_EQ(t.skinLeft, 1440);
    EXPECT_EQ(CmdMove00Target(900, 1440, 1245).skinTop, 345);
    EXPECT_EQ(CmdMove00Target(900, 1440, 1245).skinLeft, 1440);
    EXPECT_EQ(CmdMove00Target(1245, 1440, 1245).skinTop, 0);
}

TEST(ToggleHideWindows, GreyStateCountsAsOffAndEveryChangeRunsTheHandler) {
    CheckBox hide;
    std::vector<int> seen;
    hide.onClick = [&] { seen.push_back(hide.Value()); };
    ToggleHideWindows(hide);
    ToggleHideWindows(hide);
    hide.SetValue(2);
    ToggleHideWindows(hide);
    EXPECT_EQ(seen, (std::vector<int>{1, 0, 2, 1}));
}

TEST(LockTransparencySliders, DisablesBothOnlyWithoutLayeredWindows) {
    ScrollBar skin(0, 255, 255), player(0, 255, 128);
    LockTransparencySliders(true, skin, player);
    EXPECT_TRUE(skin.Enabled());
    EXPECT_TRUE(player.Enabled());
    LockTransparencySliders(false, skin, player);
    EXPECT_FALSE(skin.Enabled());
    EXPECT_FALSE(player.Enabled());
    EXPECT_EQ(player.Value(), 128);  // the saved value stays shown
}

TEST(ListRightClick, ModifiersOrTheHeldLeftButtonOpenTheFavourites) {
    struct Case {
        int button, shift;
        bool heldBefore;
        ListPopup popup;
        bool heldAfter;
    };
    const Case cases[] = {
        {kButtonRight, 0, false, ListPopup::ListMenu, false},
        {kButtonRight, kShiftMask, false, ListPopup::Favourites, false},
        {kButtonRight, kCtrlMask, false, ListPopup::Favourites, false},
        {kButtonRight, kAltMask, false, ListPopup::Favourites, false},
        {kButtonRight, 0, true, ListPopup::Favourites, true},
        {kButtonLeft, kShiftMask, false, ListPopup::None, true},
        {4, 0, false, ListPopup::None, false},  // middle button: nothing
    };
    for (const Case& c : cases) {
        bool held = c.heldBefore;
        EXPECT_EQ(LstM3u_MouseDownRule(c.button, c.shift, held), c.popup) << c.button << "/" << c.shift;
        EXPECT_EQ(held, c.heldAfter);
    }
    bool held = true;
    LstM3u_MouseUpRule(held);
    EXPECT_EQ(held, false);
}

TEST(ListCommands, CopyDeletePlayClearAndPan) {
    ListBox list;
    Label count(L"4");
    Fill(list, {L"a", L"b", L"c", L"d"}, {0, 3});
    EXPECT_EQ(SelectedEntriesText(list), std::wstring(L"a\r\nd\r\n"));
    EXPECT_FALSE(SingleSelectedEntry(list).has_value());
    // Delete goes bottom up: adjacent selections removed top-down would skip the second.
    list.SetSelected(2, true);
    DeleteSelectedEntries(list, count);
    EXPECT_EQ(list.Items(), (std::vector<std::wstring>{L"b"}));
    EXPECT_EQ(count.Caption(), L"1");
    // Nothing selected: no text, and nothing changes, not even the count.
    EXPECT_FALSE(SelectedEntriesText(list).has_value());
    count.SetCaption(L"x");
    DeleteSelectedEntries(list, count);
    EXPECT_EQ(list.ListCount(), 1u);
    EXPECT_EQ(count.Caption(), L"x");
    Fill(list, {L"c", L"d"}, {1});
    EXPECT_EQ(SingleSelectedEntry(list), std::wstring(L"c"));
    ClearEntries(list, count);
    EXPECT_EQ(list.ListCount(), 0u);
    EXPECT_EQ(count.Caption(), L"0");
    // Panning keeps the right edge and comes back at zero.
    EXPECT_EQ(ListSlideSpan(120, 6255, 0), (HorizontalSpan{120, 6255}));
    const HorizontalSpan wide = ListSlideSpan(120, 6255, kListSlideMax);
    EXPECT_EQ(wide, (HorizontalSpan{-1880, 8255}));
    EXPECT_EQ(wide.left + wide.width, 120 + 6255);
}

struct ScrollFixture {
    Label readout, holder;
    std::vector<int> timer;
    NameScroller scroller{readout, holder, [this](int interval) { timer.push_back(interval); }};
    // The name in its holder, the read-out as the panel shows it, and a double click.
    void Start(const wchar_t* name, const wchar_t* shown) {
        holder.SetCaption(name);
        readout.SetCaption(shown);
        scroller.StartNameScroll();
    }
};

TEST(NameScroll, EightCharacterPathLeavesInNineTicksAndComesBackAtTheTenth) {
    ScrollFixture f;
    f.Start(L"C:\\a.m3u", L" C:\\a.m3u");
    EXPECT_EQ(f.scroller.Interval(), kNameScrollInterval);
    f.scroller.ScrollNameLabelTick();
    EXPECT_EQ(f.readout.Caption(), L"C:\\a.m3u");
    f.scroller.ScrollNameLabelTick();
    EXPECT_EQ(f.readout.Caption(), L":\\a.m3u");
    for (int i = 3; i <= 9; ++i) f.scroller.ScrollNameLabelTick();
    EXPECT_EQ(f.readout.Caption(), L"");
    EXPECT_EQ(f.scroller.Interval(), kNameScrollInterval);
    f.scroller.ScrollNameLabelTick();
    EXPECT_EQ(f.readout.Caption(), L" C:\\a.m3u");
    EXPECT_EQ(f.scroller.Interval(), 0);
    EXPECT_EQ(f.timer, (std::vector<int>{300, 0}));
}

TEST(NameScroll, SecondDoubleClickChangesNothingAndTheRestoreRereadsTheHolder) {
    ScrollFixture f;
    f.Start(L"ab", L" ab");
    f.scroller.ScrollNameLabelTick();
    f.scroller.StartNameScroll();
    EXPECT_EQ(f.readout.Caption(), L"ab");
    EXPECT_EQ(f.timer, (std::vector<int>{300}));
    f.holder.SetCaption(L"new");
    f.scroller.ScrollNameLabelTick();
    f.scroller.ScrollNameLabelTick();
    f.scroller.ScrollNameLabelTick();
    EXPECT_EQ(f.readout.Caption(), L" new");
    // A pass after the pass starts again; a character beyond the basic plane leaves whole.
    f.readout.SetCaption(L"\U0001F3B5x");
    f.scroller.StartNameScroll();
    EXPECT_EQ(f.scroller.Interval(), kNameScrollInterval);
    f.scroller.ScrollNameLabelTick();
    EXPECT_EQ(f.readout.Caption(), L"x");
    f.scroller.Stop();
    EXPECT_EQ(f.scroller.Interval(), 0);
    EXPECT_EQ(f.readout.Caption(), L"x");
}

// "更新する" and a pick on the real menu: the panel test under Wine.
TEST(Favourites, AVanishedFileKeepsTheListAndAPickJoinsTheFolderOnce) {
    MenuArray menu(MenuItem{L"更新する", true, true});
    menu.Load(MenuItem{L"a.m3u", true, true});
    menu.Load(MenuItem{L"gone.m3u", true, true});
    Label current(L"C:\\old.m3u");
    int reloaded = 0;
    FavouriteActions actions;
    actions.fileExists = [&](const std::wstring& p) { return p.find(L"gone") == std::wstring::npos; };
    actions.rebuild = [] {};
    actions.reloadList = [&] { ++reloaded; };
    MenuFavListClick(2, menu, L"C:\\prog", current, actions);
    EXPECT_EQ(current.Caption(), L"C:\\old.m3u");
    EXPECT_EQ(reloaded, 0);
    MenuFavListClick(1, menu, L"C:\\prog\\", current, actions);
    EXPECT_EQ(current.Caption(), L"C:\\prog\\fav\\a.m3u");
    EXPECT_EQ(reloaded, 1);
}

}  // namespace
}  // namespace tessel::player
