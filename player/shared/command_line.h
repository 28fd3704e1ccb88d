// The player's command-line rules: a file named on the command line plays at once;
// otherwise "/play" anywhere in it (or the play-at-start option) starts the list.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace tessel::player {

// Everything after the program's own path (quoted or not) and the blanks after it.
std::wstring ArgumentsOf(std::wstring_view fullCommandLine);

// The text without any double-quote character.
std::wstring RemoveDoubleQuotes(std::wstring_view text);

enum class StartAction { Nothing, PlayFile, PlayNext };
struct StartDecision {
    StartAction action = StartAction::Nothing;
    std::wstring path;  // for PlayFile
};

StartDecision DecideStartAction(std::wstring_view arguments, int chkStartPlayValue,
                                const std::function<bool(const std::wstring&)>& fileExists);

}  // namespace tessel::player
