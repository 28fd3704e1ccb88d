#include "player/shared/command_line.h"

#include "common/wildcard.h"

namespace tessel::player {

std::wstring ArgumentsOf(std::wstring_view line) {
    std::size_t i = 0;
    // The program's path: a quoted run (quotes may enclose blanks) or a run up to the
    // first blank, as the system's own command-line parser takes it.
    if (i < line.size() && line[i] == L'"') {
        ++i;
        while (i < line.size() && line[i] != L'"') ++i;
        if (i < line.size()) ++i;
    } else {
        while (i < line.size() && line[i] != L' ' && line[i] != L'\t') ++i;
    }
    while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
    return std::wstring(line.substr(i));
}

std::wstring RemoveDoubleQuotes(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c != L'"') out.push_back(c);
    }
    return out;
}

StartDecision DecideStartAction(std::wstring_view arguments, int chkStartPlayValue,
                                const std::function<bool(const std::wstring&)>& fileExists) {
    std::wstring path = RemoveDoubleQuotes(arguments);
    if (!path.empty() && fileExists(path)) return {StartAction::PlayFile, std::move(path)};
    // The pattern test sees the command line as given, quotes included; case matters.
    if (WildcardMatch(arguments, L"*/play*") || chkStartPlayValue == 1) {
        return {StartAction::PlayNext, {}};
    }
    return {};
}

}  // namespace tessel::player
