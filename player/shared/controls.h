// The state-holding controls of the player. Each object holds its value and runs its
// change handler when a value set from code or by the user differs from the old one,
// so the program's routines work the same in a native test and behind a real window.
// A Win32 view binds itself through `view` and follows every change; the view reports
// the user's changes back by calling the same setters.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tessel::player {

// A value the control cannot hold (a check box value of 5, a slider value beyond its
// range, a list index past its end).
class ControlValueError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What changed, for the bound view.
enum class ControlChange {
    Value,       // caption, check value, scroll value, list index
    Range,       // scroll bar Min/Max
    Enabled,
    ToolTip,
    ItemAdded,   // index = position of the new item
    ItemRemoved, // index = position the item had
    ItemsCleared,
    Selection,   // index = the item whose selected state changed
    BatchBegin,  // many item changes follow: a view may stop redrawing
    BatchEnd,
};

class Control {
public:
    using ViewFn = std::function<void(ControlChange change, std::size_t index)>;

    Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control() = default;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const std::wstring& ToolTipText() const { return toolTip_; }
    void SetToolTipText(std::wstring text);

    // Brackets many changes (items of a list or menu) so that a view redraws once at
    // the end instead of after each.
    void BeginBatch() const { Tell(ControlChange::BatchBegin); }
    void EndBatch() const { Tell(ControlChange::BatchEnd); }

    // Set by the Win32 view that shows this control; empty for state-only controls.
    ViewFn view;

protected:
    void Tell(ControlChange change, std::size_t index = 0) const {
        if (view) view(change, index);
    }

private:
    bool enabled_ = true;
    std::wstring toolTip_;
};

class Label : public Control {
public:
    explicit Label(std::wstring designCaption = {}) : caption_(std::move(designCaption)) {}
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(std::wstring caption);
    std::function<void()> onChange;

private:
    std::wstring caption_;
};

// Value 0 (unchecked), 1 (checked) or 2 (grey); the program tests for 1.
class CheckBox : public Control {
public:
    int Value() const { return value_; }
    void SetValue(int value);
    std::function<void()> onClick;

private:
    int value_ = 0;
};

// Horizontal scroll bar with a 16-bit signed range.
class ScrollBar : public Control {
public:
    ScrollBar(int min, int max, int value);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Value() const { return value_; }
    // Values outside Min..Max are refused (ControlValueError).
    void SetValue(int value);
    // The user's move of the bar (the view's scroll messages): the change handler runs
    // with ChangedByUser() true, so it can tell the user's move from a value that code
    // sets, which must never act as if the user had moved the bar.
    void SetValueByUser(int value);
    bool ChangedByUser() const { return byUser_; }
    // A new Max below the value pulls the value down to it (running the change handler).
    void SetMax(int max);
    std::function<void()> onChange;

private:
    int min_, max_, value_;
    bool byUser_ = false;
};

// A list box. Its item indexes are 16-bit, so it holds at most kMaxItems items; adding
// beyond that is refused and the caller drops the rest.
class ListBox : public Control {
public:
    static constexpr std::size_t kMaxItems = 32767;
    // The order of a sorted list: true if `a` comes before `b`.
    using Order = std::function<bool(const std::wstring& a, const std::wstring& b)>;

    ListBox() = default;
    // A sorted list box: every item is inserted at its place in `order`, after the
    // items it does not come before.
    explicit ListBox(Order order) : order_(std::move(order)) {}

    std::size_t ListCount() const { return items_.size(); }
    const std::wstring& List(std::size_t index) const;
    const std::vector<std::wstring>& Items() const { return items_; }
    // False (and nothing added) when the list is full.
    bool AddItem(std::wstring text);
    void RemoveItem(std::size_t index);
    void Clear();

    bool Selected(std::size_t index) const;
    void SetSelected(std::size_t index, bool selected);
    // -1 for none.
    int ListIndex() const { return listIndex_; }
    void SetListIndex(int index);
    std::function<void()> onClick;

private:
    Order order_;
    std::vector<std::wstring> items_;
    std::vector<bool> selected_;
    int listIndex_ = -1;
};

// A drop-down list: a fixed set of entries and the index of the chosen one (-1 none).
class ComboBox : public Control {
public:
    std::size_t ListCount() const { return items_.size(); }
    const std::wstring& List(std::size_t index) const;
    void AddItem(std::wstring text);
    int ListIndex() const { return listIndex_; }
    // Values other than -1 and 0..ListCount-1 are refused (ControlValueError).
    void SetListIndex(int index);
    std::function<void()> onClick;

private:
    std::vector<std::wstring> items_;
    int listIndex_ = -1;
};

// A menu item of a menu control array.
struct MenuItem {
    std::wstring caption;
    bool enabled = false;
    bool visible = true;
};

// A menu control array: item 0 exists from the design, further items are loaded and
// unloaded at run time.
class MenuArray : public Control {
public:
    explicit MenuArray(MenuItem first) { items_.push_back(std::move(first)); }
    std::size_t Count() const { return items_.size(); }
    const MenuItem& Item(std::size_t index) const { return items_.at(index); }
    // Loads a new last item.
    void Load(MenuItem item);
    // Unloads every item but the first.
    void UnloadAllButFirst();
    void SetItemEnabled(std::size_t index, bool enabled);

private:
    std::vector<MenuItem> items_;
};

}  // namespace tessel::player
