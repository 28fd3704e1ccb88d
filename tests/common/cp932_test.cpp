#include "common/cp932.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace tessel {
namespace {

// Which single characters have no exact form is the whole table's digest below, and
// that each becomes one counted '?' the encoding fuzz target's property; here, a
// character beyond the BMP (one character, one '?', on every platform) and a lone
// surrogate.
TEST(Cp932, CharactersBeyondTheBasicPlaneAndLoneSurrogatesAreOneQuestionMarkEach) {
    EncodedText e = EncodeCp932(L"x\U0001F3B5y");  // a pair of UTF-16 units on Windows
    EXPECT_EQ(e.bytes, "x?y");
    EXPECT_EQ(e.replaced, 1u);
    std::wstring lone = {L'a', static_cast<wchar_t>(0xD800), L'b'};
    e = EncodeCp932(lone);
    EXPECT_EQ(e.bytes, "a?b");
    EXPECT_EQ(e.replaced, 1u);
}

TEST(Cp932, BadBytesDecodeToOneReplacementEach) {
    const wchar_t bad = kBadByteChar;
    EXPECT_EQ(DecodeCp932("\x81"), std::wstring(1, bad));              // lead at the end
    EXPECT_EQ(DecodeCp932("\x81\r\n"), std::wstring({bad, L'\r', L'\n'}));
    EXPECT_EQ(DecodeCp932("\x80\xA0\xFD\xFE\xFF"), std::wstring(5, bad));
    EXPECT_EQ(DecodeCp932("\x85\x40"), std::wstring(2, bad));      // well formed, unassigned
    EXPECT_EQ(DecodeCp932("a\x81 "), std::wstring({L'a', bad, L' '}));
    EXPECT_EQ(DecodeCp932("a\x81" "b"), L"a\xFF5C");  // letters are trail bytes
    EXPECT_EQ(DecodeCp932("\x82\xA0\xFF\x82\xA2"), std::wstring({L'あ', bad, L'い'}));
    EXPECT_EQ(DecodeCp932(""), L"");
}

// Digests of the complete conversion tables. Both implementations (iconv in the
// native build, the Win32 calls under Windows) must produce these same values, so a
// difference between the two shows up as a failure on one side.
std::uint64_t Fnv1a(std::uint64_t h, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        h ^= (v >> (8 * i)) & 0xFF;
        h *= 1099511628211ull;
    }
    return h;
}

TEST(Cp932, WholeTablesAgreeAcrossPlatforms) {
    std::uint64_t decodeHash = 14695981039346656037ull;
    for (int a = 0; a < 256; ++a) {
        const char first = static_cast<char>(a);
        for (wchar_t c : DecodeCp932({&first, 1})) decodeHash = Fnv1a(decodeHash, static_cast<std::uint32_t>(c));
        const bool lead = (a >= 0x81 && a <= 0x9F) || (a >= 0xE0 && a <= 0xFC);
        for (int b = 0x40; lead && b <= 0xFC; ++b) {
            const char pair[] = {first, static_cast<char>(b)};
            for (wchar_t c : DecodeCp932({pair, 2})) decodeHash = Fnv1a(decodeHash, static_cast<std::uint32_t>(c));
            decodeHash = Fnv1a(decodeHash, 0xFFFFFFFFu);
        }
    }
    std::uint64_t encodeHash = 14695981039346656037ull;
    for (std::uint32_t c = 1; c <= 0xFFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        EncodedText e = EncodeCp932(std::wstring(1, static_cast<wchar_t>(c)));
        encodeHash = Fnv1a(encodeHash, c);
        for (char ch : e.bytes) encodeHash = Fnv1a(encodeHash, static_cast<unsigned char>(ch));
        encodeHash = Fnv1a(encodeHash, static_cast<std::uint32_t>(e.replaced));
    }
    EXPECT_EQ(decodeHash, 0x662d3a56a62de1d1ull);
    EXPECT_EQ(encodeHash, 0x24d083727b209214ull);
}

}  // namespace
}  // namespace tessel
