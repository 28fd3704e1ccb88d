// The wildcard matcher, pattern and text both from the input: on short inputs its
// answer is the answer of a slow matcher written straight from the rules; on long ones
// it finishes.
#include <map>
#include <optional>
#include <tuple>

#include "common/wildcard.h"
#include "fuzz/fuzz_support.h"

namespace {

// The rules, read directly off the pattern text at every step (no compiled form):
//   ?  any character     #  a digit     *  any run     [list] / [!list]  one character
//   "[" with no "]" after it is itself; "a-z" in a list is a range, a hyphen first or
//   last in a list is itself; "[]" matches nothing, "[!]" any one character.
class Reference {
public:
    Reference(std::wstring_view pattern, std::wstring_view text) : p_(pattern), t_(text) {}
    bool Match() { return From(0, 0); }

private:
    // Where the list that starts at p_[i] == '[' ends (its "]"), if it has one.
    std::optional<std::size_t> Close(std::size_t i) const {
        for (std::size_t j = i + 1; j < p_.size(); ++j) {
            if (p_[j] == L']') return j;
        }
        return std::nullopt;
    }
    bool InList(std::size_t open, std::size_t close, wchar_t c) const {
        std::size_t j = open + 1;
        bool negated = false;
        if (j < close && p_[j] == L'!') {
            negated = true;
            ++j;
        }
        bool found = false;
        while (j < close) {
            if (j + 2 < close && p_[j + 1] == L'-') {
                if (p_[j] <= c && c <= p_[j + 2]) found = true;
                j += 3;
            } else {
                if (p_[j] == c) found = true;
                ++j;
            }
        }
        return found != negated;
    }
    bool From(std::size_t pi, std::size_t ti) {
        const auto key = std::make_pair(pi, ti);
        if (auto it = memo_.find(key); it != memo_.end()) return it->second;
        bool result;
        if (pi == p_.size()) {
            result = ti == t_.size();
        } else if (p_[pi] == L'*') {
            result = From(pi + 1, ti) || (ti < t_.size() && From(pi, ti + 1));
        } else if (ti == t_.size()) {
            result = false;
        } else {
            const wchar_t c = t_[ti];
            std::size_t next = pi + 1;
            bool one;
            if (p_[pi] == L'?') {
                one = true;
            } else if (p_[pi] == L'#') {
                one = c >= L'0' && c <= L'9';
            } else if (p_[pi] == L'[' && Close(pi)) {
                one = InList(pi, *Close(pi), c);
                next = *Close(pi) + 1;
            } else {
                one = p_[pi] == c;
            }
            result = one && From(next, ti + 1);
        }
        memo_[key] = result;
        return result;
    }

    std::wstring_view p_, t_;
    std::map<std::pair<std::size_t, std::size_t>, bool> memo_;
};

// Characters that mean something in patterns are common; anything else can come too.
wchar_t Character(std::uint8_t b, std::uint8_t extra) {
    static const wchar_t kCommon[] = {L'*', L'?', L'#', L'[', L']', L'!', L'-', L'a', L'b', L'c',
                                      L'0', L'5', L'9', L'.', L'\\', L'あ'};
    if (b < 0xC0) return kCommon[b % 16];
    if (b < 0xF0) return static_cast<wchar_t>(b);
    return static_cast<wchar_t>(0x3000 + extra);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tessel::fuzz::Input in(data, size);
    const std::size_t split = in.Byte();
    std::wstring pattern, text;
    for (std::size_t i = 0; !in.Empty(); ++i) {
        const std::uint8_t b = in.Byte();
        const wchar_t c = Character(b, b >= 0xF0 ? in.Byte() : 0);
        (i < split ? pattern : text).push_back(c);
    }
    const tessel::WildcardPattern compiled(pattern);
    const bool fast = compiled.Matches(text);
    FUZZ_CHECK(fast == tessel::WildcardMatch(text, pattern));
    if (pattern.size() <= 64 && text.size() <= 64) FUZZ_CHECK(fast == Reference(pattern, text).Match());
    // A pattern matches itself with its special characters each put alone in brackets.
    std::wstring literal;
    for (wchar_t c : text) {
        if (c == L'*' || c == L'?' || c == L'#' || c == L'[') {
            literal += L'[';
            literal += c;
            literal += L']';
        } else {
            literal += c;
        }
    }
    FUZZ_CHECK(tessel::WildcardMatch(text, literal));
    return 0;
}
