#include "player/panel/panel_logic.h"

#include "player/skin/skin_paths.h"

namespace tessel::player {

Move00Target CmdMove00Target(double skinHeight, double playerWidth, double playerHeight) {
    Move00Target t;
    // The bottoms are aligned, so the shorter window's top lies below the taller's.
    t.skinTop = skinHeight > playerHeight ? 0 : playerHeight - skinHeight;
    t.skinLeft = playerWidth;
    return t;
}

void ToggleHideWindows(CheckBox& chkHide) { chkHide.SetValue(chkHide.Value() == 1 ? 0 : 1); }

void LockTransparencySliders(bool layeredAvailable, ScrollBar& skinTrans, ScrollBar& playerTrans) {
    if (layeredAvailable) return;
    playerTrans.SetEnabled(false);
    skinTrans.SetEnabled(false);
}

ListPopup LstM3u_MouseDownRule(int button, int shift, bool& listLeftButtonDown) {
    if (button == kButtonLeft) {
        listLeftButtonDown = true;
        return ListPopup::None;
    }
    if (button == kButtonRight) {
        return shift != 0 || listLeftButtonDown ? ListPopup::Favourites : ListPopup::ListMenu;
    }
    return ListPopup::None;
}

void LstM3u_MouseUpRule(bool& listLeftButtonDown) { listLeftButtonDown = false; }

namespace {
std::size_t SelectedCount(const ListBox& list) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < list.ListCount(); ++i) n += list.Selected(i) ? 1 : 0;
    return n;
}
}  // namespace

std::optional<std::wstring> SingleSelectedEntry(const ListBox& list) {
    if (SelectedCount(list) != 1) return std::nullopt;
    for (std::size_t i = 0; i < list.ListCount(); ++i) {
        if (list.Selected(i)) return list.List(i);
    }
    return std::nullopt;
}

std::optional<std::wstring> SelectedEntriesText(const ListBox& list) {
    if (SelectedCount(list) == 0) return std::nullopt;
    std::wstring text;
    for (std::size_t i = 0; i < list.ListCount(); ++i) {
        if (list.Selected(i)) text += list.List(i) + L"\r\n";
    }
    return text;
}

void DeleteSelectedEntries(ListBox& list, Label& count) {
    if (SelectedCount(list) == 0) return;
    list.BeginBatch();
    // From the bottom up, so the indexes still to be tested stay valid.
    for (std::size_t i = list.ListCount(); i-- > 0;) {
        if (list.Selected(i)) list.RemoveItem(i);
    }
    list.EndBatch();
    count.SetCaption(std::to_wstring(list.ListCount()));
}

void ClearEntries(ListBox& list, Label& count) {
    list.Clear();
    count.SetCaption(L"0");
}

HorizontalSpan ListSlideSpan(double slideLeft, double slideWidth, int value) {
    return HorizontalSpan{slideLeft - value, slideWidth + value};
}

NameScroller::NameScroller(Label& readout, const Label& holder, std::function<void(int)> setInterval)
    : readout_(readout), holder_(holder), setInterval_(std::move(setInterval)) {}

void NameScroller::SetInterval(int interval) {
    if (interval == interval_) return;
    interval_ = interval;
    if (setInterval_) setInterval_(interval);
}

void NameScroller::StartNameScroll() {
    if (interval_ == 0) SetInterval(kNameScrollInterval);
}

void NameScroller::ScrollNameLabelTick() {
    const std::wstring& text = readout_.Caption();
    if (!text.empty()) {
        // A character outside the basic plane is one character too: never split it.
        const bool pair = text.size() >= 2 && text[0] >= 0xD800 && text[0] <= 0xDBFF && text[1] >= 0xDC00 &&
                          text[1] <= 0xDFFF;
        readout_.SetCaption(text.substr(pair ? 2 : 1));
        return;
    }
    SetInterval(0);
    readout_.SetCaption(L" " + holder_.Caption());
}

void NameScroller::Stop() { SetInterval(0); }

std::wstring FavouritePath(const std::wstring& programFolder, const std::wstring& caption) {
    return JoinProgramPath(programFolder, L"fav\\" + caption);
}

void MenuFavListClick(std::size_t index, const MenuArray& menu, const std::wstring& programFolder,
                      Label& lblM3uName, const FavouriteActions& actions) {
    if (index == 0) {
        actions.rebuild();
        return;
    }
    if (index >= menu.Count()) return;
    const std::wstring path = FavouritePath(programFolder, menu.Item(index).caption);
    if (!actions.fileExists(path)) return;
    lblM3uName.SetCaption(path);
    actions.reloadList();
}

}  // namespace tessel::player
