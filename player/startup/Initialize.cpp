// StartUp: the player's entry routine, its steps in their fixed order.
#include "player/startup/Initialize.h"

#include <commctrl.h>

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "common/fileio.h"
#include "common/folders.h"
#include "common/textfile.h"
#include "player/skin/skin_scale.h"
#include "player/shared/skin_list.h"
#include "player/skin/transparency_win32.h"
#include "player/panel/panel_logic.h"
#include "player/playback/volume_device_win32.h"
#include "player/skin/skin_paths.h"
#include "player/shared/command_line.h"
#include "player/startup/favourites.h"
#include "player/startup/settings.h"
#include "player/startup/stored_names_win32.h"
#include "player/shared/texts.h"
#include "win32/dpi.h"
#include "win32/error_text.h"

namespace tessel::player {
namespace {

std::wstring ExeFolder() {
    const std::wstring path = win32::ProgramPath();
    const auto cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? L"." : path.substr(0, cut);
}

std::wstring Describe(const wchar_t* what, const std::wstring& file, const std::wstring& reason) {
    std::wstring text = what;
    text += L"\r\n\r\n";
    text += texts::kFileLabel + file;
    if (!reason.empty()) text += L"\r\n" + std::wstring(texts::kReasonLabel) + reason;
    return text;
}

bool FolderExists(const std::wstring& path) { return SystemFolders().Kind(path) == PathKind::Folder; }

}  // namespace

PlayerApp::PlayerApp(StartOptions options)
    : options_(std::move(options)),
      menuForm_(static_cast<PanelHost&>(*this), vars_, factors_, menuControls_),
      playerForm_(static_cast<BodyWindowHost&>(*this), vars_, factors_, bodyControls_),
      skinForm_(static_cast<SkinWindowHost&>(*this), vars_, factors_),
      skin_(vars_, factors_, skinForm_, playerForm_),
      tray_([this](HICON icon) { menuForm_.SetIcon(icon); }),
      instance_(options_.instanceName) {
    if (options_.programFolder.empty()) options_.programFolder = ExeFolder();
    if (options_.commandLine.empty()) options_.commandLine = ::GetCommandLineW();
    if (!options_.endProcess) options_.endProcess = [](UINT code) { ::ExitProcess(code); };
    if (!options_.report) {
        options_.report = [](const std::wstring& text) {
            ::MessageBoxW(nullptr, text.c_str(), texts::kErrorTitle, MB_OK | MB_ICONERROR | MB_TOPMOST);
        };
    }
    // The windows start at the system's scale; a skin window on a monitor of another
    // one hears of it (ChangeSkinScale).
    skin_.SetScale(SkinScaleForDpi(win32::SystemDpi()));
    factors_ = SkinTwipsPerPixel(skin_.Scale());
    skinForm_.ExposeParts(playerForm_);
}

PlayerApp::~PlayerApp() {
    // Whatever happened, no device stays open and no icon stays behind. The windows
    // still show what the teardown changes; each form cuts its views loose itself when
    // it goes (the controls are declared before the forms, so they outlive them).
    TearDown(SaveOnEnd::No);
    // The device goes after the engine and the forms (it is declared before them): a
    // status report from its closing must reach none of them.
    if (mmc_) mmc_->SetStatusUpdate(nullptr);
}

void PlayerApp::Fail(std::wstring text) { throw Failure{std::move(text)}; }

std::wstring PlayerApp::SettingsPath() const {
    return JoinProgramPath(options_.programFolder, L"Setting\\init.ini");
}

void PlayerApp::EndProcess(UINT code) {
    ended_ = true;
    options_.endProcess(code);
}

bool PlayerApp::StartUp() {
    try {
        LoadForms();                                  // 1
        if (HandOverToRunningInstance()) return false;  // 2
        FillDisplaySizes();                           // 3
        ReadSettings();                               // 4
        ReplaceUnusableSkin();
        SetSkinPaths(options_.programFolder, vars_, true);  // 5
        AddTrayIcon();                                // 6
        if (auto failure = skin_.Apply()) Fail(*failure);      // 7
        KeepWindowsOnScreen();
        if (auto failure = ListSkins()) Fail(*failure);        // 8
        LockTransparencySliders(vars_.LayeredAvailable, menuControls_.ScrSkinTrans,  // 9
                                menuControls_.ScrPlayerTrans);
        ReadSystemVolume();                           // 10
        BuildFavouritesMenu();                        // 11
        SetToolTips();                                // 12
        engine_->RefreshNameLabels();                 // 13
        HandleCommandLine();                          // 14
        if (shutDown_) return false;                  // closed during a long list load
        ShowOrHideWindows();                          // 15
        menuForm_.StartMainTimer();
        return true;
    } catch (const Failure& failure) {
        options_.report(failure.text);
    } catch (const std::exception& e) {
        options_.report(std::wstring(texts::kStartFailed) + L"\r\n\r\n" + win32::DescribeException(e));
    }
    // No recovery, but nothing left behind either.
    TearDown(SaveOnEnd::No);
    EndProcess(1);
    return false;
}

void PlayerApp::LoadForms() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    menuForm_.Load();
    playerForm_.Load();
    skinForm_.Load();
    if (!options_.makeDevice) throw win32::WideError(L"no media device");
    mmc_ = options_.makeDevice(menuForm_.Handle());
    mmc_->SetStatusUpdate([this] { menuForm_.MMC_StatusUpdate(); });

