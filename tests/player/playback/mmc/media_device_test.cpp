// The promises of MediaDevice, kept by each real media layer (Media Foundation and
// MCI's DirectShow device) with generated media under Wine, and what only the MCI
// device has. Playback runs in real time, so every check is a range or an order, never
// an exact tick; every wait pumps messages (the layers' events arrive as window
// messages) and is bounded.
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "player/playback/mmc/choosing_device.h"
#include "player/playback/mmc/mf_device.h"
#include "player/playback/mmc/mmc.h"
#include "tests/support/temp_dir.h"
#include "tests/support/win32.h"

namespace tessel {
namespace {

using test::Media;
using test::WaitUntil;
using namespace std::chrono_literals;

// Number of MCI devices this process has open.
int OpenMciDevices() {
    wchar_t buffer[32] = {};
    if (mciSendStringW(L"sysinfo all quantity open", buffer, 32, nullptr) != 0) return -1;
    return _wtoi(buffer);
}

// Top-level windows of a class that belong to this process.
int WindowsOfClass(const wchar_t* windowClass) {
    int count = 0;
    for (HWND window : test::WindowsOfProcess(GetCurrentProcessId()))
        count += lstrcmpiW(test::ClassOf(window).c_str(), windowClass) == 0;
    return count;
}

// Opens a medium the way the player does before every medium.
void OpenLikeThePlayer(MediaDevice& device, const std::wstring& path) {
    device.SetNotify(false);
    device.SetWait(true);
    device.SetUpdateInterval(1000);
    device.SetFileName(path);
    device.Command(MediaCommand::Open);
}

struct Layer {
    const char* name;
    std::function<std::unique_ptr<MediaDevice>()> make;
    const wchar_t* videoClass;
    // Whether the platform's layer moves the sound to a start point. Wine 8's Media
    // Foundation moves only the clock (measured: a run from 2 s of a 3.5 s file lasts
    // 3.3 s; the source node's media start is ignored too); Windows' moves both.
    bool seeksSound;
};
void PrintTo(const Layer& layer, std::ostream* out) { *out << layer.name; }

std::string LayerName(const testing::TestParamInfo<Layer>& info) { return info.param.name; }

class MediaDeviceTest : public testing::TestWithParam<Layer> {
protected:
    void SetUp() override { device_ = GetParam().make(); }
    void TearDown() override {
        device_.reset();
        // Whatever a test did, its layer holds nothing once the device is gone.
        EXPECT_EQ(OpenMciDevices(), 0);
        EXPECT_TRUE(WaitUntil([&] { return WindowsOfClass(GetParam().videoClass) == 0; }, 3000ms))
            << "a video window outlived its device";
    }

    void Open(const std::wstring& path) { OpenLikeThePlayer(*device_, path); }

    struct Run {
        bool ended = false;
        DWORD elapsed_ms = 0;
        std::vector<std::int32_t> positions;
    };
    // Samples Position() while playing until the medium ends (Mode() 525) or the time
    // is up; every sample must be at least the one before.
    Run FollowRun(DWORD timeout_ms) {
        Run run;
        const DWORD start = GetTickCount();
        run.ended = WaitUntil(
            [&] {
                run.positions.push_back(device_->Position());
                return device_->Mode() == MediaDevice::kModeStopped;
            },
            std::chrono::milliseconds(timeout_ms));
        run.elapsed_ms = GetTickCount() - start;
        for (std::size_t i = 1; i < run.positions.size(); ++i) {
            EXPECT_GE(run.positions[i], run.positions[i - 1]) << "sample " << i;
        }
        return run;
    }

    // After a pause or a stop: the mode, a position in [low, high], and both still so
    // a while later (a paused or stopped medium is not taken for ended).
    std::int32_t ExpectHeld(int mode, std::int32_t low, std::int32_t high) {
        EXPECT_EQ(device_->Mode(), mode);
        const std::int32_t at = device_->Position();
        EXPECT_GE(at, low);
        EXPECT_LE(at, high);
        test::Pump(500ms);
        EXPECT_EQ(device_->Mode(), mode);
        EXPECT_EQ(device_->Position(), at);
        return at;
    }

