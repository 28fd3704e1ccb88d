#include "editor/core/sortedlist.h"

#include <algorithm>
#include <iterator>

#include "editor/core/textlocale.h"

namespace listwright {
namespace {

// Collation keys are expensive on Windows, so a bulk insert sorts once with the same
// comparison; equal strings keep their relative order (a stable sort), as one-by-one
// insertion after their equals would.
bool Less(const std::wstring& a, const std::wstring& b) { return CompareIgnoringCase(a, b) < 0; }

}  // namespace

std::size_t SortedStringList::Insert(std::wstring text) {
    const auto at = std::upper_bound(items_.begin(), items_.end(), text, Less);
    const auto index = static_cast<std::size_t>(at - items_.begin());
    items_.insert(at, std::move(text));
    return index;
}

void SortedStringList::InsertAll(std::vector<std::wstring> texts) {
    std::stable_sort(texts.begin(), texts.end(), Less);
    std::vector<std::wstring> merged;
    merged.reserve(items_.size() + texts.size());
    std::merge(std::make_move_iterator(items_.begin()), std::make_move_iterator(items_.end()),
               std::make_move_iterator(texts.begin()), std::make_move_iterator(texts.end()),
               std::back_inserter(merged), Less);
    items_ = std::move(merged);
}

void SortedStringList::RemoveAt(std::size_t i) {
    if (i < items_.size()) items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(i));
}

}  // namespace listwright
