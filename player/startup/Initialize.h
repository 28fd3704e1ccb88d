// The player program as a whole: its state, its three windows, the media device,
// StartUp (module Initialize), Shutdown (module CloseOperation), the skin change
// (module Modify) and what the windows ask of it (window_hosts.cpp).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/twips.h"
#include "player/panel/MenuForm.h"
#include "player/panel/tray_icon.h"
#include "player/playback/engine.h"
#include "player/playback/media_key_hotkeys_win32.h"
#include "player/startup/favourites.h"
#include "player/playback/media_keys.h"
#include "player/playback/mmc/media_device.h"
#include "player/shared/llvariable.h"
#include "player/shared/window_hosts.h"
#include "player/windows/skin_applier.h"
#include "player/playback/volume.h"
#include "player/startup/hand_over.h"
#include "player/windows/PlayerForm.h"
#include "player/windows/SkinForm.h"
#include "player/shared/add_path.h"

namespace tessel::player {

struct SettingsSubject;

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

// The program as a whole: it builds the three windows and the device, wires them,
// and does for the windows what each of them may ask (their host interfaces).
class PlayerApp : private PanelHost, private BodyWindowHost, private SkinWindowHost {
public:
    explicit PlayerApp(StartOptions options);
    ~PlayerApp();
    PlayerApp(const PlayerApp&) = delete;
    PlayerApp& operator=(const PlayerApp&) = delete;

    // The entry routine: false if the program ended during it (second instance, or a
    // start-up failure already reported).
    bool StartUp();
    // Stops and closes the medium, saves the settings, removes the icon, ends.
    void Shutdown() override;
    // The end of the Windows session: everything Shutdown does but ending the process.
    void ShutdownForSessionEnd() override;
    bool Ended() const { return ended_; }

    void PlayNext() override;
    void PlayFile(const std::wstring& path) override;
    // The list file choice of the body window's CmdChoice.
    void ChooseListFile() override;
    // The run-time skin change (module Modify), for the skin named by vars.SkinName:
    // all six files are checked first; a skin that fails changes nothing and its
    // report comes back (the caller shows it, and puts SkinName back unless the change
    // applied). Playback, options and translucency are not touched.
    SkinChange ChangeSkin() override;
    bool TrayIconAdded() const { return tray_.Added(); }
    VolumeDevice& Volume() override { return *volume_; }
    PlaybackEngine& Engine() override { return *engine_; }
    const std::wstring& ProgramFolder() const override { return options_.programFolder; }
    // The whole-number scale the skin is drawn at (skin_scale.h); Factors() are the
    // skinned windows' twips per pixel at it.
    int SkinScale() const { return skin_.Scale(); }
    // The keyboard's media keys: hot keys of the running instance, answered by the windows.
    const MediaKeyHotkeys& MediaKeys() const { return mediaKeys_; }
    std::wstring SettingsPath() const;

    // The parts, for tests and benchmarks that drive the whole program.
    LLVariable& Vars() { return vars_; }
    MenuFormControls& PanelControls() { return menuControls_; }
    PlayerFormControls& BodyControls() override { return bodyControls_; }
    MediaDevice* Device() override { return mmc_.get(); }
    const TwipsPerPixel& Factors() const { return factors_; }
    MenuForm& Panel() { return menuForm_; }
    PlayerForm& Body() { return playerForm_; }
    SkinForm& Skin() { return skinForm_; }

private:
    struct Failure {
        std::wstring text;
    };
    [[noreturn]] static void Fail(std::wstring text);