    std::unique_ptr<MediaDevice> device_;
};

struct Medium {
    const wchar_t* file;
    std::int32_t low, high;  // its length in ms; 0, 0: unplayable
    bool video;
};

// Every format the player's lists take, and what must not play.
const Medium kMedia[] = {
    {L"tone_440.mp3", 3400, 3700, false},  {L"tone_660.wav", 3450, 3550, false},
    {L"tone_880.m4a", 3400, 3700, false},  {L"chord_g.flac", 3450, 3550, false},
    {L"blip.mp3", 250, 450, false},        {L"clip.mp4", 3800, 4300, true},
    {L"clip.mkv", 3800, 4300, true},       {L"clip.avi", 3800, 4300, true},
    {L"テスト 曲 その1.mp3", 3400, 3700, false},
    {L"noise.mp4", 0, 0, false},           {L"broken.mp3", 0, 0, false},
    {L"no such file.mp3", 0, 0, false},
};

TEST_P(MediaDeviceTest, OpensEveryFormatWithItsLengthAndRefusesWhatIsNotMedia) {
    int events = 0;
    device_->SetStatusUpdate([&] { ++events; });
    for (const Medium& medium : kMedia) {
        SCOPED_TRACE(test::Printable(medium.file));
        Open(Media(medium.file));
        if (medium.high == 0) {
            EXPECT_EQ(device_->Length(), 0);
            EXPECT_EQ(device_->Mode(), MediaDevice::kModeNotOpen);
            for (MediaCommand command : {MediaCommand::Play, MediaCommand::Pause, MediaCommand::Pause,
                                         MediaCommand::Stop}) {
                device_->Command(command);
                EXPECT_EQ(device_->Mode(), MediaDevice::kModeNotOpen);
                EXPECT_EQ(device_->Position(), 0);
            }
            continue;
        }
        EXPECT_EQ(device_->Mode(), MediaDevice::kModeStopped);
        EXPECT_GE(device_->Length(), medium.low);
        EXPECT_LE(device_->Length(), medium.high);
        EXPECT_EQ(device_->Position(), 0);
        device_->Command(MediaCommand::Play);
        EXPECT_EQ(device_->Mode(), MediaDevice::kModePlaying);
        if (medium.video) {
            HWND window = nullptr;
            EXPECT_TRUE(WaitUntil(
                [&] { return (window = FindWindowW(GetParam().videoClass, device_->FileName().c_str())) != nullptr; },
                3000ms))
                << "no video window titled with the file name";
        }
    }
    // An empty name is no medium either, and an unplayable open closed what was open.
    Open(L"");
    EXPECT_EQ(device_->Length(), 0);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModeNotOpen);
    events = 0;
    test::Pump(1300ms);
    EXPECT_EQ(events, 0) << "status event while nothing is open";
    EXPECT_EQ(WindowsOfClass(GetParam().videoClass), 0);
}

TEST_P(MediaDeviceTest, PlaysToTheEndAndEndsAgainOnASecondPlay) {
    Open(Media(L"tone_880.m4a"));
    const std::int32_t length = device_->Length();
    ASSERT_GT(length, 3000);
    device_->Command(MediaCommand::Play);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModePlaying);
    Run first = FollowRun(static_cast<DWORD>(length) + 3000);
    ASSERT_TRUE(first.ended) << "no end within the length plus 3 s";
    EXPECT_GE(first.elapsed_ms, static_cast<DWORD>(length) - 500) << "faster than real time";
    EXPECT_GT(first.positions.size(), 20u);
    EXPECT_EQ(device_->Position(), length);
    test::Pump(600ms);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModeStopped) << "it stays ended";
    EXPECT_EQ(device_->Position(), length);

    // Back to the start on the same open medium.
    device_->SetFrom(0);
    device_->Command(MediaCommand::Play);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModePlaying);
    EXPECT_LT(device_->Position(), 500);
    test::Pump(700ms);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModePlaying) << "a second play must read playing";
    EXPECT_GE(device_->Position(), 300);
    Run second = FollowRun(static_cast<DWORD>(length) + 3000);
    ASSERT_TRUE(second.ended) << "no end of the second run";
    EXPECT_GE(second.elapsed_ms + 700, static_cast<DWORD>(length) - 500);
    EXPECT_EQ(device_->Position(), length);

    // A plain play at the end has nothing left to play: it stays ended.
    device_->Command(MediaCommand::Play);
    test::Pump(300ms);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModeStopped);
    EXPECT_EQ(device_->Position(), length);

    device_->Command(MediaCommand::Close);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModeNotOpen);
    EXPECT_EQ(device_->Length(), 0);
    EXPECT_EQ(device_->Position(), 0);
}

