// The player program as a whole: its shared state, its three windows, the media
// device, StartUp (module Initialize) and Shutdown (module CloseOperation).
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/twips.h"
#include "player/panel/MenuForm.h"
#include "player/playback/engine.h"
#include "player/playback/media_key_hotkeys_win32.h"
#include "player/playback/media_keys.h"
#include "player/playback/mmc/media_device.h"
#include "player/shared/llvariable.h"
#include "player/skin/volume.h"
#include "player/windows/PlayerForm.h"
#include "player/windows/SkinForm.h"
#include "win32/handle.h"

namespace tessel::player {

inline constexpr const wchar_t* kInstanceMutexName = L"TesselPlayer.Instance";

struct StartOptions {
    // The folder holding Setting, parts and fav. Default: the program's own folder.
    std::wstring programFolder;
    // The whole command line, program path first. Default: GetCommandLineW().
    std::wstring commandLine;
    // Name of the mutex that tells a running instance; the hand-over lock is derived.
    std::wstring instanceName = kInstanceMutexName;
    // Makes the media device (on the thread of the windows; `owner` is the panel).
    std::function<std::unique_ptr<MediaDevice>(HWND owner)> makeDevice;
    // Ends the process. Default: ExitProcess.
    std::function<void(UINT exitCode)> endProcess;
    // Shows an error report. Default: a message box.
    std::function<void(const std::wstring& text)> report;
    // The device volume behind the volume bar. Default: the sound of this process
    // (OpenSystemVolume).
    std::function<std::unique_ptr<VolumeDevice>()> makeVolume;
};

// What a run-time skin change did: whether the new skin is in use, and a report for
// the user when something failed (with `applied` false the skin in use stayed).
struct SkinChange {
    bool applied = false;
    std::optional<std::wstring> report;
};

class PlayerApp {
public:
    explicit PlayerApp(StartOptions options);
    ~PlayerApp();
    PlayerApp(const PlayerApp&) = delete;
    PlayerApp& operator=(const PlayerApp&) = delete;

    // The entry routine: false if the program ended during it (second instance, or a
    // start-up failure already reported).
    bool StartUp();
    // Stops and closes the medium, saves the settings, removes the icon, ends.
    void Shutdown();
    // The end of the Windows session: everything Shutdown does but ending the process.
    void ShutdownForSessionEnd();
    bool Ended() const { return ended_; }

    // Shared routines used by the windows.
    void PlayNext();
    void PlayFile(const std::wstring& path);
    // The list file choice of the body window's CmdChoice.
    void ChooseListFile();
    void ToggleHideWindows();
    // PlaceWindows: the body window against the skin window, both topmost.
    void PlaceBodyWindow();
    // Applies the skin named by the skin paths to both windows: define.ini, label
    // colour, skin window size, both shapes, placement, then the two pictures. Returns
    // the report of the first failure (nothing is shown here; at start-up the report
    // ends the program, a skin chosen while running must not).
    std::optional<std::wstring> ApplySkinLayout();
    // The offered skins into LstSkinFile; the report of a failure.
    std::optional<std::wstring> ListSkins();
    // ScrVolume from the device volume, unless the device says nothing usable.
    void ReadSystemVolume();
    // The run-time skin change (module Modify), for the skin named by vars.SkinName:
    // all six files are checked first; a skin that fails changes nothing and its
    // report comes back (the caller shows it, and puts SkinName back unless the change
    // applied). Playback, options and translucency are not touched.
    SkinChange ChangeSkin();
    // The report of the first of the six files that cannot be used, for these paths.
    std::optional<std::wstring> CheckSkinFiles(const LLVariable& candidate) const;
    // The tray icon from TrayIconPath with the version tip, sent as a modification.
    bool UpdateTrayIcon();
    // Whether the last skin change's modification of the tray icon succeeded.
    bool TrayIconModified() const { return trayModified_; }
    // Adds the icon again after the shell restarted.
    bool ReAddTrayIcon();
    void ClearFavouritesMenu();
    // ClearFavouritesMenu, then BuildFavouritesMenu; never ends the program.
    void RefreshFavouritesMenu();
    // The queue refilled from the list file named by LblM3uName.
    void ReloadList();
    VolumeDevice& Volume() { return *volume_; }
    // The whole-number scale the skin is drawn at (skin_scale.h); `factors` are the
    // skinned windows' twips per pixel at it.
    int SkinScale() const { return skinScale_; }
    // The skin window is on a monitor of `dpi` now (WM_DPICHANGED): at another skin
    // scale both skinned windows are laid out and the skin applied again, the skin
    // window keeping its place on the screen. Module Rescale.
    void ChangeSkinScale(int dpi);
    // The keyboard's media keys: hot keys of the running instance, answered by the windows.
    MediaKeyHotkeys& MediaKeys() { return mediaKeys_; }

    const std::wstring& ProgramFolder() const { return options_.programFolder; }
    std::wstring SettingsPath() const;
    bool TrayIconAdded() const { return trayAdded_; }
    PlaybackEngine& Engine() { return *engine_; }

    // The parts, for tests and benchmarks that drive the whole program.
    LLVariable& Vars() { return vars; }
    MenuFormControls& PanelControls() { return menuControls; }
    PlayerFormControls& BodyControls() { return bodyControls; }
    MediaDevice* Device() { return mmc.get(); }
    const TwipsPerPixel& Factors() const { return factors; }
    MenuForm& Panel() { return menuForm; }
    PlayerForm& Body() { return playerForm; }
    SkinForm& Skin() { return skinForm; }

    LLVariable vars;
    MenuFormControls menuControls;
    PlayerFormControls bodyControls;
    TwipsPerPixel factors;
    std::unique_ptr<MediaDevice> mmc;
    MenuForm menuForm;
    PlayerForm playerForm;
    SkinForm skinForm;

private:
    struct Failure {
        std::wstring text;
    };
    [[noreturn]] static void Fail(std::wstring text);

    void LoadForms();
    bool HandOverToRunningInstance();
    HWND FindRunningPlayerWindow() const;
    void FillDisplaySizes();
    void ReadSettings();
    std::wstring FirstRunSkinName() const;
    void AddTrayIcon();
    void BuildFavouritesMenu();
    void SetToolTips();
    void HandleCommandLine();
    void ShowOrHideWindows();
    bool SaveSettings(std::wstring& error);
    bool RemoveTrayIcon();
    void StopAndCloseDevice();
    // The six skin paths and the body window's offsets of another state.
    void RestoreSkinPaths(const LLVariable& from);
    void EndProcess(UINT code);

    StartOptions options_;
    std::unique_ptr<PlaybackEngine> engine_;
    std::unique_ptr<VolumeDevice> volume_;
    win32::unique_kernel_handle instanceMutex_;
    win32::unique_hicon trayIcon_;
    NOTIFYICONDATAW trayIconData_{};
    bool trayAdded_ = false;
    bool trayModified_ = false;
    bool shutDown_ = false;
    bool ended_ = false;
    // The start-up's list load: when it began (while it runs), and whether the windows
    // were shown or hidden as the settings say.
    std::optional<ULONGLONG> startupLoadBegan_;
    bool windowsShown_ = false;
    int skinScale_ = 1;
    bool skinApplied_ = false;
    static constexpr ULONGLONG kStartupLoadShowAfterMs = 300;
    // Registered once this process is known to be the running instance (a second start
    // that hands its file over must not take the keys); given back at shutdown.
    MediaKeyHotkeys mediaKeys_{[this](MediaKey key) {
        if (engine_ && mmc && !shutDown_) HandleMediaKey(key, *engine_, *mmc);
    }};
};

}  // namespace tessel::player
