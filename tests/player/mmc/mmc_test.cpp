// The media device over real MCI (DirectShow device) with generated media. Playback
// runs in real time, so every check is a range or an order, never an exact tick;
// every wait pumps messages (the end notification and the status event arrive as
// window messages) and is bounded.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "player/playback/mmc/mmc.h"
#include "tests/support/win32.h"

namespace tessel {
namespace {

using test::Media;
using test::WaitUntil;
using namespace std::chrono_literals;

// Number of MCI devices this process has open.
int OpenDeviceCount() {
    wchar_t buffer[32] = {};
    if (mciSendStringW(L"sysinfo all quantity open", buffer, 32, nullptr) != 0) {
        return -1;
    }
    return _wtoi(buffer);
}

// Opens a medium the way the player does before every medium.
void OpenLikeThePlayer(Mmc& mmc, const std::wstring& path) {
    mmc.SetNotify(false);
    mmc.SetWait(true);
    mmc.SetUpdateInterval(1000);
    mmc.SetFileName(path);
    mmc.Command(MediaCommand::Open);
}

// Samples Position() while playing until the medium ends (Mode() 525) or the time
// is up; every sample must be at least the one before.
struct RunRecord {
    bool ended = false;
    DWORD elapsed_ms = 0;
    std::vector<std::int32_t> positions;
};
RunRecord FollowRun(Mmc& mmc, DWORD timeout_ms) {
    RunRecord run;
    const DWORD start = GetTickCount();
    run.ended = WaitUntil(
        [&] {
            run.positions.push_back(mmc.Position());
            return mmc.Mode() == MediaDevice::kModeStopped;
        },
        std::chrono::milliseconds(timeout_ms));
    run.elapsed_ms = GetTickCount() - start;
    return run;
}

// After a pause or a stop: the mode, a position in [low, high], and both still so a
// while later (a paused or stopped medium is not taken for ended). The position.
std::int32_t ExpectHeld(Mmc& mmc, int mode, std::int32_t low, std::int32_t high) {
    EXPECT_EQ(mmc.Mode(), mode);
    const std::int32_t at = mmc.Position();
    EXPECT_GE(at, low);
    EXPECT_LE(at, high);
    test::Pump(500ms);
    EXPECT_EQ(mmc.Mode(), mode);
    EXPECT_EQ(mmc.Position(), at);
    return at;
}

void ExpectNeverDecreasing(const std::vector<std::int32_t>& positions) {
    for (std::size_t i = 1; i < positions.size(); ++i) {
        ASSERT_GE(positions[i], positions[i - 1]) << "sample " << i;
    }
}

TEST(Mmc, PlaysToTheEndAndEndsAgainOnASecondPlay) {
    Mmc mmc;
    EXPECT_EQ(mmc.Mode(), MediaDevice::kModeNotOpen);
    EXPECT_EQ(mmc.Length(), 0);
    OpenLikeThePlayer(mmc, Media(L"tone_440.mp3"));
    ASSERT_EQ(mmc.Mode(), MediaDevice::kModeStopped);
    const std::int32_t length = mmc.Length();
    ASSERT_GE(length, 3400);
    ASSERT_LE(length, 3700);
    EXPECT_EQ(mmc.Position(), 0);

    mmc.Command(MediaCommand::Play);
    EXPECT_EQ(mmc.Mode(), MediaDevice::kModePlaying);
    RunRecord first = FollowRun(mmc, static_cast<DWORD>(length) + 3000);
    ASSERT_TRUE(first.ended) << "no end within the length plus 3 s";
    EXPECT_GE(first.elapsed_ms, static_cast<DWORD>(length) - 500) << "ended early";
    ExpectNeverDecreasing(first.positions);
    EXPECT_GT(first.positions.size(), 20u);
    EXPECT_EQ(mmc.Position(), mmc.Length());
    // It stays ended: the driver's jump back to 0 must not show.
    test::Pump(600ms);
    EXPECT_EQ(mmc.Mode(), MediaDevice::kModeStopped);
    EXPECT_EQ(mmc.Position(), length);

    // Back to the start on the same device: the driver keeps a stale end state
    // here, which must not show either.
    mmc.SetFrom(0);
    mmc.Command(MediaCommand::Play);
    EXPECT_EQ(mmc.Mode(), MediaDevice::kModePlaying);
    EXPECT_LT(mmc.Position(), 500);
    test::Pump(700ms);
    EXPECT_EQ(mmc.Mode(), MediaDevice::kModePlaying) << "a second play must read playing";
    const std::int32_t during = mmc.Position();
    EXPECT_GE(during, 300);
    EXPECT_LT(during, length);
    RunRecord second = FollowRun(mmc, static_cast<DWORD>(length) + 3000);
    ASSERT_TRUE(second.ended) << "no end of the second run";
    EXPECT_GE(second.elapsed_ms + 700, static_cast<DWORD>(length) - 500);
    ExpectNeverDecreasing(second.positions);
    EXPECT_EQ(mmc.Position(), mmc.Length());

    // A plain play at the end has nothing left to play: it stays ended.
    mmc.Command(MediaCommand::Play);
    test::Pump(300ms);
    EXPECT_EQ(mmc.Mode(), MediaDevice::kModeStopped);
    EXPECT_EQ(mmc.Position(), length);

    mmc.Command(MediaCommand::Close);
    EXPECT_EQ(mmc.Mode(), MediaDevice::kModeNotOpen);
    EXPECT_EQ(mmc.Length(), 0);
    EXPECT_EQ(mmc.Position(), 0);
    EXPECT_EQ(OpenDeviceCount(), 0);
}

TEST(Mmc, PauseTogglesAndResumesWhereItPaused) {
    Mmc mmc;
    OpenLikeThePlayer(mmc, Media(L"chord_f.wav"));
    ASSERT_GT(mmc.Length(), 3000);
    mmc.Command(MediaCommand::Play);
    test::Pump(1000ms);

    mmc.Command(MediaCommand::Pause);
    const std::int32_t paused_at = ExpectHeld(mmc, MediaDevice::kModePaused, 700, 1600);

    mmc.Command(MediaCommand::Pause);  // the same word resumes
    EXPECT_EQ(mmc.Mode(), MediaDevice::kModePlaying);
    test::Pump(400ms);
    const std::int32_t resumed = mmc.Position();
    EXPECT_GE(resumed, paused_at + 200) << "playback did not go on";
    EXPECT_LE(resumed, paused_at + 1000) << "resumed somewhere else";

    // And the run still ends properly after the pauses.
    RunRecord rest = FollowRun(mmc, 5000);
    ASSERT_TRUE(rest.ended);
    ExpectNeverDecreasing(rest.positions);
    EXPECT_EQ(mmc.Position(), mmc.Length());
}

TEST(Mmc, PlayFromAStartPointAndStop) {
    Mmc mmc;
    OpenLikeThePlayer(mmc, Media(L"tone_660.wav"));
    const std::int32_t length = mmc.Length();
    ASSERT_GE(length, 3400);

    mmc.SetFrom(2000);
    mmc.Command(MediaCommand::Play);
    EXPECT_EQ(mmc.Mode(), MediaDevice::kModePlaying);
    EXPECT_GE(mmc.Position(), 2000);
    EXPECT_LT(mmc.Position(), 2400);
    RunRecord run = FollowRun(mmc, 4000);
    ASSERT_TRUE(run.ended);
    EXPECT_GE(run.elapsed_ms, static_cast<DWORD>(length - 2000) - 500);
    EXPECT_LE(run.elapsed_ms, static_cast<DWORD>(length - 2000) + 1500);
    ExpectNeverDecreasing(run.positions);
    EXPECT_EQ(mmc.Position(), length);

    // "stop" mid-way: stopped, and the position stays where it stopped.
    mmc.SetFrom(500);
    mmc.Command(MediaCommand::Play);
    test::Pump(500ms);
    mmc.Command(MediaCommand::Stop);
    ExpectHeld(mmc, MediaDevice::kModeStopped, 700, 1500);

    // A start point beyond the end ends at once; one below 0 starts at 0.
    mmc.SetFrom(length + 5000);
    mmc.Command(MediaCommand::Play);
    EXPECT_EQ(mmc.Mode(), MediaDevice::kModeStopped);
    EXPECT_EQ(mmc.Position(), length);
    mmc.SetFrom(-300);
    mmc.Command(MediaCommand::Play);
    EXPECT_EQ(mmc.Mode(), MediaDevice::kModePlaying);
    EXPECT_LT(mmc.Position(), 400);
    mmc.Command(MediaCommand::Close);
}

TEST(Mmc, RestartInTheLastMomentIsNotTakenForTheEnd) {
    // Back to the start just before the end: the end of the old run (and any end
    // notification already on its way) must not end the new one.
    Mmc mmc;
    OpenLikeThePlayer(mmc, Media(L"tone_440.mp3"));
    const std::int32_t length = mmc.Length();
    ASSERT_GT(length, 1000);
    // Shortly before the end, and after an end whose notification is still queued
    // (the thread slept instead of pumping).
    for (bool pump : {true, false}) {
        SCOPED_TRACE(pump ? "before the end" : "end notification queued");
        mmc.SetFrom(length - 300);
        mmc.Command(MediaCommand::Play);
        if (pump) {
            test::Pump(250ms);
        } else {
            Sleep(800);
        }
        mmc.SetFrom(0);
        mmc.Command(MediaCommand::Play);
        test::Pump(700ms);
        EXPECT_EQ(mmc.Mode(), MediaDevice::kModePlaying);
        EXPECT_GE(mmc.Position(), 400);
        EXPECT_LE(mmc.Position(), 1300);
    }
    mmc.Command(MediaCommand::Close);
}

TEST(Mmc, UnplayableOrMissingMediaGiveLengthZeroAndNothingElse) {
    Mmc mmc;
    int events = 0;
    mmc.SetStatusUpdate([&] { ++events; });
    for (const std::wstring& path :
         {Media(L"broken.mp3"), Media(L"no such file.mp3"), std::wstring()}) {
        SCOPED_TRACE(path);
        OpenLikeThePlayer(mmc, path);
        EXPECT_EQ(mmc.Length(), 0);
        EXPECT_EQ(mmc.Mode(), MediaDevice::kModeNotOpen);
        for (MediaCommand command : {MediaCommand::Play, MediaCommand::Pause, MediaCommand::Pause,
                                     MediaCommand::Stop, MediaCommand::Close}) {
            mmc.Command(command);
            EXPECT_EQ(mmc.Mode(), MediaDevice::kModeNotOpen) << static_cast<int>(command);
            EXPECT_EQ(mmc.Position(), 0) << static_cast<int>(command);
        }
    }
    test::Pump(1300ms);
    EXPECT_EQ(events, 0) << "no status event while nothing is open";
    EXPECT_EQ(OpenDeviceCount(), 0);

    // The same object opens a good medium afterwards.
    OpenLikeThePlayer(mmc, Media(L"tone_440.mp3"));
    EXPECT_GT(mmc.Length(), 3000);
    mmc.Command(MediaCommand::Play);
    EXPECT_EQ(mmc.Mode(), MediaDevice::kModePlaying);
    mmc.Command(MediaCommand::Close);
}

TEST(Mmc, StatusEventRunsOnlyWhileAMediumIsOpen) {
    Mmc mmc;
    int events = 0;
    std::vector<std::int32_t> seen;
    mmc.SetStatusUpdate([&] {
        ++events;
        seen.push_back(mmc.Position());
    });
    mmc.SetUpdateInterval(200);
    mmc.SetFileName(Media(L"chord_c.mp3"));
    mmc.Command(MediaCommand::Open);
    mmc.Command(MediaCommand::Play);
    test::Pump(1500ms);
    EXPECT_GE(events, 4);
    EXPECT_LE(events, 9);
    ExpectNeverDecreasing(seen);
    ASSERT_FALSE(seen.empty());
    EXPECT_GT(seen.back(), seen.front());

    mmc.Command(MediaCommand::Close);
    const int at_close = events;
    test::Pump(700ms);
    EXPECT_EQ(events, at_close) << "status event after close";

    // The interval is taken at the next open.
    mmc.SetUpdateInterval(1000);
    mmc.Command(MediaCommand::Open);
    events = 0;
    test::Pump(1600ms);
    EXPECT_GE(events, 1);
    EXPECT_LE(events, 2);
    mmc.Command(MediaCommand::Close);
}

TEST(Mmc, VideoHasADriverWindowThatGoesWithIt) {
    Mmc video;
    const std::wstring clip = Media(L"clip.mp4");
    OpenLikeThePlayer(video, clip);
    const std::int32_t length = video.Length();
    ASSERT_GE(length, 3800);
    ASSERT_LE(length, 4300);
    video.Command(MediaCommand::Play);
    HWND window = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] { return (window = FindWindowW(L"MCIQTZ_Window", video.FileName().c_str())) != nullptr; },
        3000ms));
    EXPECT_TRUE(IsWindow(window));

    // A video medium ends like an audio one.
    RunRecord run = FollowRun(video, static_cast<DWORD>(length) + 3000);
    ASSERT_TRUE(run.ended);
    ExpectNeverDecreasing(run.positions);
    EXPECT_EQ(video.Position(), length);
    video.Command(MediaCommand::Close);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window); }, 3000ms)) << "video window left behind";
}