TEST_P(MediaDeviceTest, PauseTogglesAndResumesWhereItPaused) {
    Open(Media(L"chord_g.flac"));
    ASSERT_GT(device_->Length(), 3000);
    device_->Command(MediaCommand::Play);
    test::Pump(1000ms);

    device_->Command(MediaCommand::Pause);
    const std::int32_t paused_at = ExpectHeld(MediaDevice::kModePaused, 700, 1600);

    device_->Command(MediaCommand::Pause);  // the same word resumes
    EXPECT_EQ(device_->Mode(), MediaDevice::kModePlaying);
    test::Pump(400ms);
    const std::int32_t resumed = device_->Position();
    EXPECT_GE(resumed, paused_at + 200) << "playback did not go on";
    EXPECT_LE(resumed, paused_at + 1000) << "resumed somewhere else";

    Run rest = FollowRun(5000);
    ASSERT_TRUE(rest.ended);
    EXPECT_EQ(device_->Position(), device_->Length());
}

TEST_P(MediaDeviceTest, PlayFromAStartPointAndStop) {
    Open(Media(L"tone_880.m4a"));
    const std::int32_t length = device_->Length();
    ASSERT_GE(length, 3400);

    device_->SetFrom(2000);
    device_->Command(MediaCommand::Play);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModePlaying);
    EXPECT_GE(device_->Position(), 2000);
    EXPECT_LT(device_->Position(), 2400);
    Run run = FollowRun(4000);
    ASSERT_TRUE(run.ended);
    EXPECT_GE(run.elapsed_ms, static_cast<DWORD>(length - 2000) - 500);
    if (GetParam().seeksSound) {
        EXPECT_LE(run.elapsed_ms, static_cast<DWORD>(length - 2000) + 1500);
    }
    EXPECT_EQ(device_->Position(), length);

    // "stop" mid-way: stopped, and the position stays where it stopped; a plain play
    // goes on from there.
    device_->SetFrom(500);
    device_->Command(MediaCommand::Play);
    test::Pump(500ms);
    device_->Command(MediaCommand::Stop);
    const std::int32_t stopped_at = ExpectHeld(MediaDevice::kModeStopped, 700, 1500);
    device_->Command(MediaCommand::Play);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModePlaying);
    test::Pump(500ms);
    EXPECT_GE(device_->Position(), stopped_at + 200);
    EXPECT_LE(device_->Position(), stopped_at + 1200);

    // A start point beyond the end ends at once; one below 0 starts at 0.
    device_->SetFrom(length + 5000);
    device_->Command(MediaCommand::Play);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModeStopped);
    EXPECT_EQ(device_->Position(), length);
    device_->SetFrom(-300);
    device_->Command(MediaCommand::Play);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModePlaying);
    EXPECT_LT(device_->Position(), 400);
}

TEST_P(MediaDeviceTest, RestartInTheLastMomentIsNotTakenForTheEnd) {
    // Back to the start just before the end: the end of the old run (and any end
    // event already on its way) must not end the new one.
    Open(Media(L"tone_440.mp3"));
    const std::int32_t length = device_->Length();
    ASSERT_GT(length, 1000);
    for (bool pump : {true, false}) {
        SCOPED_TRACE(pump ? "before the end" : "end event queued");
        device_->SetFrom(length - 300);
        device_->Command(MediaCommand::Play);
        if (pump) {
            test::Pump(250ms);
        } else {
            Sleep(800);  // the end happens while the thread reads no message
        }
        device_->SetFrom(0);
        device_->Command(MediaCommand::Play);
        test::Pump(700ms);
        EXPECT_EQ(device_->Mode(), MediaDevice::kModePlaying);
        EXPECT_GE(device_->Position(), 400);
        EXPECT_LE(device_->Position(), 1300);
    }
}

TEST_P(MediaDeviceTest, StatusEventRunsEveryIntervalOnlyWhileAMediumIsOpen) {
    int events = 0;
    std::vector<std::int32_t> seen;
    device_->SetStatusUpdate([&] {
        ++events;
        seen.push_back(device_->Position());
    });
    device_->SetUpdateInterval(200);
    device_->SetFileName(Media(L"chord_c.mp3"));
    device_->Command(MediaCommand::Open);
    device_->Command(MediaCommand::Play);
    test::Pump(1500ms);
    EXPECT_GE(events, 4);
    EXPECT_LE(events, 9);
    ASSERT_FALSE(seen.empty());
    EXPECT_GT(seen.back(), seen.front());

    device_->Command(MediaCommand::Close);
    const int at_close = events;
    test::Pump(700ms);
    EXPECT_EQ(events, at_close) << "status event after close";

    // The interval is taken at the next open.
    device_->SetUpdateInterval(1000);
    device_->Command(MediaCommand::Open);
    events = 0;
    test::Pump(1600ms);
    EXPECT_GE(events, 1);
    EXPECT_LE(events, 2);
}

