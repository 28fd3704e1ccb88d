// Shutdown: stop and close the medium, save the settings, remove the icon, end.
#include <filesystem>

#include "common/textfile.h"
#include "player/startup/Initialize.h"
#include "player/startup/settings.h"
#include "player/startup/stored_names_win32.h"
#include "player/startup/texts.h"

namespace tessel::player {

void PlayerApp::StopAndCloseDevice() {
    if (!mmc) return;
    mmc->Command(MediaCommand::Stop);
    mmc->Command(MediaCommand::Close);
}

bool PlayerApp::SaveSettings(std::wstring& error) {
    SettingsSubject subject{vars.SkinName,
                            [this] { return skinForm.LeftTwips(); },
                            [this] { return skinForm.TopTwips(); },
                            [this](double twips) { skinForm.SetLeftTwips(twips); },
                            [this](double twips) { skinForm.SetTopTwips(twips); },
                            menuControls,
                            vars.VideoWindowRect,
                            [this](const std::wstring& name) { return StorableSkinName(ProgramFolder(), name); },
                            [](const std::wstring& path) { return StorableListPath(path); }};
    const TextWriteResult written =
        WriteTextFileLines(std::filesystem::path(SettingsPath()), MakeSettingsLines(subject, factors));
    if (!written.ok) error = written.error;
    return written.ok;
}

bool PlayerApp::RemoveTrayIcon() {
    if (!trayAdded_) return false;
    trayAdded_ = false;
    return ::Shell_NotifyIconW(NIM_DELETE, &trayIconData_) != FALSE;
}

void PlayerApp::ShutdownForSessionEnd() {
    if (shutDown_) return;
    shutDown_ = true;
    mediaKeys_.Unregister();
    StopAndCloseDevice();
    std::wstring error;
    // The session is ending: no message box can be answered any more.
    SaveSettings(error);
    RemoveTrayIcon();
}

void PlayerApp::Shutdown() {
    if (shutDown_) return;  // a second close request while the first one runs
    shutDown_ = true;
    menuForm.StopMainTimer();
    mediaKeys_.Unregister();
    StopAndCloseDevice();
    std::wstring error;
    if (!SaveSettings(error)) {
        // Say so, but still leave nothing behind: the device is closed already and
        // the icon goes below.
        std::wstring text = texts::kSettingsWriteFailed;
        text += L"\r\n\r\n";
        text += texts::kFileLabel + SettingsPath();
        if (!error.empty()) text += L"\r\n" + std::wstring(texts::kReasonLabel) + error;
        options_.report(text);
    }
    RemoveTrayIcon();
    EndProcess(0);
}

}  // namespace tessel::player
