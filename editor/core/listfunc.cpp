#include "editor/core/listfunc.h"

#include "common/wildcard.h"
#include "editor/core/textlocale.h"

namespace listwright {

std::wstring SelectedAsText(const EntryList& list) {
    std::wstring text;
    for (const EntryList::Entry& e : list.Entries()) {
        if (!e.selected) continue;
        text += e.text;
        text += L"\r\n";
    }
    return text;
}

std::vector<std::wstring> SplitPastedText(std::wstring_view text) {
    std::vector<std::wstring> pieces;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = text.find(L"\r\n", start);
        const std::size_t stop = end == std::wstring_view::npos ? text.size() : end;
        if (stop > start) pieces.emplace_back(text.substr(start, stop - start));
        if (end == std::wstring_view::npos) break;
        start = end + 2;
    }
    return pieces;
}

ClipResult CopySelected(const EntryList& list, std::wstring& opeText, ClipboardPort& clipboard) {
    if (list.Empty() || list.SelCount() == 0) return ClipResult::NothingToDo;
    opeText = SelectedAsText(list);
    const ClipboardPort::Status status = clipboard.SetText(opeText);
    opeText.clear();
    return status == ClipboardPort::Status::Ok ? ClipResult::Done : ClipResult::ClipboardBusy;
}

void DeleteSelected(EntryList& list) {
    if (list.Empty() || list.SelCount() == 0) return;
    list.RemoveWhere([&list](std::size_t i) { return list.Selected(i); });
}

ClipResult CutSelected(EntryList& list, std::wstring& opeText, ClipboardPort& clipboard) {
    if (list.Empty()) return ClipResult::NothingToDo;
    const ClipResult copied = CopySelected(list, opeText, clipboard);
    // An entry that did not reach the clipboard must not vanish from the list.
    if (copied == ClipResult::Done) DeleteSelected(list);
    return copied;
}

namespace {

// Fetches the clipboard text into `opeText`; NothingToDo when there is none or it is empty.
ClipResult FetchText(std::wstring& opeText, ClipboardPort& clipboard) {
    opeText.clear();
    const ClipboardPort::Status status = clipboard.GetText(opeText);
    if (status == ClipboardPort::Status::Busy) return ClipResult::ClipboardBusy;
    if (status == ClipboardPort::Status::NoText || opeText.empty()) return ClipResult::NothingToDo;
    return ClipResult::Done;
}

}  // namespace

PasteResult PasteAtEnd(EntryList& list, std::wstring& opeText, ClipboardPort& clipboard) {
    PasteResult r;
    r.result = FetchText(opeText, clipboard);
    if (r.result != ClipResult::Done) return r;
    std::vector<std::wstring> pieces = SplitPastedText(opeText);
    opeText.clear();
    r.leftOut = list.Append(std::move(pieces));
    return r;
}

PasteResult PasteAtSelection(EntryList& list, std::wstring& opeText, ClipboardPort& clipboard) {
    PasteResult r;
    if (list.Empty() || list.SelCount() != 1) return r;
    std::size_t p = 0;
    while (!list.Selected(p)) ++p;
    r.result = FetchText(opeText, clipboard);
    if (r.result != ClipResult::Done) return r;
    std::vector<std::wstring> pieces = SplitPastedText(opeText);
    opeText.clear();
    r.leftOut = list.InsertAt(p, std::move(pieces));
    return r;
}

void SelectAll(EntryList& list) {
    list.SetSelectionWhere([](std::size_t) { return true; });
}

void ClearSelection(EntryList& list) {
    list.SetSelectionWhere([](std::size_t) { return false; });
}

void InvertSelection(EntryList& list) {
    list.SetSelectionWhere([&list](std::size_t i) { return !list.Selected(i); });
}

void SelectByPattern(EntryList& list, std::wstring_view pattern) {
    const tessel::WildcardPattern compiled(LowerInUserLocale(pattern));
    list.SetSelectionWhere(
        [&](std::size_t i) { return compiled.Matches(LowerInUserLocale(list.Text(i))); });
}

void SortByName(EntryList& list, SortedStringList& sortTrueList) {
    if (list.Empty()) return;
    sortTrueList.Clear();
    sortTrueList.InsertAll(list.Texts());
    list.Assign(sortTrueList.Items());
}

void RemoveMissingFiles(EntryList& list, const FileExistsFn& exists) {
    list.RemoveWhere([&](std::size_t i) { return !exists(list.Text(i)); });
}

}  // namespace listwright
