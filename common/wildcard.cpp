#include "common/wildcard.h"

namespace tessel {

WildcardPattern::WildcardPattern(std::wstring_view p) {
    // Every "[" needs the first "]" after it. Searching afresh for each one would be
    // quadratic in a pattern of many unclosed "["; the positions asked about only grow,
    // so the previous answer still holds while it lies at or after the new position,
    // and "none" stays "none". That keeps the whole compilation linear.
    bool searched = false;
    std::size_t closeFound = std::wstring_view::npos;
    auto firstCloseFrom = [&](std::size_t from) {
        if (!searched || (closeFound != std::wstring_view::npos && closeFound < from)) {
            closeFound = p.find(L']', from);
            searched = true;
        }
        return closeFound;
    };
    std::size_t i = 0;
    while (i < p.size()) {
        const wchar_t c = p[i];
        Token t{};
        if (c == L'*') {
            // Consecutive asterisks mean the same as one.
            if (tokens_.empty() || tokens_.back().kind != Kind::Star) {
                t.kind = Kind::Star;
                tokens_.push_back(t);
            }
            ++i;
            continue;
        }
        if (c == L'?') {
            t.kind = Kind::AnyChar;
        } else if (c == L'#') {
            t.kind = Kind::Digit;
        } else if (c == L'[') {
            const std::size_t close = firstCloseFrom(i + 1);
            if (close == std::wstring_view::npos) {
                // No closing bracket: the "[" is an ordinary character.
                t.kind = Kind::Literal;
                t.ch = c;
            } else {
                t.kind = Kind::Set;
                std::size_t j = i + 1;
                if (j < close && p[j] == L'!') {
                    t.negated = true;
                    ++j;
                }
                t.first = ranges_.size();
                while (j < close) {
                    // "a-z": a hyphen between two characters; first or last it is literal.
                    if (j + 2 < close && p[j + 1] == L'-') {
                        ranges_.push_back({p[j], p[j + 2]});
                        j += 3;
                    } else {
                        ranges_.push_back({p[j], p[j]});
                        ++j;
                    }
                }
                t.count = ranges_.size() - t.first;
                tokens_.push_back(t);
                i = close + 1;
                continue;
            }
        } else {
            t.kind = Kind::Literal;
            t.ch = c;
        }
        tokens_.push_back(t);
        ++i;
    }
}

bool WildcardPattern::MatchOne(const Token& t, wchar_t c) const {
    switch (t.kind) {
        case Kind::Literal:
            return c == t.ch;
        case Kind::AnyChar:
            return true;
        case Kind::Digit:
            return c >= L'0' && c <= L'9';
        case Kind::Set: {
            bool inList = false;
            for (std::size_t k = t.first; k < t.first + t.count; ++k) {
                // A descending range (low > high) contains nothing.
                if (ranges_[k].low <= c && c <= ranges_[k].high) {
                    inList = true;
                    break;
                }
            }
            return inList != t.negated;
        }
        case Kind::Star:
            break;
    }
    return false;
}

bool WildcardPattern::Matches(std::wstring_view text) const {
    // Every token other than "*" consumes exactly one character, so the classic
    // single-backtrack-point scan is exact: on a mismatch only the most recent "*"
    // needs to take one more character. That bounds the work by text x pattern.
    std::size_t ti = 0, pi = 0;
    std::size_t starToken = tokens_.size();  // none yet
    std::size_t starText = 0;
    while (ti < text.size()) {
        if (pi < tokens_.size() && tokens_[pi].kind == Kind::Star) {
            starToken = pi++;
            starText = ti;
        } else if (pi < tokens_.size() && MatchOne(tokens_[pi], text[ti])) {
            ++pi;
            ++ti;
        } else if (starToken != tokens_.size()) {
            pi = starToken + 1;
            ti = ++starText;
        } else {
            return false;
        }
    }
    while (pi < tokens_.size() && tokens_[pi].kind == Kind::Star) ++pi;
    return pi == tokens_.size();
}

bool WildcardMatch(std::wstring_view text, std::wstring_view pattern) {
    return WildcardPattern(pattern).Matches(text);
}

}  // namespace tessel
