// Start options for running the whole player inside a test program: a temporary
// program folder, real MCI, an instance name of the test's own (so it never meets a
// real player), no process exit, and error reports collected instead of shown.
#pragma once

#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "player/playback/mmc/mmc.h"
#include "player/startup/Initialize.h"

namespace tessel::player::test {

inline StartOptions InProcessOptions(const std::filesystem::path& programFolder, const std::wstring& instanceTag,
                                     std::vector<std::wstring>* reports, const std::wstring& arguments = L"") {
    static int instances = 0;
    StartOptions o;
    o.programFolder = programFolder.wstring();
    o.commandLine = L"\"" + (programFolder / L"tesselplay.exe").wstring() + L"\"";
    if (!arguments.empty()) o.commandLine += L" " + arguments;
    o.instanceName = instanceTag + L"." + std::to_wstring(::GetCurrentProcessId()) + L"." + std::to_wstring(++instances);
    o.makeDevice = [](HWND) -> std::unique_ptr<MediaDevice> { return std::make_unique<Mmc>(); };
    o.endProcess = [](UINT) {};
    o.report = [reports](const std::wstring& text) {
        if (reports) reports->push_back(text);
    };
    return o;
}

}  // namespace tessel::player::test
