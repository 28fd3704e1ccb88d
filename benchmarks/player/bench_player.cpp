// Figures of the player program under Wine:
//   - start-up: from process creation until the body window is visible (warm Wine);
//   - while one medium plays for 30 s: CPU time and private memory of tesselplay
//     against a program that only plays the same medium through MCI, side by side in
//     the same run, and the difference (the player's own overhead).
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "benchmarks/player/process_probe.h"
#include "tests/support/player_folder.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using namespace tessel::bench;

HWND VisibleBodyWindow(DWORD pid) {
    HWND body = ::FindWindowW(L"TesselPlayerForm", L"PlayerForm");
    if (!body) return nullptr;
    DWORD owner = 0;
    ::GetWindowThreadProcessId(body, &owner);
    return owner == pid && ::IsWindowVisible(body) ? body : nullptr;
}

// A private program folder: the built one's program and skin, first-run settings.
fs::path MakeFolder(const fs::path& dist) {
    const fs::path folder = fs::temp_directory_path() / (L"bench_player_" + std::to_wstring(::GetCurrentProcessId()));
    fs::remove_all(folder);
    tessel::test::MakeProgramFolder(folder,
                                    {.settings = std::nullopt, .shippedSkins = true, .program = true, .dist = dist});
    fs::copy_file(dist / L"Setting" / L"init.ini", folder / L"Setting" / L"init.ini");
    return folder;
}

}  // namespace

int main() {
    const fs::path dist = fs::path(TESSEL_BENCH_DIST).make_preferred();
    const fs::path medium = fs::path(TESSEL_BENCH_MEDIUM).make_preferred();
    const fs::path baseline = fs::path(TESSEL_BENCH_BASELINE).make_preferred();
    const fs::path folder = MakeFolder(dist);
    const fs::path player = folder / L"tesselplay.exe";
    const std::wstring quoted = L"\"" + medium.wstring() + L"\"";

    // Start-up to windows shown, several runs (the first one warms Wine's caches).
    std::vector<double> startups;
    for (int run = 0; run < 6; ++run) {
        Child p;
        const auto t0 = Clock::now();
        if (!p.Start(player, L"")) {
            std::printf("cannot start %ls\n", player.c_str());
            return 1;
        }
        while (!VisibleBodyWindow(p.Id()) && Clock::now() - t0 < std::chrono::seconds(30)) ::Sleep(2);
        startups.push_back(std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
        p.Stop();
    }
    std::sort(startups.begin() + 1, startups.end());
    std::printf("start-up to windows shown: first %.0f ms, warm median %.0f ms, warm best %.0f ms\n", startups[0],
                startups[1 + (startups.size() - 1) / 2], startups[1]);

    // Both play the same medium for 30 s at the same time.
    Child mine, base;
    if (!mine.Start(player, quoted) || !base.Start(baseline, quoted)) {
        std::printf("cannot start the programs\n");
        return 1;
    }
    ::Sleep(3000);  // past start-up and opening
    const std::wstring linuxMine = FindLinuxProcess(Narrow(folder.filename().wstring()));
    const std::wstring linuxBase = FindLinuxProcess("mci_play_only.exe");
    if (linuxMine.empty() || linuxBase.empty()) {
        std::printf("cannot find the programs' Linux processes\n");
        return 1;
    }
    const double cpuMine0 = LinuxCpuSeconds(linuxMine), cpuBase0 = LinuxCpuSeconds(linuxBase);
    const auto t0 = Clock::now();
    double memMine = 0, memBase = 0;
    while (Clock::now() - t0 < std::chrono::seconds(30)) {
        ::Sleep(500);
        memMine = std::max(memMine, LinuxPrivateMegabytes(linuxMine));
        memBase = std::max(memBase, LinuxPrivateMegabytes(linuxBase));
    }
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    const double cpuMine = (LinuxCpuSeconds(linuxMine) - cpuMine0) / wall * 100.0;
    const double cpuBase = (LinuxCpuSeconds(linuxBase) - cpuBase0) / wall * 100.0;
    std::printf("playing %.0f s: CPU tesselplay %.2f %%, MCI only %.2f %%, overhead %.2f %% of one core (target <= 0.5)\n",
                wall, cpuMine, cpuBase, cpuMine - cpuBase);
    std::printf("private memory (resident anonymous, peak): tesselplay %.1f MB, MCI only %.1f MB, overhead %.1f MB (target <= 10)\n",
                memMine, memBase, memMine - memBase);
    mine.Stop();
    base.Stop();
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return 0;
}
