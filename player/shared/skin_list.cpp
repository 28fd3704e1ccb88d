#include "player/shared/skin_list.h"

#include <algorithm>
#include <system_error>

#include "common/fileio.h"
#include "common/wildcard.h"
#include "player/shared/texts.h"

namespace tessel::player {

namespace {

// Latin letters, half and full width, compare as their lower case; nothing else folds.
wchar_t Fold(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return wchar_t(c - L'A' + L'a');
    if (c >= 0xFF21 && c <= 0xFF3A) return wchar_t(c - 0xFF21 + 0xFF41);
    return c;
}

// The system's own wording of an error is in the locale's narrow code page; the code
// number is enough beside our fixed text.
std::wstring Describe(const std::filesystem::path& folder, const std::error_code& ec) {
    return std::wstring(skin_texts::kSkinFolderUnreadable) + L"\r\n\r\n" + skin_texts::kFileLabel +
           WideFromPath(folder) + L"\r\n" + skin_texts::kReasonLabel + L"(" + std::to_wstring(ec.value()) + L")";
}

}  // namespace

bool SkinNameLess(const std::wstring& a, const std::wstring& b) {
    const auto folded = std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                                     [](wchar_t x, wchar_t y) { return Fold(x) < Fold(y); });
    if (folded) return true;
    const auto reverse = std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(),
                                                      [](wchar_t x, wchar_t y) { return Fold(x) < Fold(y); });
    if (reverse) return false;
    return a < b;  // equal but for case: a fixed order all the same
}

SkinListResult ListSkins(const std::filesystem::path& partsFolder) {
    SkinListResult result;
    std::error_code ec;
    std::filesystem::directory_iterator it(partsFolder, ec);
    if (ec) {
        result.error = Describe(partsFolder, ec);
        return result;
    }
    const WildcardPattern hidden(L"~*");
    for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        std::error_code typeError;
        if (!it->is_directory(typeError)) continue;  // follows links: a linked folder is a skin too
        std::wstring name = WideFromPath(it->path().filename());
        if (hidden.Matches(name)) continue;
        result.names.push_back(std::move(name));
    }
    if (ec) {
        result.error = Describe(partsFolder, ec);
        result.names.clear();
        return result;
    }
    std::sort(result.names.begin(), result.names.end(), SkinNameLess);
    result.ok = true;
    return result;
}

}  // namespace tessel::player
