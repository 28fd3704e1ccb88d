// Prints figures of the two media layers side by side, per format:
//   - open-to-playing: from "open" to the first position read above 0 after "play"
//     (median of five), through the Media Foundation device and through the MCI
//     device; "-" where the layer does not play the format here;
//   - the time from "open" to the first video frame on screen, through each layer;
//   - CPU time and memory added while an audio medium plays for N seconds (argument,
//     default 10): first a bare Media Foundation program (the platform's own simple
//     player, no device of ours), then the Media Foundation device with the status
//     event every second reading what the player reads. The difference is what the
//     device adds on top of the platform.
//
//   bench_layers [SECONDS]
#include <windows.h>
#include <mfplay.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "player/playback/mmc/mf_device.h"
#include "player/playback/mmc/mmc.h"
#include "benchmarks/mmc/process_figures.h"
#include "tests/support/win32.h"

namespace {

using tessel::MediaCommand;
using tessel::MediaDevice;

std::wstring MediaPath(const wchar_t* name) {
    return (tessel::test::WinePath(TESSEL_BENCH_LAYERS_MEDIA) / name).wstring();
}

using tessel::bench::CpuMs;
using tessel::bench::NowMs;
using tessel::bench::PrivateMb;

// Open to the first position above 0, in ms; negative when the layer does not play it.
double OpenToPlaying(MediaDevice& device, const std::wstring& path) {
    const double start = NowMs();
    device.SetUpdateInterval(1000);
    device.SetFileName(path);
    device.Command(MediaCommand::Open);
    if (device.Length() == 0) return -1;
    device.Command(MediaCommand::Play);
    const bool playing =
        tessel::test::WaitUntil([&] { return device.Position() > 0; }, std::chrono::milliseconds(5000));
    const double elapsed = NowMs() - start;
    device.Command(MediaCommand::Close);
    return playing ? elapsed : -1;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The median of `runs` measurements as a column of the table; "-" when one failed.
std::string MedianFigure(int runs, const std::function<double()>& measure) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double t = measure();
        if (t < 0) return "      -";
        times.push_back(t);
    }
    char text[32];
    std::snprintf(text, sizeof text, "%7.1f", Median(times));
    return text;
}

std::string Figure(MediaDevice& device, const std::wstring& path) {
    return MedianFigure(5, [&] { return OpenToPlaying(device, path); });
}

// From "open" to the first frame on screen: the first bar of colours.mp4 (red) seen
// in the video window; negative when no frame shows within 5 s (MCI's video under
// Wine stays black).
double FirstFrame(MediaDevice& device, const wchar_t* videoClass) {
    const double start = NowMs();
    device.SetFileName(MediaPath(L"colours.mp4"));
    device.Command(MediaCommand::Open);
    device.Command(MediaCommand::Play);
    const bool seen = tessel::test::WaitUntil(
        [&] {
            HWND window = FindWindowW(videoClass, device.FileName().c_str());
            if (window == nullptr || !IsWindowVisible(window)) return false;
            POINT at{27, 120};  // the middle of the first bar at the video's own size
            ClientToScreen(window, &at);
            HDC screen = GetDC(nullptr);
            const COLORREF colour = GetPixel(screen, at.x, at.y);
            ReleaseDC(nullptr, screen);
            return GetRValue(colour) > 160 && GetGValue(colour) < 96 && GetBValue(colour) < 96;
        },
        std::chrono::milliseconds(5000));
    const double elapsed = NowMs() - start;
    device.Command(MediaCommand::Close);
    return seen ? elapsed : -1;
}

std::string FrameFigure(MediaDevice& device, const wchar_t* videoClass) {
    return MedianFigure(3, [&] { return FirstFrame(device, videoClass); });
}

struct Usage {
    double cpu_ms, private_mb;
};

// The platform's own simple player: no session, renderer or window of ours.
Usage PlayBare(const std::wstring& path, double seconds) {
    IMFPMediaPlayer* player = nullptr;
    const double cpu = CpuMs(), memory = PrivateMb();
    if (FAILED(MFPCreateMediaPlayer(path.c_str(), TRUE, 0, nullptr, nullptr, &player)) || player == nullptr)
        return {-1, -1};
    tessel::test::Pump(std::chrono::milliseconds(static_cast<int>(seconds * 1000)));
    const Usage usage{CpuMs() - cpu, PrivateMb() - memory};
    player->Shutdown();
    player->Release();
    return usage;
}

Usage PlayThroughDevice(const std::wstring& path, double seconds) {
    tessel::MfDevice device;
    std::int32_t seen = 0;
    device.SetStatusUpdate([&] { seen = device.Position() + device.Mode(); });
    const double cpu = CpuMs(), memory = PrivateMb();
    device.SetUpdateInterval(1000);
    device.SetFileName(path);
    device.Command(MediaCommand::Open);
    device.Command(MediaCommand::Play);
    tessel::test::Pump(std::chrono::milliseconds(static_cast<int>(seconds * 1000)));
    const Usage usage{CpuMs() - cpu, PrivateMb() - memory};
    device.Command(MediaCommand::Close);
    return usage;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const double seconds = argc > 1 ? std::max(1.0, _wtof(argv[1])) : 10.0;
    tessel::MfDevice foundation;
    tessel::Mmc mci;
    std::printf("open to playing, median of 5 (ms)   Media Foundation      MCI\n");
    for (const wchar_t* name : {L"tone_440.mp3", L"tone_660.wav", L"tone_880.m4a", L"chord_g.flac", L"clip.mp4",
                                L"clip.mkv", L"clip.avi"}) {
        const std::wstring path = MediaPath(name);
        const std::string mf = Figure(foundation, path);
        const std::string dshow = Figure(mci, path);
        std::printf("  %-34ls %s   %s\n", name, mf.c_str(), dshow.c_str());
    }
    const std::string mfFrame = FrameFigure(foundation, tessel::kVideoClassMediaFoundation);
    const std::string mciFrame = FrameFigure(mci, L"MCIQTZ_Window");
    std::printf("  %-34s %s   %s\n", "first video frame (median of 3)", mfFrame.c_str(), mciFrame.c_str());
    // The long silence: a medium that lasts longer than the run.
    const std::wstring medium = MediaPath(L"silence_185.mp3");
    const Usage bare = PlayBare(medium, seconds);
    const Usage device = PlayThroughDevice(medium, seconds);
    // Both after the opens above, so the platform's first-time costs (its libraries,
    // its decoders) are paid already; memory is what each run added while it played.
    std::printf("playing %.0f s of audio            CPU %% of a core   memory added (MB)\n", seconds);
    std::printf("  bare Media Foundation program      %6.2f            %7.1f\n", bare.cpu_ms / (seconds * 10),
                bare.private_mb);
    std::printf("  Media Foundation device            %6.2f            %7.1f\n", device.cpu_ms / (seconds * 10),
                device.private_mb);
    std::printf("  device over the bare program       %+6.2f            %+7.1f\n",
                (device.cpu_ms - bare.cpu_ms) / (seconds * 10), device.private_mb - bare.private_mb);
    return 0;
}
