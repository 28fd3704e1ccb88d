#include "common/wildcard.h"

#include <gtest/gtest.h>

namespace tessel {
namespace {

struct Case {
    const wchar_t* pattern;
    const wchar_t* text;
    bool match;
};

void Check(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        EXPECT_EQ(WildcardMatch(c.text, c.pattern), c.match)
            << "pattern \"" << std::wstring(c.pattern).size() << "\" #" << (&c - cases.begin());
    }
}

TEST(Wildcard, PatternsCoverTheWholeText) {
    Check({
        {L"*", L"", true}, {L"*", L"anything at all", true}, {L"", L"", true}, {L"", L"a", false},
        {L"a?c", L"abc", true}, {L"a?c", L"ac", false},
        // "#" is one digit: both ends of the range, and the characters just outside it.
        {L"#", L"0", true}, {L"#", L"9", true}, {L"#", L"/", false}, {L"#", L":", false}, {L"#", L"x", false},
        {L"##.mp3", L"01.mp3", true},
        // The whole string must be covered.
        {L"*.mp3", L"song.mp3", true}, {L"*.mp3", L"song.mp3.bak", false},
        {L"a*b*c", L"aXXbYYc", true}, {L"a*b*c", L"aXXbYY", false}, {L"**x", L"x", true},
        // Case matters.
        {L"*.mp3", L"SONG.MP3", false}, {L"*.MP3", L"SONG.MP3", true}, {L"[a-z]", L"Q", false},
        // Bracket lists; both ends of a range belong to it; a hyphen first or last is itself.
        {L"[abc]", L"b", true}, {L"[abc]", L"d", false}, {L"[!abc]", L"d", true}, {L"[!abc]", L"a", false},
        {L"[a-c]x", L"bx", true}, {L"[a-c]", L"a", true}, {L"[a-c]", L"c", true}, {L"[a-c]x", L"dx", false},
        {L"[!0-9]", L"5", false}, {L"[-a]", L"-", true}, {L"[a-]", L"-", true}, {L"[a-]", L"b", false},
        {L"[a-cx-z]", L"y", true}, {L"[ぁ-ん]", L"か", true},  // ranges go by character code
        // Special characters taken literally; ! and ] outside a list are themselves.
        {L"*[*]", L"ends with*", true}, {L"*[*]", L"ends without", false}, {L"[[]x]", L"[x]", true},
        {L"[?]", L"?", true}, {L"[?]", L"a", false}, {L"[#]1", L"#1", true}, {L"a!b", L"a!b", true},
        {L"a]b", L"a]b", true},
        // Malformed patterns are safe: an unclosed "[" is literal, a descending range holds
        // no character (the rest of its list still counts).
        {L"[abc", L"[abc", true}, {L"[abc", L"a", false}, {L"*[", L"x[", true}, {L"[", L"[", true},
        {L"[z-a]", L"m", false}, {L"[z-a]", L"z", false}, {L"[!z-a]", L"m", true}, {L"[z-ab]", L"b", true},
        {L"[]", L"", false}, {L"[]", L"a", false}, {L"[!]", L"a", true}, {L"x[]y", L"xy", false},
        // Each list finds its own "]", before and after unclosed ones.
        {L"[a]x[b]", L"axb", true}, {L"[a]][b]", L"a]b", true}, {L"[a][b][", L"ab[", true},
        {L"[a][!b][", L"ab[", false}, {L"[[a]", L"[", true}, {L"[[a]", L"[a]", false},
    });
}

TEST(Wildcard, PathologicalPatternOnLongTextFinishes) {
    // An exponential backtracking matcher would not finish this before the timeout.
    const std::wstring text(200000, L'a');
    EXPECT_FALSE(WildcardMatch(text, L"*a*a*a*a*a*a*a*a*a*a*a*a*b"));
    EXPECT_TRUE(WildcardMatch(text + L"b", L"*a*a*a*a*a*a*a*a*a*a*a*a*b"));
    EXPECT_FALSE(WildcardMatch(text, std::wstring(5000, L'*') + L"?b"));
}

TEST(Wildcard, ManyUnclosedBracketsCompileInLinearTime) {
    // Each "[" looks for its "]"; searched afresh every time, a million of them would
    // take hours and the test would time out.
    const std::wstring brackets(1000000, L'[');
    EXPECT_TRUE(WildcardMatch(brackets, brackets));
    EXPECT_FALSE(WildcardMatch(brackets.substr(1), brackets));
    // A "]" far behind them makes the first "[" a list of all the others.
    EXPECT_TRUE(WildcardMatch(L"x", brackets + L"x]"));
    EXPECT_TRUE(WildcardMatch(L"[", brackets + L"x]"));
    EXPECT_FALSE(WildcardMatch(L"]", brackets + L"x]"));
}

}  // namespace
}  // namespace tessel
