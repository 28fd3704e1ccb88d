#include "player/shared/command_line.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace tessel::player {
namespace {

TEST(CommandLine, ArgumentsFollowTheProgramPath) {
    EXPECT_EQ(ArgumentsOf(LR"("C:\Program Files\tp\tesselplay.exe" "D:\a b.mp3")"), LR"("D:\a b.mp3")");
    EXPECT_EQ(ArgumentsOf(LR"(C:\tp\tesselplay.exe   /play)"), L"/play");
    EXPECT_EQ(ArgumentsOf(LR"(tesselplay.exe)"), L"");
    EXPECT_EQ(ArgumentsOf(LR"("tesselplay.exe")"), L"");
    EXPECT_EQ(ArgumentsOf(LR"("unterminated)"), L"");
}

struct Case {
    const wchar_t* arguments;
    int startPlay;
    StartAction action;
    const wchar_t* path;
};

TEST(CommandLine, DecidesWhatStartUpPlays) {
    const std::set<std::wstring> files{LR"(D:\music\a b.mp3)", L"x/play.mp3"};
    auto exists = [&](const std::wstring& p) { return files.count(p) > 0; };
    const Case cases[] = {
        // A quoted existing file plays at once, whatever the option says.
        {LR"("D:\music\a b.mp3")", 0, StartAction::PlayFile, LR"(D:\music\a b.mp3)"},
        {LR"("D:\music\a b.mp3")", 1, StartAction::PlayFile, LR"(D:\music\a b.mp3)"},
        {LR"(D:\mu"sic\a b.mp3)", 0, StartAction::PlayFile, LR"(D:\music\a b.mp3)"},
        // An existing file whose name holds "/play" is still a file.
        {L"x/play.mp3", 0, StartAction::PlayFile, L"x/play.mp3"},
        {L"/play", 0, StartAction::PlayNext, L""},
        {L"--x/playlist", 0, StartAction::PlayNext, L""},
        {L"\"/play\"", 0, StartAction::PlayNext, L""},
        // Case matters.
        {L"/PLAY", 0, StartAction::Nothing, L""},
        {L"/PLAY", 1, StartAction::PlayNext, L""},
        {LR"(D:\missing.mp3)", 0, StartAction::Nothing, L""},
        {LR"(D:\missing.mp3)", 1, StartAction::PlayNext, L""},
        {L"", 0, StartAction::Nothing, L""},
        {L"", 1, StartAction::PlayNext, L""},
        // The grey state is not "on".
        {L"", 2, StartAction::Nothing, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const StartDecision d = DecideStartAction(c.arguments, c.startPlay, exists);
        EXPECT_EQ(d.action, c.action);
        EXPECT_EQ(d.path, c.path);
    }
}

}  // namespace
}  // namespace tessel::player
