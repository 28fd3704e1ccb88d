// Win32 half of the code page 932 conversion.
#include <windows.h>

#include <climits>

#include "common/cp932.h"

namespace tessel::cp932_platform {

namespace {
constexpr UINT kCodePage = 932;
}

bool DecodeRun(std::string_view bytes, std::wstring& out) {
    if (bytes.empty()) return true;
    if (bytes.size() > INT_MAX) return false;
    const int inLen = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), inLen, nullptr, 0);
    if (n <= 0) return false;
    const std::size_t mark = out.size();
    out.resize(mark + static_cast<std::size_t>(n));
    if (MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, bytes.data(), inLen, out.data() + mark, n) != n) {
        out.resize(mark);
        return false;
    }
    return true;
}

bool EncodeRun(std::wstring_view text, std::string& out) {
    if (text.empty()) return true;
    if (text.size() > INT_MAX / 2) return false;
    const int inLen = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), inLen, nullptr, 0,
                                      nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return false;
    const std::size_t mark = out.size();
    out.resize(mark + static_cast<std::size_t>(n));
    usedDefault = FALSE;
    if (WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, text.data(), inLen, out.data() + mark, n,
                            nullptr, &usedDefault) != n ||
        usedDefault) {
        out.resize(mark);
        return false;
    }
    return true;
}

}  // namespace tessel::cp932_platform
