// The real player in a benchmark's own process, in a program folder of its own made from
// the build's skins and first-run settings: what the benchmarks that drive the whole
// player share.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "player/playback/mmc/media_layers_win32.h"
#include "player/startup/Initialize.h"
#include "tests/support/player_folder.h"

namespace tessel::bench {

using Clock = std::chrono::steady_clock;
inline double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Starts the player in `program` (made here from `dist`); null when the start failed.
// `name` keeps the single-instance name apart from other runs.
inline std::unique_ptr<player::PlayerApp> StartBenchPlayer(const std::filesystem::path& program,
                                                           const std::filesystem::path& dist, const wchar_t* name) {
    test::MakeProgramFolder(program, {.settings = std::nullopt, .shippedSkins = true, .dist = dist});
    std::filesystem::copy_file(dist / L"Setting" / L"init.ini", program / L"Setting" / L"init.ini");
    player::StartOptions o;
    o.programFolder = program.wstring();
    o.commandLine = L"\"" + (program / L"tesselplay.exe").wstring() + L"\"";
    o.instanceName = std::wstring(name) + L"." + std::to_wstring(::GetCurrentProcessId());
    o.makeDevice = [](HWND) -> std::unique_ptr<MediaDevice> { return MakePlayerMediaDevice(); };
    o.endProcess = [](UINT) {};
    o.report = [](const std::wstring&) { std::fprintf(stderr, "the player reported a failure\n"); };
    auto app = std::make_unique<player::PlayerApp>(std::move(o));
    if (!app->StartUp()) return nullptr;
    return app;
}

// Makes `file` with `content` unless it is there already (the benchmarks keep their
// thousands of files between runs: making them takes minutes under Wine).
inline bool MakeBenchFile(const std::filesystem::path& file, std::string_view content) {
    if (::GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    HANDLE h = ::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(h, content.data(), DWORD(content.size()), &written, nullptr) != FALSE;
    ::CloseHandle(h);
    return ok;
}

}  // namespace tessel::bench
