// Shows an EntryList in a list box and copies the user's selection back. Filling is
// done with redraw off (win32::RedrawOff), so tens of thousands of entries appear in
// one repaint.
#pragma once

#include <windows.h>

#include "editor/core/entrylist.h"

namespace listwright {

class ListBoxView final : public EntryList::Listener {
public:
    ListBoxView() = default;
    ListBoxView(const ListBoxView&) = delete;
    ListBoxView& operator=(const ListBoxView&) = delete;
    ~ListBoxView() override;

    void Bind(EntryList& list, HWND listBox);
    void Unbind();
    // Takes the selection the user made in the list box into the list.
    void PullSelection();

    void EntriesReset() override;
    void EntriesAppended(std::size_t first) override;
    void SelectionChanged() override;

private:
    bool MultiSelect() const;
    void AddFrom(std::size_t first);
    void ApplySelection();

    EntryList* list_ = nullptr;
    HWND box_ = nullptr;
    bool applying_ = false;
};

}  // namespace listwright
