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
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Child {
    PROCESS_INFORMATION pi{};
    bool Start(const fs::path& exe, const std::wstring& args) {
        std::wstring line = L"\"" + exe.wstring() + L"\" " + args;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        const std::wstring folder = exe.parent_path().wstring();
        return ::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                                &pi) != FALSE;
    }
    void Stop() {
        if (!pi.hProcess) return;
        if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
            // A close request first, so the player shuts down as a user would end it.
            ::EnumWindows(
                [](HWND hwnd, LPARAM lp) -> BOOL {
                    DWORD pid = 0;
                    ::GetWindowThreadProcessId(hwnd, &pid);
                    if (pid == static_cast<DWORD>(lp)) ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
                    return TRUE;
                },
                static_cast<LPARAM>(pi.dwProcessId));
            ::PostThreadMessageW(pi.dwThreadId, WM_CLOSE, 0, 0);
            if (::WaitForSingleObject(pi.hProcess, 10000) != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
        }
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
        pi = PROCESS_INFORMATION{};
    }
    ~Child() { Stop(); }
};

// Wine does not report another process's CPU times or memory through the Win32
// calls, so the figures come from the Linux side: every Windows process is one Linux
// process, found by its command line in /proc (drive Z: is the Linux root).
std::string ReadWhole(const fs::path& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    ::CloseHandle(file);
    return text;
}

// The Linux process whose command line holds `token` (the program's unique path).
std::wstring FindLinuxProcess(const std::string& token) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return {};
    std::wstring result;
    do {
        const std::wstring name = found.cFileName;
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        std::string cmdline = ReadWhole(L"Z:\\proc\\" + name + L"\\cmdline");
        for (char& c : cmdline) {
            if (c == '\0') c = ' ';
        }
        if (cmdline.find(token) != std::string::npos) {
            result = name;
            break;
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return result;
}

// User plus system time in seconds (clock ticks of 1/100 s).
double LinuxCpuSeconds(const std::wstring& pid) {
    const std::string stat = ReadWhole(L"Z:\\proc\\" + pid + L"\\stat");
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return 0;
    // Fields after the command name: state is field 3; utime and stime are 14 and 15.
    std::istringstream in(stat.substr(close + 2));
    std::string field;
    double utime = 0, stime = 0;
    for (int i = 3; i <= 15 && in >> field; ++i) {
        if (i == 14) utime = std::stod(field);
        if (i == 15) stime = std::stod(field);
    }
    return (utime + stime) / 100.0;
}

// Resident anonymous memory (the process's private pages) in MB.
double LinuxPrivateMegabytes(const std::wstring& pid) {
    const std::string status = ReadWhole(L"Z:\\proc\\" + pid + L"\\status");
    const auto at = status.find("RssAnon:");
    if (at == std::string::npos) return 0;
    return std::stod(status.substr(at + 8)) / 1024.0;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

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
    fs::create_directories(folder / L"Setting");
    fs::create_directories(folder / L"fav");
    fs::copy(dist / L"parts", folder / L"parts", fs::copy_options::recursive);
    fs::copy_file(dist / L"tesselplay.exe", folder / L"tesselplay.exe");
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
        while (!VisibleBodyWindow(p.pi.dwProcessId) && Clock::now() - t0 < std::chrono::seconds(30)) ::Sleep(2);
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
