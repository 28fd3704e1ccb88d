// Shutdown: stop and close the medium, save the settings, remove the icon, end.
#include <filesystem>

#include "common/textfile.h"
#include "player/startup/Initialize.h"
#include "player/startup/settings.h"
#include "player/shared/texts.h"

namespace tessel::player {

void PlayerApp::StopAndCloseDevice() {
    if (!mmc_) return;
    mmc_->Command(MediaCommand::Stop);
    mmc_->Command(MediaCommand::Close);
}

bool PlayerApp::SaveSettings(std::wstring& error) {
    SettingsSubject subject = Settings();
    const TextWriteResult written =
        WriteTextFileLines(std::filesystem::path(SettingsPath()), MakeSettingsLines(subject, factors_));
    if (!written.ok) error = written.error;
    return written.ok;
}

void PlayerApp::TearDown(SaveOnEnd save) {
    menuForm_.StopMainTimer();
    mediaKeys_.Unregister();
    StopAndCloseDevice();
    std::wstring error;
    if (save != SaveOnEnd::No && !SaveSettings(error) && save == SaveOnEnd::Reporting) {
        // Say so, but still leave nothing behind: the device is closed already and
        // the icon goes below.
        std::wstring text = texts::kSettingsWriteFailed;
        text += L"\r\n\r\n";
        text += texts::kFileLabel + SettingsPath();
        if (!error.empty()) text += L"\r\n" + std::wstring(texts::kReasonLabel) + error;
        options_.report(text);
    }
    tray_.Remove();
}

void PlayerApp::ShutdownForSessionEnd() {
    if (shutDown_) return;
    shutDown_ = true;
    // The session is ending: no message box can be answered any more.
    TearDown(SaveOnEnd::Quietly);
}

void PlayerApp::Shutdown() {
    if (shutDown_) return;  // a second close request while the first one runs
    shutDown_ = true;
    TearDown(SaveOnEnd::Reporting);
    EndProcess(0);
}

}  // namespace tessel::player
