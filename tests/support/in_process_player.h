// The whole player started inside the test program: a temporary program folder, the
// real media device, an instance name of the test's own (so it never meets a real
// player, while a second start in the same test does meet the first), no process
// exit, error reports collected instead of shown, and the boxes it opens answered.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "player/playback/mmc/media_layers_win32.h"
#include "player/startup/Initialize.h"
#include "tests/support/box_answerer.h"
#include "tests/support/unexpected_boxes.h"
#include "tests/support/player_folder.h"
#include "tests/support/temp_dir.h"
#include "tests/support/win32.h"

namespace tessel::test {

class InProcessPlayer : public ::testing::Test {
protected:
    TempDir dir{"player"};
    std::filesystem::path home = dir.path();  // the program folder
    ProgramFolderOptions folder;              // what Start writes there
    std::vector<std::wstring> reports;
    std::vector<UINT> exits;
    std::unique_ptr<player::VolumeDevice> volume;  // handed to the next start when set
    std::unique_ptr<player::PlayerApp> app;
    BoxAnswerer boxes;

    player::StartOptions Options(const std::wstring& arguments = L"") {
        player::StartOptions o;
        o.programFolder = home.wstring();
        o.commandLine = Quoted(home / L"tesselplay.exe");
        if (!arguments.empty()) o.commandLine += L" " + arguments;
        o.instanceName = instance_;
        o.makeDevice = [](HWND) -> std::unique_ptr<MediaDevice> { return MakePlayerMediaDevice(); };
        o.endProcess = [this](UINT code) { exits.push_back(code); };
        o.report = [this](const std::wstring& text) { reports.push_back(text); };
        if (volume) o.makeVolume = [this] { return std::move(volume); };
        return o;
    }
    // Another start of the program in the same folder, as it stands.
    std::unique_ptr<player::PlayerApp> Launch(const std::wstring& arguments = L"") {
        return std::make_unique<player::PlayerApp>(Options(arguments));
    }
    // Writes the program folder and starts the program, which must come up cleanly.
    player::PlayerApp& Start(const std::wstring& arguments = L"") {
        MakeProgramFolder(home, folder);
        app = Launch(arguments);
        EXPECT_TRUE(app->StartUp());
        EXPECT_TRUE(reports.empty()) << (reports.empty() ? "" : Printable(reports[0]));
        Pump(0ms);
        return *app;
    }
    // The build's skins, the skin window at 200, 150.
    void UseShippedSkins() {
        folder.shippedSkins = true;
        folder.settings->at(1) = L"200";
        folder.settings->at(2) = L"150";
    }
    std::filesystem::path SettingsFile() const { return home / L"Setting" / L"init.ini"; }
    // A control message as the panel's controls send it.
    void Command(int id, int code = 0) {
        ::SendMessageW(app->Panel().Handle(), WM_COMMAND, MAKEWPARAM(id, code),
                       reinterpret_cast<LPARAM>(app->Panel().Child(id)));
    }
    static RECT Rect(HWND window) {
        RECT r{};
        ::GetWindowRect(window, &r);
        return r;
    }
    // Ends the program started last (a test may start it again), after which no box may
    // have come that the test did not expect.
    void Stop() {
        // A process that ends with a device still open crashes.
        if (app && app->Device()) app->Device()->Command(MediaCommand::Close);
        app.reset();
        ExpectNoUnexpectedBoxes(boxes);
    }
    void TearDown() override { Stop(); }
    // Shell_NotifyIcon on the player's tray icon of `owner`, as another program (the
    // shell) would call it: true if the shell accepted the message.
    static bool NotifyTrayIcon(DWORD message, HWND owner) {
        NOTIFYICONDATAW icon{};
        icon.cbSize = sizeof icon;
        icon.hWnd = owner;
        icon.uID = player::kTrayIconId;
        return ::Shell_NotifyIconW(message, &icon) != FALSE;
    }

private:
    static inline int instances_ = 0;
    std::wstring instance_ = L"TesselPlayerTest." + std::to_wstring(::GetCurrentProcessId()) + L"." +
                             std::to_wstring(++instances_);
};

}  // namespace tessel::test
