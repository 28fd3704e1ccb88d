// "再生/次へ" on a queue of 5,000 files that exist but do not play (a dropped folder of
// covers and texts), in the real player in this process: how long the skip takes, and
// the longest time the control panel's window did not answer meanwhile, as another
// thread sees it (a WM_NULL sent again and again, each reply timed).
//   bench_skip [FILES]    another number of files (default 5,000)
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "benchmarks/player/bench_player_app.h"
#include "tests/support/win32.h"

namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::bench;
using namespace tessel::player;

int wmain(int argc, wchar_t** argv) {
    const std::size_t files = argc > 1 ? std::wcstoul(argv[1], nullptr, 10) : 5000;
    if (files == 0) return 1;
    const fs::path root = fs::temp_directory_path() / ("tessel-bench-skip-" + std::to_string(::GetCurrentProcessId()));
    const fs::path program = root / L"program";
    // Making thousands of files takes a while under Wine: the folder stays for the next run.
    const fs::path covers = fs::temp_directory_path() / L"tessel-bench-skip-covers";
    fs::create_directories(covers);
    std::vector<std::wstring> queue;
    for (std::size_t i = 0; i < files; ++i) {
        // Texts and "pictures" in turn: neither media layer opens them.
        const fs::path file = covers / (L"cover " + std::to_wstring(i) + (i % 2 ? L".jpg" : L".txt"));
        queue.push_back(file.wstring());
        if (!bench::MakeBenchFile(file, "not a medium\r\n")) return 1;
    }

    auto app = bench::StartBenchPlayer(program, TESSEL_BENCH_DIST, L"TesselPlayerBenchSkip");
    if (!app) return 2;
    auto& list = app->PanelControls().LstM3u;
    list.BeginBatch();
    for (const std::wstring& path : queue) list.AddItem(path);
    list.EndBatch();
    const HWND panel = app->Panel().Handle();

    std::atomic<bool> done{false}, probeEnded{false};
    std::vector<double> replies;
    std::thread probe([&] {
        while (!done) {
            const auto t0 = Clock::now();
            DWORD_PTR ignored = 0;
            if (!::SendMessageTimeoutW(panel, WM_NULL, 0, 0, SMTO_NORMAL, 600000, &ignored)) break;
            replies.push_back(Ms(Clock::now() - t0));
            ::Sleep(1);
        }
        probeEnded = true;
    });
    const auto t0 = Clock::now();
    ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(MenuForm::IdMenuPlay, 0), 0);
    MSG msg;
    // The skip ends in the idle display once the last file was tried.
    while (!(list.ListCount() == 0 && !app->Engine().Searching() && !app->Engine().Busy())) {
        if (::GetMessageW(&msg, nullptr, 0, 0) <= 0) break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    const double total = Ms(Clock::now() - t0);
    done = true;
    // The probe's last message needs this thread to answer it.
    while (!probeEnded) {
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
        ::Sleep(1);
    }
    probe.join();
    std::sort(replies.begin(), replies.end());
    std::printf("files that do not play: %zu (texts and pictures)\n", files);
    std::printf("skip to the idle display: %.0f ms (%.1f ms a file)\n", total, total / static_cast<double>(files));
    if (!replies.empty()) {
        std::printf("window answered %zu times; longest without an answer: %.0f ms; median reply %.2f ms\n",
                    replies.size(), replies.back(), replies[replies.size() / 2]);
    }
    app->Shutdown();
    app.reset();
    std::error_code ignored;
    fs::remove_all(root, ignored);
    return 0;
}
