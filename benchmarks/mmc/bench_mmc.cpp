// Prints figures of the media device under the running system:
//   - "open" to a known length, per medium kind (median of several opens), through
//     Mmc and through plain MCI commands;
//   - the cost of one Position() and one Mode() read while playing;
//   - CPU time and private memory while one medium plays for N seconds (argument,
//     default 10), first with plain MCI commands only, then through Mmc with the
//     status event every 1000 ms reading what the player reads. The difference is
//     what the media device adds on top of the driver.
//
//   bench_mmc [SECONDS]
#include <windows.h>
#include <mmsystem.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "player/playback/mmc/mmc.h"
#include "benchmarks/mmc/process_figures.h"
#include "tests/support/win32.h"

namespace {

std::wstring MediaPath(const wchar_t* name) {
    return (tessel::test::WinePath(TESSEL_BENCH_MMC_MEDIA) / name).wstring();
}

using tessel::bench::CpuMs;
using tessel::bench::NowMs;
using tessel::bench::PrivateMb;

// Waits like a message loop does: asleep until a message or the deadline.
void PumpFor(double ms) {
    const double end = NowMs() + ms;
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        const double left = end - NowMs();
        if (left <= 0) {
            return;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left) + 1, QS_ALLINPUT);
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

void OpenTimes(const wchar_t* name) {
    const std::wstring path = MediaPath(name);
    std::vector<double> raw;
    std::vector<double> device;
    std::int32_t length = 0;
    for (int i = 0; i < 5; ++i) {
        double start = NowMs();
        const std::wstring open = L"open \"" + path + L"\" type mpegvideo alias bench";
        wchar_t buffer[64] = {};
        if (mciSendStringW(open.c_str(), nullptr, 0, nullptr) == 0) {
            mciSendStringW(L"set bench time format milliseconds", nullptr, 0, nullptr);
            mciSendStringW(L"status bench length", buffer, 64, nullptr);
            raw.push_back(NowMs() - start);
            mciSendStringW(L"close bench", nullptr, 0, nullptr);
        }
        tessel::Mmc mmc;
        mmc.SetFileName(path);
        start = NowMs();
        mmc.Command(tessel::MediaCommand::Open);
        length = mmc.Length();
        device.push_back(NowMs() - start);
        mmc.Command(tessel::MediaCommand::Close);
    }
    std::printf("open %-16ls length %6d ms   plain MCI %7.1f ms   Mmc %7.1f ms\n", name,
                static_cast<int>(length), Median(raw), Median(device));
}

void ReadCost() {
    tessel::Mmc mmc;
    mmc.SetFileName(MediaPath(L"silence_185.mp3"));
    mmc.Command(tessel::MediaCommand::Open);
    mmc.Command(tessel::MediaCommand::Play);
    PumpFor(200);
    const int reads = 500;
    volatile std::int64_t sink = 0;
    double start = NowMs();
    for (int i = 0; i < reads; ++i) {
        sink = sink + mmc.Position();
    }
    const double position_us = (NowMs() - start) * 1000.0 / reads;
    start = NowMs();
    for (int i = 0; i < reads; ++i) {
        sink = sink + mmc.Mode();
    }
    const double mode_us = (NowMs() - start) * 1000.0 / reads;
    mmc.Command(tessel::MediaCommand::Close);
    std::printf("one read while playing: Position() %.1f us, Mode() %.1f us\n", position_us, mode_us);
}

struct Usage {
    double cpu_ms;
    double private_mb;
};

Usage PlayPlain(const std::wstring& path, double seconds) {
    const double cpu = CpuMs();
    const std::wstring open = L"open \"" + path + L"\" type mpegvideo alias bench";
    mciSendStringW(open.c_str(), nullptr, 0, nullptr);
    mciSendStringW(L"play bench", nullptr, 0, nullptr);
    PumpFor(seconds * 1000.0);
    const Usage usage{CpuMs() - cpu, PrivateMb()};
    mciSendStringW(L"close bench", nullptr, 0, nullptr);
    return usage;
}

Usage PlayThroughMmc(const std::wstring& path, double seconds) {
    const double cpu = CpuMs();
    tessel::Mmc mmc;
    int events = 0;
    volatile std::int64_t sink = 0;
    mmc.SetStatusUpdate([&] {
        ++events;
        sink = sink + mmc.Position() + mmc.Length() + mmc.Mode();
    });
    mmc.SetNotify(false);
    mmc.SetWait(true);
    mmc.SetUpdateInterval(1000);
    mmc.SetFileName(path);
    mmc.Command(tessel::MediaCommand::Open);
    mmc.Command(tessel::MediaCommand::Play);
    PumpFor(seconds * 1000.0);
    const Usage usage{CpuMs() - cpu, PrivateMb()};
    mmc.Command(tessel::MediaCommand::Close);
    std::printf("  (status events seen: %d)\n", events);
    return usage;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    double seconds = 10;
    if (argc > 1) {
        seconds = std::clamp(std::wcstod(argv[1], nullptr), 1.0, 170.0);
    }
    for (const wchar_t* name : {L"tone_440.mp3", L"tone_660.wav", L"clip.mp4", L"clip.avi"}) {
        OpenTimes(name);
    }
    ReadCost();

    const std::wstring medium = MediaPath(L"silence_185.mp3");
    std::printf("playing silence_185.mp3 for %.0f s each way\n", seconds);
    const Usage plain = PlayPlain(medium, seconds);
    const Usage device = PlayThroughMmc(medium, seconds);
    const double core = seconds * 1000.0;
    std::printf("plain MCI: CPU %.0f ms (%.2f %% of a core), private memory %.1f MB\n", plain.cpu_ms,
                100.0 * plain.cpu_ms / core, plain.private_mb);
    std::printf("Mmc:       CPU %.0f ms (%.2f %% of a core), private memory %.1f MB\n", device.cpu_ms,
                100.0 * device.cpu_ms / core, device.private_mb);
    std::printf("Mmc over plain MCI: %+.2f %% of a core, %+.1f MB\n",
                100.0 * (device.cpu_ms - plain.cpu_ms) / core, device.private_mb - plain.private_mb);
    return 0;
}
