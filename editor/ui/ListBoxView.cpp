#include "editor/ui/ListBoxView.h"

#include <algorithm>
#include <vector>

#include "common/flag_scope.h"
#include "win32/window.h"

namespace listwright {

using tessel::win32::RedrawOff;

ListBoxView::~ListBoxView() { Unbind(); }

void ListBoxView::Bind(EntryList& list, HWND listBox) {
    Unbind();
    list_ = &list;
    box_ = listBox;
    list_->SetListener(this);
    EntriesReset();
}

void ListBoxView::Unbind() {
    if (list_) list_->SetListener(nullptr);
    list_ = nullptr;
    box_ = nullptr;
}

bool ListBoxView::MultiSelect() const {
    return (GetWindowLongPtrW(box_, GWL_STYLE) & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL)) != 0;
}

void ListBoxView::PullSelection() {
    // Notices the list box sends while this view itself changes it are not the user's.
    if (!list_ || !box_ || applying_) return;
    std::vector<std::size_t> positions;
    if (MultiSelect()) {
        const LRESULT count = SendMessageW(box_, LB_GETSELCOUNT, 0, 0);
        if (count > 0) {
            std::vector<int> items(static_cast<std::size_t>(count));
            const LRESULT got = SendMessageW(box_, LB_GETSELITEMS, static_cast<WPARAM>(count),
                                             reinterpret_cast<LPARAM>(items.data()));
            for (LRESULT i = 0; i < got; ++i) positions.push_back(static_cast<std::size_t>(items[static_cast<std::size_t>(i)]));
        }
    } else {
        const LRESULT current = SendMessageW(box_, LB_GETCURSEL, 0, 0);
        if (current != LB_ERR) positions.push_back(static_cast<std::size_t>(current));
    }
    list_->AdoptSelection(positions);
}

void ListBoxView::AddFrom(std::size_t first) {
    const auto& entries = list_->Entries();
    for (std::size_t i = first; i < entries.size(); ++i) {
        SendMessageW(box_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entries[i].text.c_str()));
    }
}

void ListBoxView::ApplySelection() {
    const auto& entries = list_->Entries();
    const tessel::FlagScope applying(applying_);
    if (MultiSelect()) {
        // One message per run of selected entries: selecting item by item moves the
        // caret each time and costs a repaint's worth of work per entry.
        SendMessageW(box_, LB_SETSEL, FALSE, -1);
        std::size_t i = 0;
        while (i < entries.size()) {
            if (!entries[i].selected) {
                ++i;
                continue;
            }
            const std::size_t first = i;
            while (i < entries.size() && entries[i].selected) ++i;
            SendMessageW(box_, LB_SELITEMRANGEEX, first, static_cast<LPARAM>(i - 1));
        }
    } else {
        WPARAM current = static_cast<WPARAM>(-1);
        for (std::size_t k = 0; k < entries.size(); ++k) {
            if (entries[k].selected) {
                current = k;
                break;
            }
        }
        SendMessageW(box_, LB_SETCURSEL, current, 0);
    }
}

void ListBoxView::EntriesReset() {
    if (!list_ || !box_) return;
    const LRESULT top = SendMessageW(box_, LB_GETTOPINDEX, 0, 0);
    RedrawOff quiet(box_);
    SendMessageW(box_, LB_RESETCONTENT, 0, 0);
    std::size_t chars = 0;
    for (const auto& e : list_->Entries()) chars += e.text.size() + 1;
    SendMessageW(box_, LB_INITSTORAGE, list_->Count(), static_cast<LPARAM>(chars * sizeof(wchar_t)));
    AddFrom(0);
    ApplySelection();
    if (top != LB_ERR && list_->Count() > 0) {
        const std::size_t keep = std::min(static_cast<std::size_t>(top), list_->Count() - 1);
        SendMessageW(box_, LB_SETTOPINDEX, keep, 0);
    }
}

void ListBoxView::EntriesAppended(std::size_t first) {
    if (!list_ || !box_) return;
    const LRESULT top = SendMessageW(box_, LB_GETTOPINDEX, 0, 0);
    RedrawOff quiet(box_);
    AddFrom(first);
    if (top != LB_ERR) SendMessageW(box_, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}

void ListBoxView::SelectionChanged() {
    if (!list_ || !box_) return;
    const LRESULT top = SendMessageW(box_, LB_GETTOPINDEX, 0, 0);
    RedrawOff quiet(box_);
    ApplySelection();
    if (top != LB_ERR) SendMessageW(box_, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
}

}  // namespace listwright
