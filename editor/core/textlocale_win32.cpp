// The Windows half of the locale services: the same calls the platform's own sorted
// list box and lower-casing use.
#include "editor/core/textlocale.h"

#include <windows.h>

#include <climits>

namespace listwright {

std::wstring LowerInUserLocale(std::wstring_view text) {
    if (text.empty()) return {};
    if (text.size() > static_cast<std::size_t>(INT_MAX)) return std::wstring(text);
    const int length = static_cast<int>(text.size());
    const int needed = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_LOWERCASE, text.data(), length,
                                     nullptr, 0, nullptr, nullptr, 0);
    if (needed <= 0) return std::wstring(text);
    std::wstring lowered(static_cast<std::size_t>(needed), L'\0');
    const int written = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, LCMAP_LOWERCASE, text.data(), length,
                                      lowered.data(), needed, nullptr, nullptr, 0);
    if (written <= 0) return std::wstring(text);
    lowered.resize(static_cast<std::size_t>(written));
    return lowered;
}

int CompareIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() <= static_cast<std::size_t>(INT_MAX) && b.size() <= static_cast<std::size_t>(INT_MAX)) {
        const int result = CompareStringEx(LOCALE_NAME_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                                           static_cast<int>(a.size()), b.data(),
                                           static_cast<int>(b.size()), nullptr, nullptr, 0);
        if (result != 0) return result - CSTR_EQUAL;
    }
    // Only reached if the system refuses the comparison: fall back to code order of the
    // lowered text so that the sort still has a consistent order.
    const std::wstring la = LowerInUserLocale(a), lb = LowerInUserLocale(b);
    return la.compare(lb) < 0 ? -1 : (la == lb ? 0 : 1);
}

std::string SortKeyIgnoringCase(std::wstring_view text) {
    if (text.size() <= static_cast<std::size_t>(INT_MAX)) {
        const int length = static_cast<int>(text.size());
        const DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
        const int needed = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text.data(), length, nullptr, 0,
                                         nullptr, nullptr, 0);
        if (needed > 0) {
            std::string key(static_cast<std::size_t>(needed), '\0');
            const int written = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text.data(), length,
                                              reinterpret_cast<LPWSTR>(key.data()), needed, nullptr, nullptr, 0);
            if (written > 0) {
                // The key ends with a NUL byte that orders nothing.
                key.resize(static_cast<std::size_t>(written));
                while (!key.empty() && key.back() == '\0') key.pop_back();
                return key;
            }
        }
    }
    // The system refused: order by the code units of the lowered text, big-endian so
    // that byte order is code order.
    std::string key;
    for (wchar_t c : LowerInUserLocale(text)) {
        key.push_back(static_cast<char>((static_cast<unsigned>(c) >> 8) & 0xFF));
        key.push_back(static_cast<char>(static_cast<unsigned>(c) & 0xFF));
    }
    return key;
}

}  // namespace listwright
