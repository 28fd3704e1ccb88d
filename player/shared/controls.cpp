#include "player/shared/controls.h"

#include <algorithm>
#include <string>

#include "common/flag_scope.h"

namespace tessel::player {
namespace {

// A list's new index, -1 for none: whether it changed; an index past the items throws.
bool ChangeListIndex(int& listIndex, int index, std::size_t count) {
    if (index < -1 || index >= static_cast<int>(count)) {
        throw ControlValueError("list index " + std::to_string(index) + " out of range");
    }
    if (listIndex == index) return false;
    listIndex = index;
    return true;
}

}  // namespace

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Tell(ControlChange::Enabled);
}

void Control::SetToolTipText(std::wstring text) {
    if (toolTip_ == text) return;
    toolTip_ = std::move(text);
    Tell(ControlChange::ToolTip);
}

void Label::SetCaption(std::wstring caption) {
    if (caption_ == caption) return;
    caption_ = std::move(caption);
    Tell(ControlChange::Value);
    if (onChange) onChange();
}

void CheckBox::SetValue(int value) {
    if (value < 0 || value > 2) {
        throw ControlValueError("check box value " + std::to_string(value) + " is not 0, 1 or 2");
    }
    if (value_ == value) return;
    value_ = value;
    Tell(ControlChange::Value);
    if (onClick) onClick();
}

ScrollBar::ScrollBar(int min, int max, int value) : min_(min), max_(max), value_(value) {
    if (min < INT16_MIN || max > INT16_MAX || min > max || value < min || value > max) {
        throw ControlValueError("scroll bar design values out of range");
    }
}

void ScrollBar::SetValue(int value) {
    if (value < min_ || value > max_) {
        throw ControlValueError("scroll bar value " + std::to_string(value) + " outside " +
                                std::to_string(min_) + ".." + std::to_string(max_));
    }
    if (value_ == value) return;
    value_ = value;
    Tell(ControlChange::Value);
    if (onChange) onChange();
}

void ScrollBar::SetValueByUser(int value) {
    const FlagScope byUser(byUser_);
    SetValue(value);
}

void ScrollBar::SetMax(int max) {
    if (max < min_ || max > INT16_MAX) {
        throw ControlValueError("scroll bar maximum " + std::to_string(max) + " out of range");
    }
    if (max_ == max) return;
    max_ = max;
    Tell(ControlChange::Range);
    if (value_ > max_) SetValue(max_);
}

const std::wstring& ListBox::List(std::size_t index) const {
    if (index >= items_.size()) throw ControlValueError("list index past the end");
    return items_[index];
}

bool ListBox::AddItem(std::wstring text) {
    if (items_.size() >= kMaxItems) return false;
    std::size_t at = items_.size();
    if (order_) {
        // A sorted list box keeps its items in its order as they are added.
        at = static_cast<std::size_t>(std::upper_bound(items_.begin(), items_.end(), text, order_) -
                                      items_.begin());
    }
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(at), std::move(text));
    selected_.insert(selected_.begin() + static_cast<std::ptrdiff_t>(at), false);
    if (listIndex_ >= static_cast<int>(at)) ++listIndex_;
    Tell(ControlChange::ItemAdded, at);
    return true;
}

void ListBox::RemoveItem(std::size_t index) {
    if (index >= items_.size()) throw ControlValueError("list index past the end");
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(index));
    selected_.erase(selected_.begin() + static_cast<std::ptrdiff_t>(index));
    if (listIndex_ == static_cast<int>(index)) {
        listIndex_ = -1;
    } else if (listIndex_ > static_cast<int>(index)) {
        --listIndex_;
    }
    Tell(ControlChange::ItemRemoved, index);
}

void ListBox::Clear() {
    if (items_.empty()) return;
    items_.clear();
    selected_.clear();
    listIndex_ = -1;
    Tell(ControlChange::ItemsCleared);
}

bool ListBox::Selected(std::size_t index) const {
    if (index >= items_.size()) throw ControlValueError("list index past the end");
    return selected_[index];
}

void ListBox::SetSelected(std::size_t index, bool selected) {
    if (index >= items_.size()) throw ControlValueError("list index past the end");
    if (selected_[index] == selected) return;
    selected_[index] = selected;
    Tell(ControlChange::Selection, index);
}

void ListBox::SetListIndex(int index) {
    if (!ChangeListIndex(listIndex_, index, items_.size())) return;
    Tell(ControlChange::Value);
    if (onClick) onClick();
}

const std::wstring& ComboBox::List(std::size_t index) const {
    if (index >= items_.size()) throw ControlValueError("list index past the end");
    return items_[index];
}

void ComboBox::AddItem(std::wstring text) {
    items_.push_back(std::move(text));
    Tell(ControlChange::ItemAdded, items_.size() - 1);
}

void ComboBox::SetListIndex(int index) {
    if (!ChangeListIndex(listIndex_, index, items_.size())) return;
    Tell(ControlChange::Value);
    if (onClick) onClick();
}

void MenuArray::Load(MenuItem item) {
    items_.push_back(std::move(item));
    Tell(ControlChange::ItemAdded, items_.size() - 1);
}

void MenuArray::UnloadAllButFirst() {
    if (items_.size() <= 1) return;
    Tell(ControlChange::BatchBegin);
    while (items_.size() > 1) {
        items_.pop_back();
        Tell(ControlChange::ItemRemoved, items_.size());
    }
    Tell(ControlChange::BatchEnd);
}

void MenuArray::SetItemEnabled(std::size_t index, bool enabled) {
    MenuItem& item = items_.at(index);
    if (item.enabled == enabled) return;
    item.enabled = enabled;
    Tell(ControlChange::Enabled, index);
}

}  // namespace tessel::player
