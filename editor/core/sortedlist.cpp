#include "editor/core/sortedlist.h"

#include <algorithm>
#include <iterator>

#include "editor/core/textlocale.h"

namespace listwright {
namespace {

// Equal strings keep their relative order (stable sorts and merges), as one-by-one
// insertion after their equals would.
bool Less(const std::wstring& a, const std::wstring& b) { return CompareIgnoringCase(a, b) < 0; }

}  // namespace

void SortedStringList::InsertAll(std::vector<std::wstring> texts) {
    {
        // One collation key per string, then a plain byte comparison: far fewer
        // calls into the locale than comparing pairs.
        std::vector<std::pair<std::string, std::size_t>> keyed;
        keyed.reserve(texts.size());
        for (std::size_t i = 0; i < texts.size(); ++i) keyed.emplace_back(SortKeyIgnoringCase(texts[i]), i);
        std::stable_sort(keyed.begin(), keyed.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<std::wstring> ordered;
        ordered.reserve(texts.size());
        for (const auto& k : keyed) ordered.push_back(std::move(texts[k.second]));
        texts = std::move(ordered);
    }
    if (items_.empty()) {
        items_ = std::move(texts);
        return;
    }
    std::vector<std::wstring> merged;
    merged.reserve(items_.size() + texts.size());
    std::merge(std::make_move_iterator(items_.begin()), std::make_move_iterator(items_.end()),
               std::make_move_iterator(texts.begin()), std::make_move_iterator(texts.end()),
               std::back_inserter(merged), Less);
    items_ = std::move(merged);
}

}  // namespace listwright
