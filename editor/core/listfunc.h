// The editor's routines on the list: selection, clipboard text, sorting and pruning.
// Each works on the list object and the work buffers it is given, never on a window.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/clipboard.h"
#include "editor/core/entrylist.h"
#include "editor/core/sortedlist.h"

namespace listwright {

// The list's text form: each selected entry followed by CR LF.
std::wstring SelectedAsText(const EntryList& list);
// Pasted text split at every CR LF; empty pieces dropped; a lone CR or LF stays.
std::vector<std::wstring> SplitPastedText(std::wstring_view text);

enum class ClipResult { Done, NothingToDo, ClipboardBusy };

// Copies the selected entries; with nothing selected the clipboard stays as it was.
ClipResult CopySelected(const EntryList& list, std::wstring& opeText, ClipboardPort& clipboard);
void DeleteSelected(EntryList& list);
// Removes the selected entries only once they are safely on the clipboard.
ClipResult CutSelected(EntryList& list, std::wstring& opeText, ClipboardPort& clipboard);

struct PasteResult {
    ClipResult result = ClipResult::NothingToDo;
    std::size_t leftOut = 0;  // pieces that did not fit in the list
};
PasteResult PasteAtEnd(EntryList& list, std::wstring& opeText, ClipboardPort& clipboard);
// Inserts the pieces where the one selected entry stands; that entry follows them and
// stays selected. Needs exactly one selected entry.
PasteResult PasteAtSelection(EntryList& list, std::wstring& opeText, ClipboardPort& clipboard);

void SelectAll(EntryList& list);
void ClearSelection(EntryList& list);
void InvertSelection(EntryList& list);
// Both sides lower-cased in the user's locale; the pattern must cover whole entries.
// The new selection replaces the old one.
void SelectByPattern(EntryList& list, std::wstring_view pattern);

// Rebuilds the list in the sorted order through `sortTrueList`; all unselected.
void SortByName(EntryList& list, SortedStringList& sortTrueList);

// Removes every entry that does not name an existing file (folders, empty entries
// and comments included); the rest keep order and selection.
using FileExistsFn = std::function<bool(const std::wstring&)>;
void RemoveMissingFiles(EntryList& list, const FileExistsFn& exists);

}  // namespace listwright
