// A drop of one folder holding 30,000 files on the real player in this process, on the
// control panel's queue list and on the skin window, against the bare enumeration of
// the same folder (FindFirstFileW/FindNextFileW collecting the full paths) in the same
// run. Target: each drop at most 1.5 times the bare enumeration.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "benchmarks/player/bench_player_app.h"
#include "tests/support/win32.h"

namespace {

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::player;
using bench::Clock;
using bench::Ms;

std::size_t Enumerate(const std::wstring& folder, std::vector<std::wstring>& out) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) out.push_back(folder + L"\\" + found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return out.size();
}

}  // namespace

int main() {
    constexpr std::size_t kFiles = 30000;
    constexpr int kRounds = 3;
    const fs::path root = fs::temp_directory_path() / ("tessel-bench-drop-" + std::to_string(::GetCurrentProcessId()));
    const fs::path program = root / L"program";
    // Making 30,000 files takes minutes under Wine: the folder stays for the next run.
    const fs::path tree = fs::temp_directory_path() / L"tessel-bench-drop-曲";
    fs::create_directories(tree);
    for (std::size_t i = 0; i < kFiles; ++i) {
        if (!bench::MakeBenchFile(tree / (L"track " + std::to_wstring(i) + L".mp3"), "")) return 1;
    }

    // The build's skins and its own first-run settings file, as they are.
    auto app = bench::StartBenchPlayer(program, TESSEL_BENCH_DIST, L"TesselPlayerBenchDrop");
    if (!app) return 2;
    app->Panel().SetPanelVisible(true);
    HWND panelList = app->Panel().Child(MenuForm::IdLstM3u);

    std::vector<double> bare, panel, skin;
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::wstring> paths;
        auto t0 = Clock::now();
        if (Enumerate(tree.wstring(), paths) != kFiles) return 3;
        bare.push_back(Ms(Clock::now() - t0));

        app->PanelControls().LstM3u.Clear();
        t0 = Clock::now();
        test::SendDrop(panelList, {tree.wstring()});
        panel.push_back(Ms(Clock::now() - t0));
        if (static_cast<std::size_t>(::SendMessageW(panelList, LB_GETCOUNT, 0, 0)) != kFiles) return 4;

        app->PanelControls().LstM3u.Clear();
        t0 = Clock::now();
        test::SendDrop(app->Skin().Handle(), {tree.wstring()});
        skin.push_back(Ms(Clock::now() - t0));
        if (static_cast<std::size_t>(::SendMessageW(panelList, LB_GETCOUNT, 0, 0)) != kFiles) return 5;
    }
    std::sort(bare.begin(), bare.end());
    std::sort(panel.begin(), panel.end());
    std::sort(skin.begin(), skin.end());
    const double b = bare[kRounds / 2], p = panel[kRounds / 2], s = skin[kRounds / 2];
    std::printf("files: %zu in one folder, rounds: %d (medians)\n", kFiles, kRounds);
    std::printf("bare enumeration: %.1f ms\n", b);
    std::printf("drop on the panel's queue list: %.1f ms, ratio %.2f (target <= 1.5)\n", p, p / b);
    std::printf("drop on the skin window: %.1f ms, ratio %.2f (target <= 1.5)\n", s, s / b);
    app->PanelControls().LstM3u.Clear();
    app.reset();
    std::error_code ignored;
    fs::remove_all(root, ignored);
    return p / b <= 1.5 && s / b <= 1.5 ? 0 : 6;
}
