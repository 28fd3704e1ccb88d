// A list of strings that keeps itself in the order of a sorted list box: ascending,
// letter case ignored, the user's locale. Strings that compare equal keep the order
// in which they were inserted.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace listwright {

class SortedStringList {
public:
    // Inserts at their sorted places, each after the equals already there; the same
    // result as inserting them one by one.
    void InsertAll(std::vector<std::wstring> texts);
    void Clear() { items_.clear(); }
    std::size_t Count() const { return items_.size(); }
    const std::wstring& At(std::size_t i) const { return items_.at(i); }
    const std::vector<std::wstring>& Items() const { return items_; }

private:
    std::vector<std::wstring> items_;
};

}  // namespace listwright
