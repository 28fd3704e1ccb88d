// The edited list of the editor: an ordered run of entries, each a string with a
// selected flag. This object holds the list; the window's list box only shows it. The
// view learns of every change through Listener and copies what the user selects back
// with AdoptSelection, so every routine works on this object alone.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace listwright {

class EntryList {
public:
    // List positions of the editor are 16-bit signed numbers.
    static constexpr std::size_t kMaxEntries = 32767;

    struct Entry {
        std::wstring text;
        bool selected = false;
    };

    class Listener {
    public:
        virtual ~Listener() = default;
        // Anything may have changed: entries, order and selection.
        virtual void EntriesReset() = 0;
        // Entries were added at the end, from `first` on, unselected; nothing else changed.
        virtual void EntriesAppended(std::size_t first) = 0;
        // Only selected flags changed.
        virtual void SelectionChanged() = 0;
    };

    void SetListener(Listener* listener) { listener_ = listener; }

    std::size_t Count() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }
    std::size_t Room() const { return kMaxEntries - entries_.size(); }
    const std::wstring& Text(std::size_t i) const { return entries_.at(i).text; }
    bool Selected(std::size_t i) const { return entries_.at(i).selected; }
    std::size_t SelCount() const;
    std::vector<std::wstring> Texts() const;
    const std::vector<Entry>& Entries() const { return entries_; }

    // Adding never goes beyond kMaxEntries: what does not fit is left out, and the
    // number left out is returned so that the command can say so.
    std::size_t Append(std::vector<std::wstring> texts);
    std::size_t InsertAt(std::size_t position, std::vector<std::wstring> texts);
    // Replaces every entry (all unselected).
    std::size_t Assign(std::vector<std::wstring> texts);

    void Clear();
    // Removes every entry for which `remove(index)` is true; the others keep their
    // order and selection.
    void RemoveWhere(const std::function<bool(std::size_t)>& remove);

    void SetSelected(std::size_t i, bool selected);
    // Sets every flag from `flags(index)` and tells the view once.
    void SetSelectionWhere(const std::function<bool(std::size_t)>& flags);
    // Takes over a selection the user made in the view; the view already shows it.
    void AdoptSelection(const std::vector<std::size_t>& selectedPositions);

private:
    void NotifyReset();
    void NotifyAppended(std::size_t first);
    void NotifySelection();

    std::vector<Entry> entries_;
    Listener* listener_ = nullptr;
};

}  // namespace listwright
