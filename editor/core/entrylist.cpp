#include "editor/core/entrylist.h"

#include <algorithm>
#include <iterator>

namespace listwright {

std::size_t EntryList::SelCount() const {
    return static_cast<std::size_t>(
        std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.selected; }));
}

std::vector<std::wstring> EntryList::Texts() const {
    std::vector<std::wstring> texts;
    texts.reserve(entries_.size());
    for (const Entry& e : entries_) texts.push_back(e.text);
    return texts;
}

std::size_t EntryList::Append(std::vector<std::wstring> texts) {
    if (texts.empty()) return 0;
    const std::size_t first = entries_.size();
    const std::size_t taken = std::min(texts.size(), Room());
    entries_.reserve(first + taken);
    for (std::size_t i = 0; i < taken; ++i) entries_.push_back(Entry{std::move(texts[i]), false});
    if (taken > 0) NotifyAppended(first);
    return texts.size() - taken;
}

std::size_t EntryList::InsertAt(std::size_t position, std::vector<std::wstring> texts) {
    if (texts.empty()) return 0;
    position = std::min(position, entries_.size());
    const std::size_t taken = std::min(texts.size(), Room());
    std::vector<Entry> inserted;
    inserted.reserve(taken);
    for (std::size_t i = 0; i < taken; ++i) inserted.push_back(Entry{std::move(texts[i]), false});
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(position),
                    std::make_move_iterator(inserted.begin()), std::make_move_iterator(inserted.end()));
    if (taken > 0) NotifyReset();
    return texts.size() - taken;
}

std::size_t EntryList::Assign(std::vector<std::wstring> texts) {
    entries_.clear();
    const std::size_t taken = std::min(texts.size(), kMaxEntries);
    entries_.reserve(taken);
    for (std::size_t i = 0; i < taken; ++i) entries_.push_back(Entry{std::move(texts[i]), false});
    NotifyReset();
    return texts.size() - taken;
}

void EntryList::Clear() {
    if (entries_.empty()) return;
    entries_.clear();
    NotifyReset();
}

void EntryList::RemoveWhere(const std::function<bool(std::size_t)>& remove) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (remove(i)) continue;
        if (kept != i) entries_[kept] = std::move(entries_[i]);
        ++kept;
    }
    if (kept == entries_.size()) return;
    entries_.resize(kept);
    NotifyReset();
}

void EntryList::SetSelected(std::size_t i, bool selected) {
    Entry& e = entries_.at(i);
    if (e.selected == selected) return;
    e.selected = selected;
    NotifySelection();
}

void EntryList::SetSelectionWhere(const std::function<bool(std::size_t)>& flags) {
    bool changed = false;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const bool want = flags(i);
        if (entries_[i].selected != want) {
            entries_[i].selected = want;
            changed = true;
        }
    }
    if (changed) NotifySelection();
}

void EntryList::AdoptSelection(const std::vector<std::size_t>& selectedPositions) {
    for (Entry& e : entries_) e.selected = false;
    for (std::size_t p : selectedPositions) {
        if (p < entries_.size()) entries_[p].selected = true;
    }
}

void EntryList::NotifyReset() {
    if (listener_) listener_->EntriesReset();
}
void EntryList::NotifyAppended(std::size_t first) {
    if (listener_) listener_->EntriesAppended(first);
}
void EntryList::NotifySelection() {
    if (listener_) listener_->SelectionChanged();
}

}  // namespace listwright
