// LoadListFile of a 30,000-line list whose files all exist, into a real list box (the
// panel's LstM3u binding), against the bare existence tests of the same 30,000 paths
// in the same run. Target: the load at most 1.5 times the bare tests.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/fileio.h"
#include "common/textfile.h"
#include "player/playback/engine.h"
#include "player/shared/control_views.h"
#include "tests/support/fake_device.h"

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
using namespace tessel;
using namespace tessel::player;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

}  // namespace

int main() {
    constexpr int kLines = 30000;
    constexpr int kRounds = 5;
    const fs::path dir = fs::temp_directory_path() / ("tessel-bench-listload-" + std::to_string(::GetCurrentProcessId()));
    // 30 folders of 1,000 files: every line names its own existing file.
    std::vector<std::wstring> paths;
    paths.reserve(kLines);
    for (int i = 0; i < kLines; ++i) {
        const fs::path folder = dir / ("f" + std::to_string(i / 1000));
        if (i % 1000 == 0) fs::create_directories(folder);
        const fs::path file = folder / (L"曲 " + std::to_wstring(i) + L".mp3");
        HANDLE h = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            std::fprintf(stderr, "cannot create a file: %lu\n", ::GetLastError());
            return 1;
        }
        ::CloseHandle(h);
        paths.push_back(file.wstring());
    }
    const fs::path list = dir / "big.m3u";
    std::wstring error;
    if (!AtomicReplaceFile(list, EncodeTextLines(paths).bytes, error)) return 1;

    HWND listBox = ::CreateWindowExW(0, L"LISTBOX", nullptr, WS_OVERLAPPEDWINDOW | LBS_EXTENDEDSEL | LBS_NOTIFY, 0, 0,
                                     400, 300, nullptr, nullptr, nullptr, nullptr);
    ::ShowWindow(listBox, SW_SHOWNOACTIVATE);
    test::FakeDevice device;
    MenuFormControls menu;
    PlayerFormControls body;
    LLVariable vars;
    BindListBox(menu.LstM3u, listBox, nullptr);
    PlaybackEngine engine(device, menu, body, vars, {});

    std::vector<double> bare, load;
    for (int round = 0; round < kRounds; ++round) {
        auto t0 = Clock::now();
        int found = 0;
        for (const std::wstring& p : paths) found += FileExistsExact(p) ? 1 : 0;
        bare.push_back(Ms(Clock::now() - t0));
        if (found != kLines) return 2;

        menu.LstM3u.Clear();
        t0 = Clock::now();
        engine.LoadListFile(list.wstring());
        load.push_back(Ms(Clock::now() - t0));
        if (::SendMessageW(listBox, LB_GETCOUNT, 0, 0) != kLines) return 3;
    }
    std::sort(bare.begin(), bare.end());
    std::sort(load.begin(), load.end());
    const double b = bare[kRounds / 2], l = load[kRounds / 2];
    std::printf("lines: %d, rounds: %d (medians)\n", kLines, kRounds);
    std::printf("bare existence tests: %.1f ms (%.2f us/path)\n", b, 1000.0 * b / kLines);
    std::printf("LoadListFile into the list box: %.1f ms (%.2f us/line)\n", l, 1000.0 * l / kLines);
    std::printf("ratio: %.2f (target <= 1.5)\n", l / b);
    ::DestroyWindow(listBox);
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return l / b <= 1.5 ? 0 : 4;
}
