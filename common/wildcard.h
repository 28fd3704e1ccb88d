// The wildcard pattern language of the command-line test, the skin list, the editor's
// drop filter and its pattern selection.
//
//   ?      any one character          #   any one digit 0-9
//   *      any run, also empty        [list]  one character of the list, [!list] not of it
//   a-z inside a list is a range in ascending code order; a hyphen first or last in a
//   list is literal; any other character (also ! and ] outside a list) is itself.
// The pattern must cover the whole text. Characters compare by code: case matters.
//
// Malformed patterns never fail: a "[" with no closing "]" stands for itself (and the
// rest of the pattern is read as usual); a range written high to low ("[z-a]") matches
// no character; "[]" matches no character and "[!]" any one character.
// Matching takes at most O(text * pattern) steps, whatever the asterisks.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tessel {

class WildcardPattern {
public:
    explicit WildcardPattern(std::wstring_view pattern);
    bool Matches(std::wstring_view text) const;

private:
    struct Range {
        wchar_t low, high;
    };
    enum class Kind { Literal, AnyChar, Digit, Set, Star };
    struct Token {
        Kind kind;
        wchar_t ch = 0;          // Literal
        bool negated = false;    // Set
        std::size_t first = 0;   // Set: ranges_[first, first + count)
        std::size_t count = 0;
    };
    bool MatchOne(const Token& t, wchar_t c) const;

    std::vector<Token> tokens_;
    std::vector<Range> ranges_;
};

bool WildcardMatch(std::wstring_view text, std::wstring_view pattern);

}  // namespace tessel
