#include "common/utf8.h"

#include <gtest/gtest.h>

namespace tessel {
namespace {

// Each length's first and last scalar value, the ends of the surrogate gap, a
// noncharacter, a combining mark after its base, Hangul and an emoji.
TEST(Utf8, EveryScalarValueClassRoundTrips) {
    struct Case {
        std::wstring text;  // UTF-16 pairs on Windows
        std::string bytes;
    };
    const Case cases[] = {
        {L"\u0001\u007F", "\x01\x7F"},
        {L"\u0080\u07FF", "\xC2\x80\xDF\xBF"},
        {L"\u0800\uD7FF\uE000\uFFFF", "\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF"},
        {L"\U00010000\U0010FFFF", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
        {L"Beyonce\u0301 \uD55C\uAD6D\uC5B4 \U0001F3B5", "Beyonce\xCC\x81 \xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 \xF0\x9F\x8E\xB5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        const EncodedText e = EncodeUtf8(c.text);
        EXPECT_EQ(e.bytes, c.bytes);
        EXPECT_EQ(e.replaced, 0u);
        bool invalid = true;
        EXPECT_EQ(DecodeUtf8(c.bytes, &invalid), c.text);
        EXPECT_FALSE(invalid);
    }
}

// One U+FFFD for each maximal part that could have begun a well-formed sequence.
TEST(Utf8, BadBytesReadAsOneReplacementPerMaximalPart) {
    struct Case {
        std::string bytes;
        std::wstring text;
    };
    const Case cases[] = {
        {"\x80", L"\uFFFD"},                          // stray continuation byte
        {"\xC0\xAF\xC1\xBF", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // leads that are always overlong
        {"\xE0\x9F\xBF", L"\uFFFD\uFFFD\uFFFD"},      // overlong three-byte form
        {"\xED\xA0\x80", L"\uFFFD\uFFFD\uFFFD"},      // an encoded surrogate
        {"\xF0\x8F\xBF\xBF", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // overlong four-byte form
        {"\xF4\x90\x80\x80", L"\uFFFD\uFFFD\uFFFD\uFFFD"},  // past U+10FFFF
        {"\xF5\xFF", L"\uFFFD\uFFFD"},
        {"a\xF0\x9F\x8E" "b", L"a\uFFFDb"},           // cut short: one for the whole part
        {"\xE2\x82\n\xC3", L"\uFFFD\n\uFFFD"},         // LF is never swallowed
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        bool invalid = false;
        EXPECT_EQ(DecodeUtf8(c.bytes, &invalid), c.text);
        EXPECT_TRUE(invalid);
    }
}

TEST(Utf8, UnpairedSurrogatesAreWrittenAsReplacementsAndCounted) {
    std::wstring text = L"a";
    text.push_back(static_cast<wchar_t>(0xDC00));  // a trail with no lead
    text.push_back(static_cast<wchar_t>(0xD83C));  // a lead with no trail
    text += L"b";
    const EncodedText e = EncodeUtf8(text);
    EXPECT_EQ(e.bytes, "a\xEF\xBF\xBD\xEF\xBF\xBD" "b");
    EXPECT_EQ(e.replaced, 2u);
}

}  // namespace
}  // namespace tessel
