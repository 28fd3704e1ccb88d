#include "common/utf8.h"

namespace tessel {
namespace {

#if WCHAR_MAX > 0xFFFF
constexpr bool kWideIsUtf16 = false;
#else
constexpr bool kWideIsUtf16 = true;
#endif

void AppendScalar(char32_t c, std::wstring& out) {
    if (kWideIsUtf16 && c > 0xFFFF) {
        c -= 0x10000;
        out.push_back(static_cast<wchar_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<wchar_t>(0xDC00 + (c & 0x3FF)));
    } else {
        out.push_back(static_cast<wchar_t>(c));
    }
}

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

}  // namespace

std::wstring DecodeUtf8(std::string_view bytes, bool* invalid) {
    std::wstring out;
    out.reserve(bytes.size());
    bool bad = false;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.push_back(static_cast<wchar_t>(b));
            ++i;
            continue;
        }
        // The lead byte gives the length and the range of the first continuation byte;
        // narrowing that range rejects overlong forms, surrogates and values past
        // U+10FFFF at the earliest byte, which makes the bad part maximal.
        std::size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;
        char32_t value = 0;
        if (b >= 0xC2 && b <= 0xDF) {
            length = 2;
            value = b & 0x1F;
        } else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            value = b & 0x0F;
            if (b == 0xE0) low = 0xA0;
            if (b == 0xED) high = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            value = b & 0x07;
            if (b == 0xF0) low = 0x90;
            if (b == 0xF4) high = 0x8F;
        }
        std::size_t taken = 1;
        if (length > 0) {
            for (; taken < length && i + taken < bytes.size(); ++taken) {
                const auto c = static_cast<unsigned char>(bytes[i + taken]);
                if (taken == 1 ? (c < low || c > high) : !IsContinuation(c)) break;
                value = (value << 6) | (c & 0x3F);
            }
        }
        if (length > 0 && taken == length) {
            AppendScalar(value, out);
        } else {
            out.push_back(kBadByteChar);
            bad = true;
        }
        i += taken;
    }
    if (invalid) *invalid = bad;
    return out;
}

EncodedText EncodeUtf8(std::wstring_view text) {
    EncodedText result;
    result.bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if (kWideIsUtf16 && c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() &&
            text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
            ++i;
        } else if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) {
            c = kBadByteChar;
            ++result.replaced;
        }
        std::string& o = result.bytes;
        if (c < 0x80) {
            o.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            o.push_back(static_cast<char>(0xC0 | (c >> 6)));
            o.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            o.push_back(static_cast<char>(0xE0 | (c >> 12)));
            o.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            o.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            o.push_back(static_cast<char>(0xF0 | (c >> 18)));
            o.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            o.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            o.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return result;
}

}  // namespace tessel