// The Japanese names and the lengths the engine shows are the in-process player's
// tests; here, that an open on an open device replaces the medium.
TEST(Mmc, AnOpenOnAnOpenDeviceReplacesTheMedium) {
    Mmc mmc;
    OpenLikeThePlayer(mmc, Media(L"silence_185.mp3"));
    EXPECT_EQ(mmc.Length() / 1000, 185);
    OpenLikeThePlayer(mmc, Media(L"clip.avi"));
    EXPECT_GE(mmc.Length(), 3800);
    EXPECT_LE(mmc.Length(), 4300);
    EXPECT_EQ(OpenDeviceCount(), 1);
    mmc.Command(MediaCommand::Close);
}

TEST(Mmc, DestroyingTheObjectClosesItsDevice) {
    {
        Mmc first;
        Mmc second;
        OpenLikeThePlayer(first, Media(L"tone_440.mp3"));
        OpenLikeThePlayer(second, Media(L"chord_c.mp3"));
        EXPECT_NE(first.Alias(), second.Alias());
        EXPECT_NE(first.DeviceId(), 0u);
        EXPECT_NE(first.DeviceId(), second.DeviceId());
        first.Command(MediaCommand::Play);
        second.Command(MediaCommand::Play);
        test::Pump(300ms);
        EXPECT_EQ(OpenDeviceCount(), 2);
    }
    EXPECT_EQ(OpenDeviceCount(), 0);
}

}  // namespace
}  // namespace tessel
