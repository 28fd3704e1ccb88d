#include "player/panel/MenuForm.h"

#include <commctrl.h>
#include <commdlg.h>

#include <vector>

#include "common/twips.h"
#include "player/panel/menu_texts.h"
#include "common/fileio.h"
#include "player/playback/polling.h"
#include "player/playback/transport.h"
#include "player/skin/volume.h"
#include "player/startup/Initialize.h"
#include "player/startup/texts.h"

namespace tessel::player {
namespace {

constexpr UINT_PTR kMainTimerId = 1;
constexpr UINT kMainTimerInterval = 500;

// The client area of the design, in twips.
constexpr int kClientWidthTwips = 6510;
constexpr int kClientHeightTwips = 5520;

}  // namespace

MenuForm::MenuForm(PlayerApp& app, MenuFormControls& controls) : app_(app), c_(controls) {}

void MenuForm::Load() {
    RegisterWindowClass(kMenuFormClass, nullptr, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const TwipsPerPixel f = app_.factors;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    BuildMenuBar();
    RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, f.x), TwipsToPixels(kClientHeightTwips, f.y)};
    ::AdjustWindowRectEx(&frame, style, TRUE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // First shown centred on the screen.
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    CreateWindowOf(kMenuFormClass, texts::kMenuFormCaption, style, 0, x, y, width, height, menuBar_);
    CreateControls();
    c_.CmbDispSize.onClick = [this] { CmbDispSize_Click(); };
}

bool CommonDialog::ShowOpen(HWND owner) {
    // The control's "name|pattern|" becomes the NUL-separated pairs of the dialog.
    std::vector<wchar_t> filter(Filter.begin(), Filter.end());
    for (wchar_t& c : filter) {
        if (c == L'|') c = L'\0';
    }
    filter.push_back(L'\0');
    filter.push_back(L'\0');
    std::vector<wchar_t> file(32768, L'\0');
    FileName.copy(file.data(), std::min<std::size_t>(FileName.size(), file.size() - 1));
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.data();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = DialogTitle.empty() ? nullptr : DialogTitle.c_str();
    ofn.Flags = Flags | OFN_EXPLORER;
    if (!::GetOpenFileNameW(&ofn)) return false;
    FileName = file.data();
    return true;
}

void MenuForm::BuildMenuBar() {
    namespace t = menu_texts;
    menuBar_ = ::CreateMenu();
    rootMenu_ = ::CreatePopupMenu();
    favMenu_ = ::CreatePopupMenu();
    ::AppendMenuW(rootMenu_, MF_STRING, IdMenuPlay, t::kMenuPlay);
    // Reloading comes with the list panel's commands; until then its entry is shown
    // but cannot be chosen.
    ::AppendMenuW(rootMenu_, MF_STRING, IdMenuStop, t::kMenuStop);
    ::AppendMenuW(rootMenu_, MF_STRING, IdMenuPrev, t::kMenuPrev);
    ::AppendMenuW(rootMenu_, MF_STRING | MF_GRAYED, IdMenuReLoadList, t::kMenuReLoadList);
    ::AppendMenuW(rootMenu_, MF_POPUP, reinterpret_cast<UINT_PTR>(favMenu_), t::kMenuFavorite);
    ::AppendMenuW(rootMenu_, MF_STRING, IdMenuChoiceList, t::kMenuChoiceList);
    ::AppendMenuW(rootMenu_, MF_STRING, IdMenuShowSetting, t::kMenuShowSetting);
    ::AppendMenuW(rootMenu_, MF_STRING, IdMenuShowMain, t::kMenuShowMain);
    ::AppendMenuW(rootMenu_, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(rootMenu_, MF_STRING, IdMenuTheEnd, t::kMenuTheEnd);
    ::AppendMenuW(menuBar_, MF_POPUP, reinterpret_cast<UINT_PTR>(rootMenu_), t::kMenuRoot);
    RebuildFavouritesMenu();
    c_.MenuFavList.view = [this](ControlChange, std::size_t) { RebuildFavouritesMenu(); };
}

void MenuForm::RebuildFavouritesMenu() {
    while (::GetMenuItemCount(favMenu_) > 0) ::DeleteMenu(favMenu_, 0, MF_BYPOSITION);
    for (std::size_t i = 0; i < c_.MenuFavList.Count(); ++i) {
        const MenuItem& item = c_.MenuFavList.Item(i);
        if (!item.visible) continue;
        ::AppendMenuW(favMenu_, MF_STRING | (item.enabled ? 0u : MF_GRAYED),
                      IdMenuFavListFirst + static_cast<UINT>(i), item.caption.c_str());
    }
}

void MenuForm::CreateControls() {
    namespace t = menu_texts;
    const TwipsPerPixel f = app_.factors;
    font_.reset(::CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS UI Gothic"));
    tips_.Create(Handle());
    auto px = [&](int left, int top, int width, int height) {
        return RECT{TwipsToPixels(left, f.x), TwipsToPixels(top, f.y), TwipsToPixels(left + width, f.x),
                    TwipsToPixels(top + height, f.y)};
    };
    HWND parent = Handle();
    HFONT font = font_.get();
    auto label = [&](const wchar_t* text, RECT r, int id = -1) {
        return CreateChild(parent, L"STATIC", text, WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX, r, id, font);
    };
    auto check = [&](const wchar_t* text, RECT r, int id) {
        return CreateChild(parent, L"BUTTON", text, WS_VISIBLE | WS_TABSTOP | BS_CHECKBOX, r, id, font);
    };

    label(t::kLabel1, px(120, 120, 5775, 240));
    BindLabel(c_.LblScrLstName, label(L"", px(120, 360, 6375, 180), IdLblScrLstName), &tips_);
    label(t::kLabel2, px(120, 600, 5775, 240));
    BindLabel(c_.LblScrMediaName, label(L"", px(120, 840, 6375, 180), IdLblScrMediaName), &tips_);
    BindCheckBox(c_.ChkRandom, check(t::kChkRandom, px(120, 1080, 975, 255), IdChkRandom), &tips_);
    BindCheckBox(c_.ChkEndless, check(t::kChkEndless, px(1200, 1080, 1095, 255), IdChkEndless), &tips_);
    BindCheckBox(c_.ChkHide, check(t::kChkHide, px(2280, 1080, 735, 255), IdChkHide), &tips_);
    BindCheckBox(c_.ChkBreak, check(t::kChkBreak, px(3480, 1080, 975, 255), IdChkBreak), &tips_);
    BindCheckBox(c_.ChkStartPlay, check(t::kChkStartPlay, px(5040, 1080, 1455, 255), IdChkStartPlay), &tips_);
    label(t::kLabel3, px(120, 1440, 2655, 255));
    BindListBox(c_.LstSkinFile,
                CreateChild(parent, L"LISTBOX", nullptr,
                            WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                            px(120, 1680, 3375, 1110), IdLstSkinFile, font),
                &tips_);
    label(t::kLabel7, px(3600, 1560, 1335, 255));
    RECT combo = px(5160, 1500, 1215, 300);
    combo.bottom += 200;  // room for the dropped list
    BindComboBox(c_.CmbDispSize,
                 CreateChild(parent, L"COMBOBOX", nullptr, WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                             combo, IdCmbDispSize, font),
                 &tips_);
    label(t::kLabel4, px(3600, 1920, 2775, 255));
    BindScrollBar(c_.ScrSkinTrans,
                  CreateChild(parent, L"SCROLLBAR", nullptr, WS_VISIBLE | SBS_HORZ, px(3600, 2160, 2775, 255),
                              IdScrSkinTrans, nullptr),
                  &tips_);
    BindScrollBar(c_.ScrPlayerTrans,
                  CreateChild(parent, L"SCROLLBAR", nullptr, WS_VISIBLE | SBS_HORZ, px(3600, 2520, 2775, 255),
                              IdScrPlayerTrans, nullptr),
                  &tips_);
    label(t::kLabel6, px(120, 2880, 1935, 255));
    BindLabel(c_.LblListCount, label(L"", px(3600, 2880, 1935, 255), IdLblListCount), &tips_);
    label(t::kLabel8, px(5640, 2880, 735, 255));
    // WM_SETREDRAW is off while a whole list is loaded into it (see BindListBox).
    BindListBox(c_.LstM3u,
                CreateChild(parent, L"LISTBOX", nullptr,
                            WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT,
                            px(120, 3120, 6255, 1650), IdLstM3u, font),
                &tips_);
    CreateChild(parent, L"BUTTON", t::kCmdHide, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, px(5040, 5070, 1335, 375),
                IdCmdHide, font);
}

void MenuForm::SetIcon(HICON icon) {
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

bool MenuForm::PanelVisible() const { return ::IsWindowVisible(Handle()) != FALSE; }

void MenuForm::SetPanelVisible(bool visible) { ::ShowWindow(Handle(), visible ? SW_SHOW : SW_HIDE); }

void MenuForm::StartMainTimer() {
    // The timer reads back the same device the volume bar writes.
    if (volume_ == nullptr) volume_ = &app_.Volume();
    timer_ = ::SetTimer(Handle(), kMainTimerId, kMainTimerInterval, nullptr);
    if (timer_ == 0) throw std::runtime_error("SetTimer failed: " + std::to_string(::GetLastError()));
}

void MenuForm::ChooseListFile() {
    namespace t = menu_texts;
    ListFileDialogs dialogs;
    dialogs.showOpen = [this]() -> std::optional<std::wstring> {
        if (showOpenForTest) return showOpenForTest();
        CDlg.Flags = CommonDialog::kHideReadOnly;
        CDlg.Filter = t::kListFileFilter;
        CDlg.DialogTitle = t::kListFileDialogTitle;
        CDlg.CancelError = true;
        CDlg.FileName.clear();
        if (!CDlg.ShowOpen(Handle())) return std::nullopt;
        return CDlg.FileName;
    };
    dialogs.fileSize = [](const std::wstring& path) { return FileSizeOf(PathFromWide(path)); };
    dialogs.confirmLargeFile = [this] {
        if (confirmLargeFileForTest) return confirmLargeFileForTest();
        return ::MessageBoxW(Handle(), t::kLargeListQuestion, t::kConfirmTitle, MB_OKCANCEL) == IDOK;
    };
    try {
        tessel::player::ChooseListFile(app_.Engine(), c_, dialogs);
    } catch (const std::exception&) {
        // Any failure while choosing ends the command silently.
    }
}

void MenuForm::ApplyDisplaySize() { tessel::player::ApplyDisplaySize(c_.CmbDispSize, app_.vars, videoWindows_); }

void MenuForm::CmbDispSize_Click() { ApplyDisplaySize(); }
void MenuForm::MenuStop_Click() { PausePlay(*app_.mmc); }
void MenuForm::MenuPrev_Click() { PlayFromStart(*app_.mmc); }
void MenuForm::MenuChoiceList_Click() { ChooseListFile(); }

void MenuForm::ChkHide_Click() {
    const int show = c_.ChkHide.Value() != 0 ? SW_HIDE : SW_SHOW;
    ::ShowWindow(app_.playerForm.Handle(), show);
    ::ShowWindow(app_.skinForm.Handle(), show);
}

void MenuForm::Timer_Timer() {
    MainTimerServices services;
    services.videoWindows = &videoWindows_;
    if (volume_ != nullptr) services.readVolumeLevel = [this] { return ReadVolumeLevel(*volume_); };
    services.caption = [this] { return app_.playerForm.Caption(); };
    services.setCaption = [this](const std::wstring& caption) { app_.playerForm.SetCaption(caption); };
    OnMainTimer(app_.Engine(), *app_.mmc, app_.bodyControls, app_.vars, services);
}

void MenuForm::MMC_StatusUpdate() { OnMediaStatus(app_.Engine(), *app_.mmc, app_.bodyControls, app_.vars); }

void MenuForm::TrayIcon_Mouse(UINT mouseMessage) {
    if (mouseMessage == WM_LBUTTONUP) {
        app_.ToggleHideWindows();
    } else if (mouseMessage == WM_RBUTTONUP) {
        POINT pt{};
        ::GetCursorPos(&pt);
        // The popup closes properly only when its owner is the foreground window.
        ::SetForegroundWindow(Handle());
        ::TrackPopupMenu(rootMenu_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, Handle(), nullptr);
        ::PostMessageW(Handle(), WM_NULL, 0, 0);
    }
}

void MenuForm::CmdHide_Click() { SetPanelVisible(false); }
void MenuForm::MenuPlay_Click() { app_.PlayNext(); }
void MenuForm::MenuShowSetting_Click() { SetPanelVisible(!PanelVisible()); }
void MenuForm::MenuShowMain_Click() { app_.ToggleHideWindows(); }
void MenuForm::MenuTheEnd_Click() { app_.Shutdown(); }

void MenuForm::OnCommand(int id, int code, HWND control) {
    switch (id) {
        case IdChkRandom: if (code == BN_CLICKED) OnCheckBoxClicked(c_.ChkRandom); break;
        case IdChkEndless: if (code == BN_CLICKED) OnCheckBoxClicked(c_.ChkEndless); break;
        case IdChkHide: if (code == BN_CLICKED) OnCheckBoxClicked(c_.ChkHide); break;
        case IdChkBreak: if (code == BN_CLICKED) OnCheckBoxClicked(c_.ChkBreak); break;
        case IdChkStartPlay: if (code == BN_CLICKED) OnCheckBoxClicked(c_.ChkStartPlay); break;
        case IdCmbDispSize: if (code == CBN_SELCHANGE) OnComboSelectionChanged(c_.CmbDispSize, control); break;
        case IdLstM3u: if (code == LBN_SELCHANGE) OnListSelectionChanged(c_.LstM3u, control); break;
        case IdLstSkinFile: if (code == LBN_SELCHANGE) OnListSelectionChanged(c_.LstSkinFile, control); break;
        case IdCmdHide: if (code == BN_CLICKED) CmdHide_Click(); break;
        case IdMenuPlay: MenuPlay_Click(); break;
        case IdMenuStop: MenuStop_Click(); break;
        case IdMenuPrev: MenuPrev_Click(); break;
        case IdMenuChoiceList: MenuChoiceList_Click(); break;
        case IdMenuShowSetting: MenuShowSetting_Click(); break;
        case IdMenuShowMain: MenuShowMain_Click(); break;
        case IdMenuTheEnd: MenuTheEnd_Click(); break;
        default: break;
    }
}

LRESULT MenuForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_HSCROLL: {
            HWND bar = reinterpret_cast<HWND>(lParam);
            if (bar == Child(IdScrSkinTrans)) OnScroll(c_.ScrSkinTrans, bar, LOWORD(wParam));
            if (bar == Child(IdScrPlayerTrans)) OnScroll(c_.ScrPlayerTrans, bar, LOWORD(wParam));
            return 0;
        }
        case WM_TIMER:
            if (wParam == kMainTimerId) Timer_Timer();
            return 0;
        case kTrayCallbackMessage:
            if (wParam == kTrayIconId) TrayIcon_Mouse(static_cast<UINT>(LOWORD(lParam)));
            return 0;
        case WM_CLOSE:
            // The panel's own commands only hide it; the rest of the player needs its
            // queue, timers and media device until Shutdown.
            SetPanelVisible(false);
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) app_.ShutdownForSessionEnd();
            return 0;
        case WM_DESTROY:
            if (timer_) ::KillTimer(Handle(), kMainTimerId);
            timer_ = 0;
            return 0;
        default:
            return WindowBase::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace tessel::player
