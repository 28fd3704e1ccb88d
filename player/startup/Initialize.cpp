// StartUp: the player's entry routine, its steps in their fixed order.
#include "player/startup/Initialize.h"

#include <commctrl.h>

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "common/fileio.h"
#include "common/textfile.h"
#include "player/skin/placement.h"
#include "player/skin/skin_scale.h"
#include "player/skin/skin_layout.h"
#include "player/skin/skin_list.h"
#include "player/skin/skin_window_win32.h"
#include "player/skin/transparency_win32.h"
#include "player/panel/panel_logic.h"
#include "player/skin/volume_device_win32.h"
#include "player/skin/skin_paths.h"
#include "player/startup/command_line.h"
#include "player/startup/settings.h"
#include "player/startup/stored_names_win32.h"
#include "player/startup/texts.h"
#include "win32/dpi.h"
#include "win32/error_text.h"

namespace tessel::player {
namespace {

std::wstring ExeFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return L".";
        if (n < buffer.size()) {
            std::wstring path(buffer.data(), n);
            const auto cut = path.find_last_of(L"\\/");
            return cut == std::wstring::npos ? L"." : path.substr(0, cut);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring Describe(const wchar_t* what, const std::wstring& file, const std::wstring& reason) {
    std::wstring text = what;
    text += L"\r\n\r\n";
    text += texts::kFileLabel + file;
    if (!reason.empty()) text += L"\r\n" + std::wstring(texts::kReasonLabel) + reason;
    return text;
}

bool FolderExists(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace

PlayerApp::PlayerApp(StartOptions options)
    : menuForm(*this, menuControls),
      playerForm(*this, bodyControls),
      skinForm(*this),
      options_(std::move(options)) {
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
    skinScale_ = SkinScaleForDpi(win32::SystemDpi());
    factors = SkinTwipsPerPixel(skinScale_);
}

PlayerApp::~PlayerApp() {
    // Whatever happened, no device stays open and no icon stays behind.
    StopAndCloseDevice();
    RemoveTrayIcon();
    for (Control* c : std::initializer_list<Control*>{
             &menuControls.LstM3u, &menuControls.LblScrLstName, &menuControls.LblScrMediaName,
             &menuControls.LblListCount, &menuControls.ChkRandom, &menuControls.ChkEndless,
             &menuControls.ChkHide, &menuControls.ChkBreak, &menuControls.ChkStartPlay,
             &menuControls.CmbDispSize, &menuControls.ScrSkinTrans, &menuControls.ScrPlayerTrans,
             &menuControls.LstSkinFile, &menuControls.MenuFavList}) {
        c->view = nullptr;
    }
    if (mmc) mmc->SetStatusUpdate(nullptr);
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
        mediaKeys_.Register(menuForm.Handle());
        FillDisplaySizes();                           // 3
        ReadSettings();                               // 4
        SetSkinPaths(options_.programFolder, vars, true);  // 5
        AddTrayIcon();                                // 6
        if (auto failure = ApplySkinLayout()) Fail(*failure);  // 7
        if (auto failure = ListSkins()) Fail(*failure);        // 8
        LockTransparencySliders(vars.LayeredAvailable, menuControls.ScrSkinTrans,  // 9
                                menuControls.ScrPlayerTrans);
        ReadSystemVolume();                           // 10
        BuildFavouritesMenu();                        // 11
        SetToolTips();                                // 12
        engine_->RefreshNameLabels();                 // 13
        HandleCommandLine();                          // 14
        if (shutDown_) return false;                  // closed during a long list load
        ShowOrHideWindows();                          // 15
        menuForm.StartMainTimer();
        return true;
    } catch (const Failure& failure) {
        options_.report(failure.text);
    } catch (const std::exception& e) {
        options_.report(std::wstring(texts::kStartFailed) + L"\r\n\r\n" + win32::DescribeException(e));
    }
    // No recovery, but nothing left behind either: the device is closed (a process
    // that ends with one open crashes) and the icon removed.
    mediaKeys_.Unregister();
    StopAndCloseDevice();
    RemoveTrayIcon();
    EndProcess(1);
    return false;
}

void PlayerApp::LoadForms() {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&icc);
    menuForm.Load();
    playerForm.Load();
    skinForm.Load();
    if (!options_.makeDevice) throw win32::WideError(L"no media device");
    mmc = options_.makeDevice(menuForm.Handle());
    mmc->SetStatusUpdate([this] { menuForm.MMC_StatusUpdate(); });

    PlayerServices services;
    // The video window: only this process's, and only while it still is one.
    services.findWindow = [](const std::wstring& windowClass, const std::wstring& title) {
        return VideoWindowsWin32::Find(windowClass, title);
    };
    services.makeTopmost = [this](WindowId window) { menuForm.Video().MakeTopmost(window); };
    services.applyDisplaySize = [this] { menuForm.ApplyDisplaySize(); };
    services.setTrayTip = [this](const std::wstring& tip) {
        if (!trayAdded_) return;
        wcsncpy_s(trayIconData_.szTip, tip.c_str(), _TRUNCATE);
        ::Shell_NotifyIconW(NIM_MODIFY, &trayIconData_);
    };
    services.stopNameScrolling = [this] { menuForm.StopNameScrolling(); };
    services.pumpEvents = [] {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
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
    engine_ = std::make_unique<PlaybackEngine>(*mmc, menuControls, bodyControls, vars, std::move(services));
    menuControls.ChkHide.onClick = [this] { menuForm.ChkHide_Click(); };
    // Bound before the settings are read: a restored slider value applies at once.
    menuControls.ScrSkinTrans.onChange = [this] { menuForm.ScrSkinTrans_Change(); };
    menuControls.ScrPlayerTrans.onChange = [this] { menuForm.ScrPlayerTrans_Change(); };
    volume_ = options_.makeVolume ? options_.makeVolume() : OpenSystemVolume().device;
    playerForm.BindHandlers();
}

HWND PlayerApp::FindRunningPlayerWindow() const {
    // The running instance's body window: our own class and the caption "PlayerForm"
    // (this instance has renamed its own body window already).
    return ::FindWindowW(kPlayerFormClass, texts::kPlayerFormCaption);
}

bool PlayerApp::HandOverToRunningInstance() {
    instanceMutex_.reset(::CreateMutexW(nullptr, FALSE, options_.instanceName.c_str()));
    if (!instanceMutex_ || ::GetLastError() != ERROR_ALREADY_EXISTS) {
        // The running instance: from now on its body window is the mailbox.
        playerForm.SetCaption(texts::kPlayerFormCaption);
        return false;
    }

    playerForm.SetCaption(texts::kMultiActiveCaption);
    const std::wstring path = RemoveDoubleQuotes(ArgumentsOf(options_.commandLine));
    if (!path.empty() && FileExistsExact(path)) {
        // Second starts take turns, and each writes only once the running instance
        // has taken the previous file (its caption reads "PlayerForm" again), so no
        // path overwrites another. Every wait is bounded.
        win32::unique_kernel_handle turn(::CreateMutexW(nullptr, FALSE, (options_.instanceName + L".HandOver").c_str()));
        const DWORD waited = turn ? ::WaitForSingleObject(turn.get(), 10000) : WAIT_FAILED;
        const bool haveTurn = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
        const ULONGLONG deadline = ::GetTickCount64() + 5000;
        for (;;) {
            HWND running = FindRunningPlayerWindow();
            if (running) {
                wchar_t caption[64] = {};
                DWORD_PTR copied = 0;
                if (::SendMessageTimeoutW(running, WM_GETTEXT, std::size(caption),
                                          reinterpret_cast<LPARAM>(caption), SMTO_ABORTIFHUNG, 2000, &copied) &&
                    std::wstring(caption) == texts::kPlayerFormCaption) {
                    ::SendMessageTimeoutW(running, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                                          SMTO_ABORTIFHUNG, 2000, &copied);
                    break;
                }
            }
            if (::GetTickCount64() >= deadline) break;
            ::Sleep(20);
        }
        if (haveTurn) ::ReleaseMutex(turn.get());
    }
    EndProcess(0);
    return true;
}

void PlayerApp::FillDisplaySizes() {
    for (const wchar_t* entry : texts::kDisplaySizes) menuControls.CmbDispSize.AddItem(entry);
}

void PlayerApp::ReadSettings() {
    vars.LayeredAvailable = LayeredWindowsAvailable();
    const std::wstring folder = JoinProgramPath(options_.programFolder, L"Setting");
    if (!FolderExists(folder) && !::CreateDirectoryW(folder.c_str(), nullptr)) {
        Fail(Describe(texts::kSettingsFolderFailed, folder, win32::LastErrorText(L"CreateDirectory")));
    }
    const std::wstring path = SettingsPath();
    if (!FileSizeOf(std::filesystem::path(path))) {
        // First run: the controls keep their initial values, the default skin is used.
        vars.SkinName = FirstRunSkinName();
        return;
    }
    TextReadResult read = ReadTextFileLines(std::filesystem::path(path));
    if (!read.ok) Fail(Describe(texts::kSettingsReadFailed, path, read.error));
    if (read.lines.empty()) {
        vars.SkinName = FirstRunSkinName();
        return;
    }
    SettingsSubject subject{vars.SkinName,
                            [this] { return skinForm.LeftTwips(); },
                            [this] { return skinForm.TopTwips(); },
                            [this](double twips) { skinForm.SetLeftTwips(twips); },
                            [this](double twips) { skinForm.SetTopTwips(twips); },
                            menuControls,
                            vars.VideoWindowRect};
    if (auto error = ApplySettingsLines(read.lines, subject, factors)) {
        std::wstring text = texts::kSettingsReadFailed;
        text += L"\r\n\r\n";
        text += texts::kFileLabel + path + L"\r\n";
        text += texts::kLineLabel + std::to_wstring(error->line) + L"\r\n";
        text += texts::kExpectedLabel + error->expected;
        Fail(text);
    }
}

std::wstring PlayerApp::FirstRunSkinName() const {
    // The default skin when it is there; else the first skin of the list that the
    // settings file can name. Without any, the default's name makes the start-up say
    // which skin it could not find.
    if (FolderExists(JoinProgramPath(options_.programFolder, std::wstring(L"parts\\") + texts::kDefaultSkinName)))
        return texts::kDefaultSkinName;
    const SkinListResult found =
        tessel::player::ListSkins(std::filesystem::path(JoinProgramPath(options_.programFolder, L"parts")));
    for (const std::wstring& name : found.names) {
        if (StorableSkinName(options_.programFolder, name)) return name;
    }
    return texts::kDefaultSkinName;
}

void PlayerApp::AddTrayIcon() {
    if (auto failure = LoadSkinIcon(vars.TrayIconPath, 0, trayIcon_)) Fail(failure->Message());
    menuForm.SetIcon(trayIcon_.get());
    trayIconData_ = NOTIFYICONDATAW{};
    trayIconData_.cbSize = sizeof trayIconData_;
    trayIconData_.hWnd = menuForm.Handle();
    trayIconData_.uID = kTrayIconId;
    trayIconData_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    trayIconData_.uCallbackMessage = kTrayCallbackMessage;
    trayIconData_.hIcon = trayIcon_.get();
    std::wstring tip = texts::kTrayTip;
    tip.resize(kTrayTipWidth, L' ');
    wcsncpy_s(trayIconData_.szTip, tip.c_str(), _TRUNCATE);
    trayAdded_ = ::Shell_NotifyIconW(NIM_ADD, &trayIconData_) != FALSE;
}

std::optional<std::wstring> PlayerApp::ApplySkinLayout() {
    SkinLayout layout;
    if (auto error = ReadSkinLayout(std::filesystem::path(vars.DefinePath), layout))
        return DescribeSkinLayoutError(*error, vars.DefinePath);
    vars.PlayerOffsetX = layout.playerOffsetX;
    vars.PlayerOffsetY = layout.playerOffsetY;
    const RgbColour& t = layout.textColour;
    playerForm.SetTextColour(RGB(t.red, t.green, t.blue));
    // At skin scale k every skin pixel is k x k screen pixels: the masks are scanned in
    // their own pixels, and sizes, shapes, offsets and pictures grow by k.
    const int k = skinScale_;
    if (auto failure = SizeSkinWindow(skinForm.Handle(), layout, factors, k)) return failure->Message();
    skinForm.TakeWindowSize();
    if (auto failure = ShapeWindowFromMask(skinForm.Handle(), vars.SkinMaskPath, layout.ScanWidth(),
                                           layout.ScanHeight(), layout.skinKey, k))
        return failure->Message();
    const PixelSize body = PlayerFormPixelSize(SkinTwipsPerPixel(1));
    if (auto failure = ShapeWindowFromMask(playerForm.Handle(), vars.PlayerMaskPath, body.width, body.height,
                                           layout.playerKey, k))
        return failure->Message();
    if (auto failure = PlaceWindows(skinForm.Handle(), playerForm.Handle(), vars.PlayerOffsetX * k,
                                    vars.PlayerOffsetY * k, factors))
        return failure->Message();
    // The pictures last: the windows have their new shapes and places before they
    // show anything of the new skin.
    win32::unique_hbitmap skinPicture, playerPicture;
    if (auto failure = LoadSkinBitmap(vars.SkinBitmapPath, skinPicture, k)) return failure->Message();
    skinForm.SetPicture(std::move(skinPicture));
    if (auto failure = LoadSkinBitmap(vars.PlayerBitmapPath, playerPicture, k)) return failure->Message();
    playerForm.SetPicture(std::move(playerPicture));
    skinApplied_ = true;
    return std::nullopt;
}

std::optional<std::wstring> PlayerApp::ListSkins() {
    const std::wstring parts = JoinProgramPath(options_.programFolder, L"parts");
    SkinListResult found = tessel::player::ListSkins(std::filesystem::path(parts));
    if (!found.ok) return Describe(texts::kSkinFileMissing, parts, found.error);
    for (auto& name : found.names) menuControls.LstSkinFile.AddItem(std::move(name));
    return std::nullopt;
}

void PlayerApp::ReadSystemVolume() {
    if (auto level = ReadVolumeLevel(*volume_)) bodyControls.ScrVolume.SetValue(*level);
}

void PlayerApp::BuildFavouritesMenu() {
    const std::wstring folder = JoinProgramPath(options_.programFolder, L"fav");
    MenuArray& menu = menuControls.MenuFavList;
    if (!FolderExists(folder)) {
        if (!::CreateDirectoryW(folder.c_str(), nullptr)) {
            Fail(Describe(texts::kFavFolderFailed, folder, win32::LastErrorText(L"CreateDirectory")));
        }
        menu.SetItemEnabled(0, true);
        return;
    }
    // "更新する" can always be chosen, with or without favourites.
    menu.SetItemEnabled(0, true);
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    win32::unique_find_handle search(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (search) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsTemporaryFileName(found.cFileName)) continue;
            names.push_back(found.cFileName);
        } while (::FindNextFileW(search.get(), &found));
    }
    // One batch: the menu is built once, not again after every one of thousands.
    menu.BeginBatch();
    for (std::wstring& name : names) menu.Load(MenuItem{std::move(name), true, true});
    menu.EndBatch();
}

void PlayerApp::SetToolTips() {
    menuForm.SetToolTips();
    playerForm.SetToolTips();
}

void PlayerApp::HandleCommandLine() {
    const StartDecision decision =
        DecideStartAction(ArgumentsOf(options_.commandLine), menuControls.ChkStartPlay.Value(),
                          [](const std::wstring& p) { return FileExistsExact(p); });
    if (decision.action == StartAction::PlayFile) engine_->PlayFile(decision.path);
    if (decision.action == StartAction::PlayNext) {
        // Starting to play means playing the restored list: an empty queue is filled
        // from it first, also when endless play (the only other refill) is off.
        startupLoadBegan_ = ::GetTickCount64();
        if (menuControls.LstM3u.ListCount() == 0) engine_->LoadListFile(menuControls.LblM3uName.Caption());
        if (!ended_) engine_->PlayNext();
        startupLoadBegan_.reset();
    }
}

void PlayerApp::ShowOrHideWindows() {
    windowsShown_ = true;
    if (menuControls.ChkHide.Value() != 0) {
        ::ShowWindow(playerForm.Handle(), SW_HIDE);
        ::ShowWindow(skinForm.Handle(), SW_HIDE);
    } else {
        PlaceBodyWindow();
        ::ShowWindow(playerForm.Handle(), SW_SHOWNA);
        ::ShowWindow(skinForm.Handle(), SW_SHOW);
    }
}

void PlayerApp::PlaceBodyWindow() {
    if (!playerForm.Handle() || !skinForm.Handle()) return;
    // Placing fails only for a window that is gone; nothing is left to place then.
    PlaceWindows(skinForm.Handle(), playerForm.Handle(), vars.PlayerOffsetX * skinScale_,
                 vars.PlayerOffsetY * skinScale_, factors);
}

void PlayerApp::PlayNext() { engine_->PlayNext(); }
void PlayerApp::PlayFile(const std::wstring& path) { engine_->PlayFile(path); }
void PlayerApp::ChooseListFile() { menuForm.ChooseListFile(); }

void PlayerApp::ToggleHideWindows() { tessel::player::ToggleHideWindows(menuControls.ChkHide); }

}  // namespace tessel::player
