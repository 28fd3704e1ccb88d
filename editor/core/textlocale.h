// Lower-casing and collation in the user's locale. The editor's sorted lists and its
// pattern selection go through these two calls, so the Windows program and the native
// tests share every routine that uses them.
#pragma once

#include <string>
#include <string_view>

namespace listwright {

// The text in lower case, by the rules of the user's locale.
std::wstring LowerInUserLocale(std::wstring_view text);

// <0, 0 or >0: the order of a sorted list box, letter case ignored, the user's locale.
int CompareIgnoringCase(std::wstring_view a, std::wstring_view b);

// A byte string whose plain byte order is the order of CompareIgnoringCase: sorting
// many strings computes one key each instead of comparing them pairwise.
std::string SortKeyIgnoringCase(std::wstring_view text);

}  // namespace listwright
