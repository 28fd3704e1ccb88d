// The POSIX half of the locale services, for the native test build: the C library's
// wide-character case mapping and collation in the environment's locale (C.UTF-8 when
// the environment names none that exists).
#include "editor/core/textlocale.h"

#include <locale.h>
#include <wchar.h>
#include <wctype.h>

#include <cstdint>

namespace listwright {
namespace {

locale_t UserLocale() {
    static const locale_t loc = [] {
        locale_t l = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(0));
        if (l == static_cast<locale_t>(0)) l = newlocale(LC_ALL_MASK, "C.UTF-8", static_cast<locale_t>(0));
        return l;
    }();
    return loc;
}

}  // namespace

std::wstring LowerInUserLocale(std::wstring_view text) {
    std::wstring out(text);
    const locale_t loc = UserLocale();
    for (wchar_t& c : out) {
        c = static_cast<wchar_t>(loc ? towlower_l(static_cast<wint_t>(c), loc) : towlower(static_cast<wint_t>(c)));
    }
    return out;
}

int CompareIgnoringCase(std::wstring_view a, std::wstring_view b) {
    const std::wstring la = LowerInUserLocale(a), lb = LowerInUserLocale(b);
    const locale_t loc = UserLocale();
    // wcscoll stops at NUL; entries never hold one (they come from text lines).
    const int r = loc ? wcscoll_l(la.c_str(), lb.c_str(), loc) : wcscmp(la.c_str(), lb.c_str());
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

std::string SortKeyIgnoringCase(std::wstring_view text) {
    const std::wstring lowered = LowerInUserLocale(text);
    const locale_t loc = UserLocale();
    std::wstring transformed;
    if (loc) {
        const std::size_t needed = wcsxfrm_l(nullptr, lowered.c_str(), 0, loc);
        transformed.resize(needed + 1);
        wcsxfrm_l(transformed.data(), lowered.c_str(), needed + 1, loc);
        transformed.resize(needed);
    } else {
        transformed = lowered;
    }
    // Wide units written big-endian, so that byte order is the transformed order.
    std::string key;
    key.reserve(transformed.size() * 4);
    for (wchar_t c : transformed) {
        const auto u = static_cast<std::uint32_t>(c);
        for (int shift = 24; shift >= 0; shift -= 8) key.push_back(static_cast<char>((u >> shift) & 0xFF));
    }
    return key;
}

}  // namespace listwright