    PlayerServices services;
    // The video window: only this process's, and only while it still is one.
    services.findWindow = [](const std::wstring& windowClass, const std::wstring& title) {
        return VideoWindowsWin32::Find(windowClass, title);
    };
    services.makeTopmost = [this](WindowId window) { menuForm_.Video().MakeTopmost(window); };
    services.applyDisplaySize = [this] { menuForm_.ApplyDisplaySize(); };
    services.setTrayTip = [this](const std::wstring& tip) { tray_.SetTip(tip); };
    services.stopNameScrolling = [this] { menuForm_.StopNameScrolling(); };
    services.pumpEvents = [] {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (win32::TranslateDialogKeys(msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    };
    services.continueLater = [this] { menuForm_.ContinuePlayNextLater(); };
    // The media keys are held while there is something for them to act on.
    services.mediumOpen = [this](bool open) {
        if (open && !shutDown_) mediaKeys_.Register(menuForm_.Handle());
        if (!open) mediaKeys_.Unregister();
    };
    services.keepResponsive = [this, pump = services.pumpEvents] {
        // A long load while the start-up still hides the windows shows them first: a
        // player that takes many seconds to appear looks as if it had not started.
        if (!windowsShown_ && startupLoadBegan_ &&
            ::GetTickCount64() - *startupLoadBegan_ >= kStartupLoadShowAfterMs)
            ShowOrHideWindows();
        pump();
        // Closed meanwhile: the rest of the list is not wanted any more.
        return !shutDown_ && !ended_;
    };
    engine_ = std::make_unique<PlaybackEngine>(*mmc_, menuControls_, bodyControls_, vars_, std::move(services));
    menuControls_.ChkHide.onClick = [this] { menuForm_.ChkHide_Click(); };
    // Bound before the settings are read: a restored slider value applies at once.
    menuControls_.ScrSkinTrans.onChange = [this] { menuForm_.ScrSkinTrans_Change(); };
    menuControls_.ScrPlayerTrans.onChange = [this] { menuForm_.ScrPlayerTrans_Change(); };
    volume_ = options_.makeVolume ? options_.makeVolume() : OpenSystemVolume().device;
    playerForm_.BindHandlers();
}

bool PlayerApp::HandOverToRunningInstance() {
    if (instance_.Claim()) {
        // The running instance: from now on its body window is the mailbox.
        playerForm_.SetCaption(texts::kPlayerFormCaption);
        return false;
    }
    playerForm_.SetCaption(texts::kMultiActiveCaption);
    // A relative name means a file in the folder this start was made in (a console's
    // current folder); the running player would look in its own.
    const std::wstring path = FullPathName(RemoveDoubleQuotes(ArgumentsOf(options_.commandLine)));
    if (!path.empty() && FileExistsExact(path)) {
        if (auto failure = instance_.HandOver(path)) {
            options_.report(Describe(texts::kHandOverFailed, path, *failure));
            EndProcess(1);
            return true;
        }
    }
    EndProcess(0);
    return true;
}

void PlayerApp::FillDisplaySizes() {
    for (const wchar_t* entry : texts::kDisplaySizes) menuControls_.CmbDispSize.AddItem(entry);
}

void PlayerApp::ReadSettings() {
    vars_.LayeredAvailable = LayeredWindowsAvailable();
    const std::wstring folder = JoinProgramPath(options_.programFolder, L"Setting");
    if (!FolderExists(folder) && !::CreateDirectoryW(folder.c_str(), nullptr)) {
        Fail(Describe(texts::kSettingsFolderFailed, folder, win32::LastErrorText(L"CreateDirectory")));
    }
    const std::wstring path = SettingsPath();
    if (!FileSizeOf(std::filesystem::path(path))) {
        // First run: the controls keep their initial values, the default skin is used.
        vars_.SkinName = FallbackSkin().value_or(texts::kDefaultSkinName);
        return;
    }
    TextReadResult read = ReadTextFileLines(std::filesystem::path(path));
    if (!read.ok) Fail(Describe(texts::kSettingsReadFailed, path, read.error));
    if (read.lines.empty()) {
        vars_.SkinName = FallbackSkin().value_or(texts::kDefaultSkinName);
        return;
    }
    SettingsSubject subject = Settings();
    if (auto error = ApplySettingsLines(read.lines, subject, factors_)) {
        std::wstring text = texts::kSettingsReadFailed;
        text += L"\r\n\r\n";
        text += texts::kFileLabel + path + L"\r\n";
        text += texts::kLineLabel + std::to_wstring(error->line) + L"\r\n";
        text += texts::kExpectedLabel + error->expected;
        Fail(text);
    }
}

SettingsSubject PlayerApp::Settings() {
    return SettingsSubject{vars_.SkinName,
                           [this] { return skinForm_.LeftTwips(); },
                           [this] { return skinForm_.TopTwips(); },
                           [this](double twips) { skinForm_.SetLeftTwips(twips); },
                           [this](double twips) { skinForm_.SetTopTwips(twips); },
                           menuControls_,
                           vars_.VideoWindowRect,
                           [this](const std::wstring& name) { return StorableSkinName(ProgramFolder(), name); },
                           [](const std::wstring& path) { return StorableListPath(path); }};
}

std::optional<std::wstring> PlayerApp::FallbackSkin() const {
    // Without any, a first run names the default, so that the start-up says which skin
    // it could not find.
    const auto usable = [this](const std::wstring& name) {
        return !SkinApplier::SkinProblem(options_.programFolder, name);
    };
    if (usable(texts::kDefaultSkinName)) return texts::kDefaultSkinName;
    const SkinListResult found =
        tessel::player::ListSkins(std::filesystem::path(JoinProgramPath(options_.programFolder, L"parts")));
    for (const std::wstring& name : found.names) {
        if (StorableSkinName(options_.programFolder, name) && usable(name)) return name;
    }
    return std::nullopt;
}

void PlayerApp::ReplaceUnusableSkin() {
    const std::optional<std::wstring> problem = SkinApplier::SkinProblem(options_.programFolder, vars_.SkinName);
    if (!problem) return;
    const std::optional<std::wstring> other = FallbackSkin();
    if (!other) return;
    // The settings keep the skin in use from the next save on.
    std::wstring text = texts::kStartSkinReplaced1 + vars_.SkinName + texts::kStartSkinReplaced2 + *other +
                        texts::kStartSkinReplaced3 + L"\r\n\r\n" + *problem;
    vars_.SkinName = *other;
    ::MessageBoxW(nullptr, text.c_str(), texts::kStartSkinReplacedTitle, MB_OK | MB_ICONWARNING | MB_TOPMOST);
}

void PlayerApp::AddTrayIcon() {
    if (auto failure =
            tray_.Add(menuForm_.Handle(), kTrayIconId, kTrayCallbackMessage, vars_.TrayIconPath, PlaybackEngine::TrayTipFor(texts::kTrayTip)))
        Fail(*failure);
}

std::optional<std::wstring> PlayerApp::ListSkins() {
    const std::wstring parts = JoinProgramPath(options_.programFolder, L"parts");
    SkinListResult found = tessel::player::ListSkins(std::filesystem::path(parts));
    if (!found.ok) return Describe(texts::kSkinFileMissing, parts, found.error);
    for (auto& name : found.names) menuControls_.LstSkinFile.AddItem(std::move(name));
    return std::nullopt;
}

void PlayerApp::ReadSystemVolume() {
    if (auto level = ReadVolumeLevel(*volume_)) bodyControls_.ScrVolume.SetValue(*level);
}

void PlayerApp::BuildFavouritesMenu() {
    const std::wstring folder = JoinProgramPath(options_.programFolder, L"fav");
    MenuArray& menu = menuControls_.MenuFavList;
    // "更新する" can always be chosen, with or without favourites: it tries again.
    menu.SetItemEnabled(0, true);
    const FavouritesFolder read = ReadFavouritesFolder(SystemFolders(), folder, [](const std::wstring& path) {
        return ::CreateDirectoryW(path.c_str(), nullptr)
                   ? std::nullopt
                   : std::optional<std::wstring>(win32::LastErrorText(L"CreateDirectory"));
    });
    if (favouritesNotice_.ShouldSay(read)) {
        std::wstring text = read.problem + texts::kFavUnavailable + L"\r\n\r\n" + texts::kFolderLabel + folder;
        if (!read.reason.empty()) text += L"\r\n" + std::wstring(texts::kReasonLabel) + read.reason;
        options_.report(text);
    }
    // One batch: the menu is built once, not again after every one of thousands.
    menu.BeginBatch();
    for (const std::wstring& name : read.names) menu.Load(MenuItem{name, true, true});
    menu.EndBatch();
}

void PlayerApp::SetToolTips() {
    menuForm_.SetToolTips();
    playerForm_.SetToolTips();
}

void PlayerApp::HandleCommandLine() {
    const StartDecision decision =
        DecideStartAction(ArgumentsOf(options_.commandLine), menuControls_.ChkStartPlay.Value(),
                          [](const std::wstring& p) { return FileExistsExact(p); });
    if (decision.action == StartAction::PlayFile) engine_->PlayFile(decision.path);
    if (decision.action == StartAction::PlayNext) {
        // Starting to play means playing the restored list: an empty queue is filled
        // from it first, also when endless play (the only other refill) is off.
        startupLoadBegan_ = ::GetTickCount64();
        if (menuControls_.LstM3u.ListCount() == 0) engine_->LoadListFile(menuControls_.LblM3uName.Caption());
        if (!ended_) engine_->PlayNext();
        startupLoadBegan_.reset();
    }
}

void PlayerApp::ShowOrHideWindows() {
    windowsShown_ = true;
    if (menuControls_.ChkHide.Value() != 0) {
        ::ShowWindow(playerForm_.Handle(), SW_HIDE);
        ::ShowWindow(skinForm_.Handle(), SW_HIDE);
    } else {
        PlaceBodyWindow();
        ::ShowWindow(playerForm_.Handle(), SW_SHOWNA);
        ::ShowWindow(skinForm_.Handle(), SW_SHOW);
    }
}

}  // namespace tessel::player