TEST_P(MediaDeviceTest, AShortMediumAndAVideoEndLikeAnyOther) {
    for (const wchar_t* file : {L"blip.mp3", L"clip.mp4"}) {
        SCOPED_TRACE(test::Printable(file));
        Open(Media(file));
        const std::int32_t length = device_->Length();
        ASSERT_GT(length, 0);
        device_->Command(MediaCommand::Play);
        Run run = FollowRun(static_cast<DWORD>(length) + 3000);
        ASSERT_TRUE(run.ended);
        EXPECT_EQ(device_->Position(), length);
    }
    HWND window = FindWindowW(GetParam().videoClass, device_->FileName().c_str());
    device_->Command(MediaCommand::Close);
    EXPECT_TRUE(WaitUntil([&] { return window == nullptr || !IsWindow(window); }, 3000ms))
        << "video window left behind at close";
}

TEST_P(MediaDeviceTest, AnOpenWhilePlayingReplacesTheMedium) {
    Open(Media(L"clip.mp4"));
    device_->Command(MediaCommand::Play);
    test::Pump(500ms);
    Open(Media(L"silence_185.mp3"));
    EXPECT_EQ(device_->Length() / 1000, 185);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModeStopped);
    EXPECT_EQ(device_->Position(), 0);
    EXPECT_TRUE(WaitUntil([&] { return WindowsOfClass(GetParam().videoClass) == 0; }, 3000ms))
        << "the old medium's picture stayed";
    device_->Command(MediaCommand::Play);
    test::Pump(600ms);
    EXPECT_GE(device_->Position(), 200);
    EXPECT_LE(OpenMciDevices(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Layers, MediaDeviceTest,
    testing::Values(
        Layer{"MediaFoundation", [] { return std::unique_ptr<MediaDevice>(new MfDevice()); },
              kVideoClassMediaFoundation, !test::RunningUnderWine()},
        Layer{"Mci", [] { return std::unique_ptr<MediaDevice>(new Mmc()); }, L"MCIQTZ_Window", true}),
    LayerName);

// A colour named by which channels are high (above 160) and low (below 96).
char ColourName(COLORREF c) {
    const int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    auto high = [](int v) { return v > 160; };
    auto low = [](int v) { return v < 96; };
    if (high(r) && low(g) && low(b)) return 'R';
    if (low(r) && high(g) && low(b)) return 'G';
    if (low(r) && low(g) && high(b)) return 'B';
    if (high(r) && high(g) && low(b)) return 'Y';
    if (high(r) && high(g) && high(b)) return 'W';
    if (low(r) && low(g) && low(b)) return 'K';
    return '?';
}

// The six bars of colours.mp4 as the screen shows them (what a person sees) across the
// middle row of the picture, which keeps its 4:3 shape inside the window's client area.
std::string BarsSeen(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const int width = std::min<int>(client.right, client.bottom * 4 / 3), height = width * 3 / 4;
    HDC screen = GetDC(nullptr);
    std::string bars;
    for (int bar = 0; bar < 6; ++bar) {
        POINT at{(client.right - width) / 2 + width * (2 * bar + 1) / 12, (client.bottom - height) / 2 + height / 2};
        ClientToScreen(window, &at);
        bars += ColourName(GetPixel(screen, at.x, at.y));
    }
    ReleaseDC(nullptr, screen);
    return bars;
}

TEST(MediaFoundationVideo, ThePictureShowsAtItsOwnSizeAndAfterResizing) {
    MfDevice device;
    device.SetFileName(Media(L"colours.mp4"));
    device.Command(MediaCommand::Open);
    ASSERT_GT(device.Length(), 3000);
    EXPECT_TRUE(device.HasVideo());
    HWND window = device.VideoWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(test::ClassOf(window), kVideoClassMediaFoundation);
    EXPECT_EQ(test::WindowText(window), device.FileName());
    EXPECT_FALSE(IsWindowVisible(window)) << "shown before play";
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 320) << client.right << " x " << client.bottom;
    EXPECT_EQ(client.bottom, 240);

    device.Command(MediaCommand::Play);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(window) != FALSE; }, 2000ms));
    // The picture is read from the screen: nothing else on the display may cover it.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // Frames arrive a moment after the start; black or a blank window would fail.
    std::string seen;
    EXPECT_TRUE(WaitUntil([&] { return (seen = BarsSeen(window)) == "RGBYWK"; }, 2500ms)) << "seen " << seen;

    // The display size "2倍": the window grows, the picture follows and keeps its shape.
    SetWindowPos(window, nullptr, 0, 0, 640, 480, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    EXPECT_TRUE(WaitUntil([&] { return (seen = BarsSeen(window)) == "RGBYWK"; }, 2000ms)) << "seen " << seen;
    device.Command(MediaCommand::Close);
    EXPECT_FALSE(IsWindow(window));
}

