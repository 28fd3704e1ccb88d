#include "common/cp932.h"

namespace tessel {
namespace {

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }
bool IsSingleByteChar(unsigned char b) { return b <= 0x7F || (b >= 0xA1 && b <= 0xDF); }

// Length of the well-formed unit at `i` (1 or 2), or 0 if the byte there is bad.
std::size_t UnitLength(std::string_view s, std::size_t i) {
    const auto b = static_cast<unsigned char>(s[i]);
    if (IsSingleByteChar(b)) return 1;
    if (IsLeadByte(b) && i + 1 < s.size() && IsTrailByte(static_cast<unsigned char>(s[i + 1])))
        return 2;
    return 0;
}

// Decodes a run of well-formed units; where the platform refuses the run as a whole,
// goes unit by unit so that only unmapped units become U+FFFD.
void DecodeWellFormedRun(std::string_view run, std::wstring& out) {
    if (run.empty()) return;
    const std::size_t mark = out.size();
    if (cp932_platform::DecodeRun(run, out)) return;
    out.resize(mark);
    for (std::size_t i = 0; i < run.size();) {
        const std::size_t n = UnitLength(run, i);
        if (!cp932_platform::DecodeRun(run.substr(i, n), out)) {
            out.append(n, kBadByteChar);
        }
        i += n;
    }
}

#if WCHAR_MAX > 0xFFFF
constexpr bool kWideIsUtf16 = false;
#else
constexpr bool kWideIsUtf16 = true;
#endif

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// A BMP run is accepted only if it survives the way back: this rejects the "best fit"
// substitutions some tables make (U+00A5 -> 0x5C and the like), so that both
// platforms treat exactly the same characters as representable.
bool EncodeExact(std::wstring_view run, std::string& out) {
    const std::size_t mark = out.size();
    if (!cp932_platform::EncodeRun(run, out)) {
        out.resize(mark);
        return false;
    }
    // Decode with the same rules as every reader: bytes that readers take as bad
    // (0x80 on some tables) must not be written either.
    if (DecodeCp932(std::string_view(out).substr(mark)) != run) {
        out.resize(mark);
        return false;
    }
    return true;
}

}  // namespace

std::wstring DecodeCp932(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    std::size_t runStart = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const std::size_t n = UnitLength(bytes, i);
        if (n == 0) {
            DecodeWellFormedRun(bytes.substr(runStart, i - runStart), out);
            out.push_back(kBadByteChar);
            ++i;
            runStart = i;
        } else {
            i += n;
        }
    }
    DecodeWellFormedRun(bytes.substr(runStart), out);
    return out;
}

EncodedText EncodeCp932(std::wstring_view text) {
    EncodedText result;
    result.bytes.reserve(text.size() * 2);

    // Split into runs of BMP characters; everything else is replaced right here.
    std::size_t runStart = 0;
    auto flushRun = [&](std::size_t end) {
        std::wstring_view run = text.substr(runStart, end - runStart);
        if (run.empty() || EncodeExact(run, result.bytes)) return;
        for (std::size_t k = 0; k < run.size(); ++k) {
            if (!EncodeExact(run.substr(k, 1), result.bytes)) {
                result.bytes.push_back(kReplacementByte);
                ++result.replaced;
            }
        }
    };
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<char32_t>(text[i]);
        std::size_t units = 0;  // code units of a character that 932 can never hold
        if (kWideIsUtf16) {
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
                text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                units = 2;  // a pair: one character outside the BMP
            } else if (IsSurrogate(c)) {
                units = 1;
            }
        } else if (c > 0xFFFF || IsSurrogate(c)) {
            units = 1;
        }
        if (units == 0) {
            ++i;
            continue;
        }
        flushRun(i);
        result.bytes.push_back(kReplacementByte);
        ++result.replaced;
        i += units;
        runStart = i;
    }
    flushRun(text.size());
    return result;
}

}  // namespace tessel