    // What the windows ask (window_hosts.cpp).
    void HandleKey(int keyCode) override;
    void AddToQueue(const std::vector<std::wstring>& paths) override;
    void PlaceBodyWindow() override;
    bool PositionFixed() const override;
    void TogglePanel() override;
    void ShowMenuPopup() override;
    void HideWindows() override;
    void ToggleHideWindows() override;
    HWND SkinWindow() const override { return skinForm_.Handle(); }
    HWND BodyWindow() const override { return playerForm_.Handle(); }
    SIZE SkinWindowSize() const override { return skinForm_.SizePixels(); }
    SIZE BodyWindowSize() const override { return playerForm_.SizePixels(); }
    void MoveSkinWindow(double leftTwips, double topTwips) override;
    std::wstring BodyCaption() const override { return playerForm_.Caption(); }
    void SetBodyCaption(const std::wstring& caption) override { playerForm_.SetCaption(caption); }
    void ReloadList() override;
    std::optional<std::wstring> ListSkins() override;
    bool CanRememberList(const std::wstring& path) const override;
    bool CanRememberSkin(const std::wstring& name) const override;
    void RefreshFavouritesMenu() override;
    bool ReAddTrayIcon() override;
    std::optional<LRESULT> MediaKeyMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return mediaKeys_.Message(message, wParam, lParam);
    }
    // The skin window is on a monitor of `dpi` now (WM_DPICHANGED): at another skin
    // scale both skinned windows are laid out and the skin applied again, the skin
    // window centred on the rectangle the system suggests (Rescale.cpp). Before the
    // first skin (the settings' place moved it) the window stays where it was put.
    void ChangeSkinScale(int dpi, const RECT& suggested) override;
    void DisplayChanged() override { KeepWindowsOnScreen(); }
    // Every window of the player that reaches no monitor's work area is moved into the
    // nearest one (at start and when the displays change); the stored places stay as
    // they were until a window is really moved.
    void KeepWindowsOnScreen();

    // StartUp's steps (Initialize.cpp).
    void LoadForms();
    bool HandOverToRunningInstance();
    void FillDisplaySizes();
    void ReadSettings();
    // What the settings file holds, for reading it and writing it.
    SettingsSubject Settings();
    // The skin to use instead of one that cannot be: the default skin, else the first
    // of the list the settings file can name; nothing when no skin can be used.
    std::optional<std::wstring> FallbackSkin() const;
    // A stored skin that cannot be used is replaced by the fallback, with a word to
    // the user; without any usable skin the start-up fails on the stored one.
    void ReplaceUnusableSkin();
    void AddTrayIcon();
    void BuildFavouritesMenu();
    void SetToolTips();
    void HandleCommandLine();
    void ShowOrHideWindows();
    // ScrVolume from the device volume, unless the device says nothing usable.
    void ReadSystemVolume();
    // Shutdown's (CloseOperation.cpp).
    bool SaveSettings(std::wstring& error);
    void StopAndCloseDevice();
    // How the end of a run treats the settings file.
    enum class SaveOnEnd { No, Quietly, Reporting };
    // Every way of ending runs this, in this order: the timers stop, the media keys go
    // back, the device is closed (a process that ends with one open crashes under
    // Wine), the settings are saved as asked, and the icon goes last.
    void TearDown(SaveOnEnd save);
    // The skin change's (Modify.cpp): the six skin paths and the body window's
    // offsets of another state.
    void RestoreSkinPaths(const LLVariable& from);
    void EndProcess(UINT code);

    StartOptions options_;
    LLVariable vars_;
    MenuFormControls menuControls_;
    PlayerFormControls bodyControls_;
    TwipsPerPixel factors_;
    std::unique_ptr<MediaDevice> mmc_;
    MenuForm menuForm_;
    PlayerForm playerForm_;
    SkinForm skinForm_;
    SkinApplier skin_;
    TrayIcon tray_;
    SingleInstance instance_;
    std::unique_ptr<PlaybackEngine> engine_;
    std::unique_ptr<VolumeDevice> volume_;
    DropWalks drops_;
    bool shutDown_ = false;
    FavouritesNotice favouritesNotice_;
    bool ended_ = false;
    // The start-up's list load: when it began (while it runs), and whether the windows
    // were shown or hidden as the settings say.
    std::optional<ULONGLONG> startupLoadBegan_;
    bool windowsShown_ = false;
    static constexpr ULONGLONG kStartupLoadShowAfterMs = 300;
    // Registered while a medium is open (a second start that hands its file over never
    // opens one, so it takes none); given back when the device closes and at shutdown.
    MediaKeyHotkeys mediaKeys_{[this](MediaKey key) {
        if (engine_ && mmc_ && !shutDown_) HandleMediaKey(key, *engine_, *mmc_);
    }};
};

}  // namespace tessel::player