// A Media Foundation that cannot open anything (as a stock Windows for MIDI, or for a
// format only a user-installed DirectShow filter reads): every medium goes to MCI.
class RefusingLayer final : public MediaDeviceProperties {
public:
    int opens = 0;
    void Command(MediaCommand command) override {
        if (command == MediaCommand::Open) ++opens;
        EndCommand();
    }
    int Mode() const override { return kModeNotOpen; }
    std::int32_t Length() const override { return 0; }
    std::int32_t Position() const override { return 0; }
};

TEST(ChoosingDeviceUnderWine, WhatTheFirstLayerRefusesPlaysThroughMci) {
    std::vector<std::unique_ptr<MediaDevice>> layers;
    auto refusing = std::make_unique<RefusingLayer>();
    RefusingLayer* first = refusing.get();
    layers.push_back(std::move(refusing));
    layers.push_back(std::make_unique<Mmc>());
    ChoosingDevice device(std::move(layers));
    int events = 0;
    device.SetStatusUpdate([&] { ++events; });

    device.SetUpdateInterval(300);
    device.SetFileName(Media(L"clip.avi"));
    device.Command(MediaCommand::Open);
    EXPECT_EQ(first->opens, 1);
    EXPECT_EQ(device.ChosenLayer(), 1);
    EXPECT_GE(device.Length(), 3800);
    device.SetFrom(2500);
    device.Command(MediaCommand::Play);
    EXPECT_EQ(device.Mode(), MediaDevice::kModePlaying);
    EXPECT_TRUE(WaitUntil([&] { return FindWindowW(L"MCIQTZ_Window", device.FileName().c_str()) != nullptr; },
                          3000ms));
    EXPECT_TRUE(WaitUntil([&] { return device.Mode() == MediaDevice::kModeStopped; }, 4000ms))
        << "the run from 2.5 s did not end";
    EXPECT_EQ(device.Position(), device.Length());
    EXPECT_GE(events, 2) << "the status event of the chosen layer did not come through";
}

// What only the MCI device has: a driver alias and device of its own per object. The
// threads of this process that carry an MCI device, counted by their windows.
int MciThreadCount() {
    int count = 0;
    for (HWND w = nullptr; (w = ::FindWindowExW(HWND_MESSAGE, w, MciThread::kWindowClass, nullptr)) != nullptr;)
        ++count;
    return count;
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
        EXPECT_EQ(OpenMciDevices(), 2);
    }
    EXPECT_EQ(OpenMciDevices(), 0);
}

// Megabytes of random bytes under a media name keep the driver parsing for seconds
// (2 to 7 s for 32 MB under Wine, and minutes for some files on Windows). The open is
// given up at the object's limit while the caller's windows answer; the device the
// driver opens late is closed on its own thread, and the next medium opens as usual.
TEST(Mmc, AnOpenPastItsLimitIsGivenUpWhileTheCallersWindowsAnswer) {
    test::TempDir dir("mmc-slow");
    std::string junk(32 << 20, '\0');
    std::mt19937 random(7);
    for (char& c : junk) c = static_cast<char>(random());
    const std::wstring path = dir.Write("junk.mp3", junk).wstring();

    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    std::atomic<bool> answered{false};
    std::thread asker([&] {
        std::this_thread::sleep_for(50ms);
        DWORD_PTR unused = 0;
        answered = ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 1500, &unused) != 0;
    });
    {
        Mmc mmc(800);
        OpenLikeThePlayer(mmc, path);
        asker.join();
        EXPECT_TRUE(answered);
        EXPECT_EQ(mmc.Length(), 0);
        EXPECT_EQ(mmc.Mode(), MediaDevice::kModeNotOpen);

        OpenLikeThePlayer(mmc, Media(L"tone_440.mp3"));
        EXPECT_GT(mmc.Length(), 0);
        EXPECT_EQ(MciThreadCount(), 2);
        // The thread given up on ends once the driver returns, and closes what it opened.
        EXPECT_TRUE(test::WaitUntil([] { return MciThreadCount() == 1; }, 90s));
        EXPECT_EQ(OpenMciDevices(), 1);
    }
    EXPECT_EQ(OpenMciDevices(), 0);
    ::DestroyWindow(window);
}

}  // namespace
}  // namespace tessel
