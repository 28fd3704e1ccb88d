#include "player/panel/MenuForm.h"

#include <commctrl.h>
#include <shellapi.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "common/twips.h"
#include "player/shared/texts.h"
#include "player/skin/skin_paths.h"
#include "player/skin/transparency_win32.h"
#include "common/folders.h"
#include "common/fileio.h"
#include "player/playback/polling.h"
#include "player/playback/transport.h"
#include "player/playback/volume.h"
#include "win32/clipboard.h"
#include "win32/drops.h"
#include "win32/error_text.h"
#include "win32/menus.h"

namespace tessel::player {
namespace {

using win32::CreateChild;
using win32::MenuEntry;

constexpr UINT_PTR kMainTimerId = 1;
constexpr UINT kMainTimerInterval = 500;
constexpr UINT_PTR kTimerListScrId = 2;
constexpr UINT_PTR kTimerMediaScrId = 3;
// The next slice of a PlayNext that skips many entries. A timer, not a posted message:
// WM_TIMER comes only once input and painting are done, so the windows answer first.
constexpr UINT_PTR kContinuePlayNextId = 4;

// Where the list lies at rest, and the slider under it, in twips.
constexpr int kListLeft = 120, kListTop = 3120, kListWidth = 6255, kListHeight = 1650;
constexpr int kSlideTop = 4755, kSlideHeight = 225;

int ShiftState() {
    return (::GetKeyState(VK_SHIFT) < 0 ? kShiftMask : 0) | (::GetKeyState(VK_CONTROL) < 0 ? kCtrlMask : 0) |
           (::GetKeyState(VK_MENU) < 0 ? kAltMask : 0);
}

// The client area of the design, in twips.
constexpr int kClientWidthTwips = 6510;
constexpr int kClientHeightTwips = 5520;

}  // namespace

MenuForm::MenuForm(PanelHost& host, LLVariable& vars, const TwipsPerPixel& factors, MenuFormControls& controls)
    : host_(host),
      vars_(vars),
      factors_(factors),
      c_(controls),
      listScroll_(controls.LblScrLstName, controls.LblM3uName,
                  [this](int interval) {
                      if (interval == 0) ::KillTimer(Handle(), kTimerListScrId);
                      else ::SetTimer(Handle(), kTimerListScrId, static_cast<UINT>(interval), nullptr);
                  }),
      mediaScroll_(controls.LblScrMediaName, controls.LblMediaName, [this](int interval) {
          if (interval == 0) ::KillTimer(Handle(), kTimerMediaScrId);
          else ::SetTimer(Handle(), kTimerMediaScrId, static_cast<UINT>(interval), nullptr);
      }) {}

MenuForm::~MenuForm() {
    // The controls outlive the panel; their views call into its child windows and its
    // tool tips, which go with it. Cut first, before any of them is destroyed.
    for (Control* c : std::initializer_list<Control*>{
             &c_.LstM3u, &c_.LblScrLstName, &c_.LblScrMediaName, &c_.LblListCount, &c_.ChkRandom,
             &c_.ChkEndless, &c_.ChkHide, &c_.ChkBreak, &c_.ChkStartPlay, &c_.CmbDispSize, &c_.ScrSkinTrans,
             &c_.ScrPlayerTrans, &c_.LstSkinFile, &c_.MenuFavList}) {
        c->view = nullptr;
    }
}

void MenuForm::Load() {
    RegisterWindowClass(kMenuFormClass, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    panelFactors_ = ScreenTwipsPerPixel();
    const TwipsPerPixel f = panelFactors_;
    // A fixed border without a minimise box: the panel is shown and hidden, never put
    // on the taskbar as an icon (it has no taskbar button to come back from).
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    win32::unique_hmenu menuBar = BuildMenuBar();
    RECT frame{0, 0, TwipsToPixels(kClientWidthTwips, f.x), TwipsToPixels(kClientHeightTwips, f.y)};
    ::AdjustWindowRectEx(&frame, style, TRUE, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    // First shown centred on the screen.
    const int x = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    CreateWindowOf(kMenuFormClass, texts::kMenuFormCaption, style, 0, x, y, width, height, nullptr, menuBar.get());
    menuBar.release();  // the window's now
    CreateControls();
    AttachScaler();
    c_.CmbDispSize.onClick = [this] { CmbDispSize_Click(); };
    listSlide_.onChange = [this] { ScrListSlide_Change(); };
    // Sent to every top-level window when the shell (re)starts.
    taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
}

win32::unique_hmenu MenuForm::BuildMenuBar() {
    namespace t = menu_texts;
    win32::unique_hmenu favourites = win32::BuildPopupMenu({});
    favMenu_ = favourites.get();
    const MenuEntry root[] = {
        {IdMenuPlay, t::kMenuPlay},
        {IdMenuStop, t::kMenuStop},
        {IdMenuPrev, t::kMenuPrev},
        {IdMenuReLoadList, t::kMenuReLoadList},
        {0, t::kMenuFavorite, favourites.release()},
        {IdMenuChoiceList, t::kMenuChoiceList},
        {IdMenuShowSetting, t::kMenuShowSetting},
        {IdMenuShowMain, t::kMenuShowMain},
        {},
        {IdMenuTheEnd, t::kMenuTheEnd},
    };
    win32::unique_hmenu rootMenu = win32::BuildPopupMenu(root);
    rootMenu_ = rootMenu.get();
    const MenuEntry barEntries[] = {{0, t::kMenuRoot, rootMenu.release()}};
    win32::unique_hmenu bar = win32::BuildMenuBar(barEntries);
    BuildPopupMenus();
    RebuildFavouritesMenu();
    c_.MenuFavList.view = [this](ControlChange change, std::size_t) {
        // Inside a batch the menu is built once, at its end.
        if (change == ControlChange::BatchBegin) {
            ++favBatch_;
            return;
        }
        if (change == ControlChange::BatchEnd) {
            if (favBatch_ > 0 && --favBatch_ > 0) return;
        } else if (favBatch_ > 0) {
            return;
        }
        RebuildFavouritesMenu();
    };
    return bar;
}

void MenuForm::BuildPopupMenus() {
    namespace t = menu_texts;
    const MenuEntry fl[] = {
        {IdFLMenuPlay, t::kFLMenuPlay},     {IdFLMenuDelete, t::kFLMenuDelete}, {IdFLMenuCopy, t::kFLMenuCopy},
        {IdFLMenuReLoad, t::kFLMenuReLoad}, {IdFLMenuClear, t::kFLMenuClear},
    };
    const MenuEntry mll[] = {{IdMLLCopy, t::kMLCopy}, {IdMLLReLoad, t::kMLLReLoad}};
    const MenuEntry mlm[] = {{IdMLMCopy, t::kMLCopy}};
    const MenuEntry skin[] = {{IdSkinMenuChangeSkin, t::kSkinMenuChangeSkin}, {IdSkinMenuUpdate, t::kSkinMenuUpdate}};
    flMenu_ = win32::BuildPopupMenu(fl).release();
    mllMenu_ = win32::BuildPopupMenu(mll).release();
    mlmMenu_ = win32::BuildPopupMenu(mlm).release();
    skinMenu_ = win32::BuildPopupMenu(skin).release();
    // MigiMenu is never part of the menu bar: its popups only open at the mouse.
    const MenuEntry migi[] = {
        {0, t::kFLMenuRoot, flMenu_},
        {0, t::kMenuLabelListRoot, mllMenu_},
        {0, t::kMenuLabelMediaRoot, mlmMenu_},
        {0, t::kSkinMenuRoot, skinMenu_},
    };
    migiMenu_ = win32::BuildPopupMenu(migi);
}

void MenuForm::RebuildFavouritesMenu() {
    // From the end: taking the first item away moves all the others, every time.
    for (int n = ::GetMenuItemCount(favMenu_); n > 0; --n) ::DeleteMenu(favMenu_, n - 1, MF_BYPOSITION);
    for (std::size_t i = 0; i < c_.MenuFavList.Count(); ++i) {
        const MenuItem& item = c_.MenuFavList.Item(i);
        if (!item.visible) continue;
        ::AppendMenuW(favMenu_, MF_STRING | (item.enabled ? 0u : MF_GRAYED),
                      IdMenuFavListFirst + static_cast<UINT>(i), item.caption.c_str());
    }
}

void MenuForm::CreateControls() {
    namespace t = menu_texts;
    const TwipsPerPixel f = panelFactors_;
    // 12 pixels at 100 %.
    font_.reset(::CreateFontW(-TwipsToPixels(180, f.y), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                              L"MS UI Gothic"));
    tips_.Create(Handle());
    auto px = [&](int left, int top, int width, int height) {
        return RECT{TwipsToPixels(left, f.x), TwipsToPixels(top, f.y), TwipsToPixels(left + width, f.x),
                    TwipsToPixels(top + height, f.y)};
    };
    HWND parent = Handle();
    HFONT font = font_.get();
    // The children are made in reading order, which is the window order and so the
    // order of Tab: the options, the transparency sliders, the display size, the queue
    // and its slider, the skin list, the buttons. Every caption comes just before the
    // control it names (a screen reader takes a control's name from the static text
    // before it); each one starts a group, so the arrow keys of a check box or a
    // button stay among its neighbours.
    auto label = [&](const wchar_t* text, RECT r, int id = -1) {
        return CreateChild(parent, L"STATIC", text,
                           WS_VISIBLE | WS_GROUP | WS_CLIPSIBLINGS | SS_LEFTNOWORDWRAP | SS_NOPREFIX, r, id, font);
    };
    // The design lets the captions above the two lists reach a pixel into them; they
    // stop at the list's top instead of lying under it, since a caption must come
    // before its list in the window order.
    auto above = [](RECT r, const RECT& list) {
        if (r.bottom > list.top) r.bottom = list.top;
        return r;
    };
    auto check = [&](const wchar_t* text, RECT r, int id, DWORD group = 0) {
        return CreateChild(parent, L"BUTTON", text, WS_VISIBLE | WS_TABSTOP | group | BS_CHECKBOX, r, id, font);
    };
    auto slider = [&](RECT r, int id) {
        return CreateChild(parent, L"SCROLLBAR", nullptr, WS_VISIBLE | WS_TABSTOP | WS_GROUP | SBS_HORZ, r, id,
                           nullptr);
    };

    label(t::kLabel1, px(120, 120, 5775, 240));
    auto readout = [&](RECT r, int id) {
        // SS_NOTIFY: the read-outs answer double clicks.
        return CreateChild(parent, L"STATIC", L"",
                           WS_VISIBLE | WS_GROUP | SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_NOTIFY, r, id, font);
    };
    // The read-outs are 180 twips high by design, less than a line of the panel's
    // font; they get the line's height so the path is not cut off at the bottom.
    BindLabel(c_.LblScrLstName, readout(px(120, 360, 6375, 225), IdLblScrLstName), &tips_);
    label(t::kLabel2, px(120, 600, 5775, 240));
    BindLabel(c_.LblScrMediaName, readout(px(120, 840, 6375, 225), IdLblScrMediaName), &tips_);
    BindCheckBox(c_.ChkRandom, check(t::kChkRandom, px(120, 1080, 975, 255), IdChkRandom, WS_GROUP), &tips_);
    // "エンドレス" needs a little more than its designed 1095 twips in the panel's font;
    // "隠す" has room to spare, so it moves right by what the other one gains.
    BindCheckBox(c_.ChkEndless, check(t::kChkEndless, px(1200, 1080, 1200, 255), IdChkEndless), &tips_);
    BindCheckBox(c_.ChkHide, check(t::kChkHide, px(2400, 1080, 735, 255), IdChkHide), &tips_);
    BindCheckBox(c_.ChkBreak, check(t::kChkBreak, px(3480, 1080, 975, 255), IdChkBreak), &tips_);
    BindCheckBox(c_.ChkStartPlay, check(t::kChkStartPlay, px(5040, 1080, 1455, 255), IdChkStartPlay), &tips_);
    label(t::kLabel4, px(3600, 1920, 2775, 255));
    BindScrollBar(c_.ScrSkinTrans, slider(px(3600, 2160, 2775, 255), IdScrSkinTrans), &tips_);
    BindScrollBar(c_.ScrPlayerTrans, slider(px(3600, 2520, 2775, 255), IdScrPlayerTrans), &tips_);
    // Up to the drop-down's left edge, so the whole caption shows.
    label(t::kLabel7, px(3600, 1560, 1545, 255));
    RECT combo = px(5160, 1500, 1215, 300);
    combo.bottom += 200;  // room for the dropped list
    BindComboBox(c_.CmbDispSize,
                 CreateChild(parent, L"COMBOBOX", nullptr,
                             WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_VSCROLL | CBS_DROPDOWNLIST, combo, IdCmbDispSize,
                             font),
                 &tips_);
    // Picture1 masks what panning pushes left of the list's resting edge: it lies
    // above the list, and before the list's caption so the caption stays next to it.
    const RECT queue = px(kListLeft, kListTop, kListWidth, kListHeight);
    CreateChild(parent, L"STATIC", nullptr, WS_VISIBLE | WS_GROUP | SS_ETCHEDVERT, px(0, kListTop, 135, kListHeight),
                IdPicture1, nullptr);
    BindLabel(c_.LblListCount, label(L"", above(px(3600, 2880, 1935, 255), queue), IdLblListCount), &tips_);
    label(t::kLabel8, above(px(5640, 2880, 735, 255), queue));
    label(t::kLabel6, above(px(120, 2880, 1935, 255), queue));
    // WM_SETREDRAW is off while a whole list is loaded into it (see BindListBox).
    BindListBox(c_.LstM3u,
                CreateChild(parent, L"LISTBOX", nullptr,
                            WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY |
                                LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT,
                            queue, IdLstM3u, font),
                &tips_);
    BindScrollBar(listSlide_, slider(px(kListLeft, kSlideTop, kListWidth, kSlideHeight), IdScrListSlide), nullptr);
    const RECT skins = px(120, 1680, 3375, 1110);
    label(t::kLabel3, above(px(120, 1440, 2655, 255), skins));
    BindListBox(c_.LstSkinFile,
                CreateChild(parent, L"LISTBOX", nullptr,
                            WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY |
                                LBS_NOINTEGRALHEIGHT,
                            skins, IdLstSkinFile, font),
                &tips_);
    auto button = [&](const wchar_t* text, RECT r, int id, DWORD group = 0) {
        CreateChild(parent, L"BUTTON", text, WS_VISIBLE | WS_TABSTOP | group | BS_PUSHBUTTON, r, id, font);
    };
    button(t::kCmdMove00, px(840, 5070, 1215, 375), IdCmdMove00, WS_GROUP);
    button(t::kCmdExecEdit, px(2160, 5070, 1335, 375), IdCmdExecEdit);
    button(t::kCmdChoice, px(3600, 5070, 1335, 375), IdCmdChoice);
    button(t::kCmdHide, px(5040, 5070, 1335, 375), IdCmdHide);
    win32::UseDialogKeys(parent);

    // Mouse buttons and drops on the lists and read-outs arrive through a procedure
    // put in front of theirs (win32::ChildHook: filling the queue with 30,000 entries
    // through a subclass took 8 times as long as listing them).
    ::DragAcceptFiles(Child(IdLstM3u), TRUE);
    for (std::size_t i = 0; i < std::size(kHookedChildren); ++i) {
        const int id = kHookedChildren[i];
        tips_.RelayFrom(Child(id));
        childHooks_[i].Attach(Child(id), [this, id](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
            return Child_Message(id, window, message, wParam, lParam);
        });
    }
}

std::optional<LRESULT> MenuForm::Child_Message(int id, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    tips_.Relay(window, message, wParam, lParam);
    if (id == IdLstM3u || id == IdLstSkinFile) {
        if (auto taken = List_Key(id, message, wParam, lParam)) return taken;
    }
    switch (message) {
        case WM_LBUTTONDOWN:
            if (id == IdLstM3u) LstM3u_MouseDown(kButtonLeft, ShiftState());
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
            if (id == IdLstM3u) LstM3u_MouseUp();
            break;
        case WM_RBUTTONDOWN:
            // The right button never changes a selection: the list box does not see it.
            if (id == IdLstM3u) LstM3u_MouseDown(kButtonRight, ShiftState());
            if (id == IdLstSkinFile) LstSkinFile_MouseDown(kButtonRight);
            if (id == IdLblScrLstName) LblScrLstName_MouseDown(kButtonRight);
            if (id == IdLblScrMediaName) LblScrMediaName_MouseDown(kButtonRight);
            return 0;
        case WM_DROPFILES:
            if (id == IdLstM3u) {
                HDROP drop = reinterpret_cast<HDROP>(wParam);
                std::vector<std::wstring> paths = win32::DroppedPaths(drop);
                ::DragFinish(drop);
                LstM3u_OLEDragDrop(paths);
                return 0;
            }
            break;
        default:
            break;
    }
    return std::nullopt;
}

std::optional<LRESULT> MenuForm::List_Key(int id, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (win32::ContextMenuKey(message, wParam, ::GetKeyState(VK_SHIFT) < 0)) {
        case win32::MenuKey::Open: ListMenu_FromKeyboard(id); return 0;
        case win32::MenuKey::Swallow: return 0;
        case win32::MenuKey::None: break;
    }
    switch (message) {
        case WM_CONTEXTMENU:
            // The mouse's menus open at the button press (LstM3u_MouseDown); a menu
            // asked for otherwise (another program, a screen reader) is the keyboard's.
            if (win32::ContextMenuFromKeyboard(lParam)) ListMenu_FromKeyboard(id);
            return 0;
        case WM_GETDLGCODE: {
            // Enter belongs to the list, not to the panel's dialog keys: it acts on
            // the entry with the focus, as a double click does.
            const MSG* key = reinterpret_cast<const MSG*>(lParam);
            if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN)
                return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTMESSAGE;
            return std::nullopt;
        }
        case WM_KEYDOWN:
            if (wParam != VK_RETURN) return std::nullopt;
            if (id == IdLstM3u) LstM3u_DblClick();
            if (id == IdLstSkinFile && c_.LstSkinFile.Enabled()) LstSkinFile_DblClick();
            return 0;
        case WM_CHAR:
            // The Enter just used is no letter to search the list for.
            if (wParam == L'\r') return 0;
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

void MenuForm::ListMenu_FromKeyboard(int id) {
    HWND list = Child(id);
    HMENU menu = id == IdLstM3u ? flMenu_ : skinMenu_;
    win32::ShowPopupMenu(menu, Handle(), win32::ListEntryMenuPoint(list));
}

void MenuForm::SetToolTips() {
    namespace t = menu_texts;
    // The state-holding controls keep their tip (a bound one shows it); the buttons
    // are windows only.
    const std::pair<Control*, const wchar_t*> controls[] = {
        {&c_.ChkBreak, t::kTipChkBreak},     {&c_.ChkEndless, t::kTipChkEndless},
        {&c_.ChkHide, t::kTipChkHide},       {&c_.ChkRandom, t::kTipChkRandom},
        {&c_.LblM3uName, t::kTipLblM3uName}, {&c_.LblMediaName, t::kTipLblMediaName},
        {&c_.LstM3u, t::kTipLstM3u},         {&c_.LstSkinFile, t::kTipLstSkinFile},
        {&c_.CmbDispSize, t::kTipCmbDispSize},
    };
    for (const auto& [control, text] : controls) control->SetToolTipText(text);
    const std::pair<int, const wchar_t*> buttons[] = {
        {IdCmdChoice, t::kTipCmdChoice}, {IdCmdExecEdit, t::kTipCmdExecEdit},
        {IdCmdHide, t::kTipCmdHide},     {IdCmdMove00, t::kTipCmdMove00},
    };
    for (const auto& [id, text] : buttons) tips_.SetForWindow(Child(id), text);
}

void MenuForm::SetIcon(HICON icon) {
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

bool MenuForm::PanelVisible() const {
    // Minimised all the same (another program can do that), it is not shown to the user:
    // the toggles then bring it back instead of hiding it.
    return ::IsWindowVisible(Handle()) != FALSE && !::IsIconic(Handle());
}

void MenuForm::SetPanelVisible(bool visible) {
    ::ShowWindow(Handle(), !visible ? SW_HIDE : ::IsIconic(Handle()) ? SW_RESTORE : SW_SHOW);
    // Opened from the icon's menu or the skin window, the panel takes the keyboard at
    // once; its activation gives the focus back to the control that had it.
    if (visible) ::SetForegroundWindow(Handle());
}

void MenuForm::Form_Activate(bool active) {
    if (!active) {
        HWND focus = ::GetFocus();
        if (focus && ::IsChild(Handle(), focus)) focus_ = focus;
        return;
    }
    Form_GotFocus();
}

void MenuForm::Form_GotFocus() {
    // The frame itself takes no keys: the focus goes on to a control, the one that
    // had it last or else the first in the Tab order.
    HWND target = focus_ && ::IsChild(Handle(), focus_) && ::IsWindowEnabled(focus_) && ::IsWindowVisible(focus_)
                      ? focus_
                      : ::GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (target) ::SetFocus(target);
}

void MenuForm::StartMainTimer() {
    timer_ = ::SetTimer(Handle(), kMainTimerId, kMainTimerInterval, nullptr);
    if (timer_ == 0) throw win32::WideError(win32::LastErrorText(L"SetTimer"));
}

void MenuForm::ContinuePlayNextLater() {
    // Without the timer (no more timers for the process) the search ends here; the
    // next PlayNext starts a new one.
    ::SetTimer(Handle(), kContinuePlayNextId, USER_TIMER_MINIMUM, nullptr);
}

void MenuForm::StopMainTimer() {
    if (timer_) ::KillTimer(Handle(), kMainTimerId);
    timer_ = 0;
    // A search for a playable entry still going on ends with the periodic work.
    ::KillTimer(Handle(), kContinuePlayNextId);
}

void MenuForm::ChooseListFile() {
    namespace t = menu_texts;
    ListFileDialogs dialogs;
    dialogs.showOpen = [this]() -> std::optional<std::wstring> {
        CDlg.Flags = OFN_HIDEREADONLY;
        CDlg.Filter = t::kListFileFilter;
        CDlg.DialogTitle = t::kListFileDialogTitle;
        CDlg.FileName.clear();
        if (!CDlg.ShowOpen(Handle())) return std::nullopt;
        return CDlg.FileName;
    };
    dialogs.fileSize = [](const std::wstring& path) { return FileSizeOf(PathFromWide(path)); };
    dialogs.confirmLargeFile = [this] {
        return ::MessageBoxW(Handle(), t::kLargeListQuestion, t::kConfirmTitle, MB_OKCANCEL) == IDOK;
    };
    bool chosen = false;
    try {
        chosen = tessel::player::ChooseListFile(host_.Engine(), c_, dialogs);
    } catch (const std::exception&) {
        // Any failure while choosing ends the command silently.
    }
    if (chosen) WarnIfListNotRemembered();
}

void MenuForm::WarnIfListNotRemembered() {
    // Said at once: at the next start it would be too late to choose another name.
    const std::wstring& path = c_.LblM3uName.Caption();
    if (path.empty() || host_.CanRememberList(path)) return;
    ::MessageBoxW(Handle(), menu_texts::kListNotRemembered, menu_texts::kNoticeTitle, MB_OK);
}

void MenuForm::ApplyDisplaySize() { tessel::player::ApplyDisplaySize(c_.CmbDispSize, vars_, videoWindows_); }

void MenuForm::CmbDispSize_Click() { ApplyDisplaySize(); }
void MenuForm::MenuStop_Click() { PausePlay(*host_.Device()); }
void MenuForm::MenuPrev_Click() { PlayFromStart(*host_.Device()); }
void MenuForm::MenuChoiceList_Click() { ChooseListFile(); }

void MenuForm::ChkHide_Click() {
    const int show = c_.ChkHide.Value() != 0 ? SW_HIDE : SW_SHOW;
    ::ShowWindow(host_.BodyWindow(), show);
    ::ShowWindow(host_.SkinWindow(), show);
}

void MenuForm::Timer_Timer() {
    MainTimerServices services;
    services.videoWindows = &videoWindows_;
    // The timer reads back the same device the volume bar writes.
    services.readVolumeLevel = [this] { return ReadVolumeLevel(host_.Volume()); };
    services.caption = [this] { return host_.BodyCaption(); };
    services.setCaption = [this](const std::wstring& caption) { host_.SetBodyCaption(caption); };
    OnMainTimer(host_.Engine(), *host_.Device(), host_.BodyControls(), vars_, services);
}

void MenuForm::MMC_StatusUpdate() { OnMediaStatus(host_.Engine(), *host_.Device(), host_.BodyControls(), vars_); }

void MenuForm::TrayIcon_Mouse(UINT mouseMessage) {
    if (mouseMessage == WM_LBUTTONUP) {
        host_.ToggleHideWindows();
    } else if (mouseMessage == WM_RBUTTONUP) {
        win32::ShowPopupMenu(rootMenu_, Handle());
    }
}

void MenuForm::CmdHide_Click() { SetPanelVisible(false); }

void MenuForm::CmdMove00_Click() {
    const TwipsPerPixel f = factors_;
    const SIZE skin = host_.SkinWindowSize();
    const SIZE body = host_.BodyWindowSize();
    const Move00Target target = CmdMove00Target(skin.cy * f.y, body.cx * f.x, body.cy * f.y);
    host_.MoveSkinWindow(target.skinLeft, target.skinTop);
    host_.PlaceBodyWindow();
}

void MenuForm::CmdExecEdit_Click() {
    // A separate process in a normal window; not waited for. A missing editor shows
    // nothing of ours.
    std::wstring exe = JoinProgramPath(host_.ProgramFolder(), L"exec\\listwright.exe");
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION pi{};
    if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ::CloseHandle(pi.hThread);
        ::CloseHandle(pi.hProcess);
    }
}

void MenuForm::CmdChoice_Click() { ChooseListFile(); }

void MenuForm::ScrSkinTrans_Change() {
    SetWindowAlpha(vars_.LayeredAvailable, host_.SkinWindow(), c_.ScrSkinTrans.Value());
}

void MenuForm::ScrPlayerTrans_Change() {
    SetWindowAlpha(vars_.LayeredAvailable, host_.BodyWindow(), c_.ScrPlayerTrans.Value());
}

void MenuForm::PopUp(HMENU menu) { win32::ShowPopupMenu(menu, Handle()); }

void MenuForm::PutOnClipboard(const std::wstring& text) {
    // Another program holding the clipboard past the brief retries: the copy is lost,
    // and the user must know, or the old clipboard would be pasted for it.
    if (!win32::PutClipboardText(Handle(), text))
        ::MessageBoxW(Handle(), menu_texts::kClipboardBusy, menu_texts::kErrorTitle, MB_OK);
}

void MenuForm::LstM3u_DblClick() {
    if (auto entry = SingleSelectedEntry(c_.LstM3u)) host_.PlayFile(*entry);
}

void MenuForm::LstM3u_MouseDown(int button, int shift) {
    switch (LstM3u_MouseDownRule(button, shift, vars_.ListLeftButtonDown)) {
        case ListPopup::ListMenu: PopUp(flMenu_); break;
        case ListPopup::Favourites: PopUp(favMenu_); break;
        case ListPopup::None: break;
    }
}

void MenuForm::LstM3u_MouseUp() { LstM3u_MouseUpRule(vars_.ListLeftButtonDown); }

void MenuForm::LstM3u_OLEDragDrop(const std::vector<std::wstring>& paths) {
    host_.AddToQueue(paths);
}

void MenuForm::ScrListSlide_Change() {
    const TwipsPerPixel f = panelFactors_;
    const HorizontalSpan span = ListSlideSpan(kListLeft, kListWidth, listSlide_.Value());
    const int left = TwipsToPixels(span.left, f.x);
    const int right = TwipsToPixels(kListLeft + kListWidth, f.x);
    ::SetWindowPos(Child(IdLstM3u), nullptr, left, TwipsToPixels(kListTop, f.y), right - left,
                   TwipsToPixels(kListHeight, f.y), SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(Child(IdPicture1), nullptr, TRUE);
}

void MenuForm::FLMenuPlay_Click() { LstM3u_DblClick(); }
void MenuForm::FLMenuDelete_Click() { DeleteSelectedEntries(c_.LstM3u, c_.LblListCount); }

void MenuForm::FLMenuCopy_Click() {
    if (auto text = SelectedEntriesText(c_.LstM3u)) PutOnClipboard(*text);
}

void MenuForm::FLMenuClear_Click() { ClearEntries(c_.LstM3u, c_.LblListCount); }
void MenuForm::MLLCopy_Click() { PutOnClipboard(c_.LblScrLstName.Caption()); }
void MenuForm::MLMCopy_Click() { PutOnClipboard(c_.LblScrMediaName.Caption()); }
void MenuForm::MenuReLoadList_Click() { host_.ReloadList(); }

void MenuForm::LblScrLstName_MouseDown(int button) {
    if (button == kButtonRight) PopUp(mllMenu_);
}

void MenuForm::LblScrMediaName_MouseDown(int button) {
    if (button == kButtonRight) PopUp(mlmMenu_);
}

void MenuForm::StopNameScrolling() {
    listScroll_.Stop();
    mediaScroll_.Stop();
}

void MenuForm::LstSkinFile_DblClick() {
    const int index = c_.LstSkinFile.ListIndex();
    if (index < 0) return;
    ConfirmAndChangeSkin(c_.LstSkinFile.List(static_cast<std::size_t>(index)));
}

void MenuForm::LstSkinFile_MouseDown(int button) {
    if (button == kButtonRight) PopUp(skinMenu_);
}

void MenuForm::ConfirmAndChangeSkin(const std::wstring& name) {
    namespace t = menu_texts;
    // A skin the settings file cannot name would be lost at the next start, and that
    // start would fail on it.
    if (!host_.CanRememberSkin(name)) {
        ::MessageBoxW(Handle(), t::kSkinNameUnstorable, t::kNoticeTitle, MB_OK);
        return;
    }
    const std::wstring prompt = name + t::kSkinConfirmSuffix;
    if (::MessageBoxW(Handle(), prompt.c_str(), t::kSkinConfirmTitle, MB_YESNO) != IDYES) return;
    const std::wstring previous = vars_.SkinName;
    vars_.SkinName = name;
    const SkinChange change = host_.ChangeSkin();
    // The skin in use stays, and so does the name the settings will keep.
    if (!change.applied) vars_.SkinName = previous;
    if (change.report) {
        // Applied, the report is about something else (the skin list), not the skin; with
        // the old skin lost too, it says so itself.
        const std::wstring text = change.applied || change.restoreFailed
                                      ? *change.report
                                      : std::wstring(t::kSkinUnusable) + L"\r\n\r\n" + *change.report;
        ::MessageBoxW(Handle(), text.c_str(), t::kSkinMissingTitle, MB_OK);
    }
}

void MenuForm::SkinMenuChangeSkin_Click() {
    namespace t = menu_texts;
    const int index = c_.LstSkinFile.ListIndex();
    if (index < 0) return;
    const std::wstring name = c_.LstSkinFile.List(static_cast<std::size_t>(index));
    if (SystemFolders().Kind(JoinProgramPath(host_.ProgramFolder(), L"parts\\" + name)) != PathKind::Folder) {
        ::MessageBoxW(Handle(), t::kSkinMissing, t::kSkinMissingTitle, MB_OK);
        // The skin in use applied again, and the list rebuilt without the vanished one.
        if (const SkinChange change = host_.ChangeSkin(); change.report)
            ::MessageBoxW(Handle(), change.report->c_str(), t::kSkinMissingTitle, MB_OK);
        return;
    }
    ConfirmAndChangeSkin(name);
}

void MenuForm::SkinMenuUpdate_Click() {
    c_.LstSkinFile.Clear();
    host_.ListSkins();
}

void MenuForm::MenuFavList_Click(std::size_t index) {
    FavouriteActions actions;
    actions.fileExists = [](const std::wstring& path) { return FileExistsExact(path); };
    actions.rebuild = [this] { host_.RefreshFavouritesMenu(); };
    actions.reloadList = [this] { host_.ReloadList(); };
    const std::wstring before = c_.LblM3uName.Caption();
    MenuFavListClick(index, c_.MenuFavList, host_.ProgramFolder(), c_.LblM3uName, actions);
    if (c_.LblM3uName.Caption() != before) WarnIfListNotRemembered();
}
void MenuForm::MenuPlay_Click() { host_.PlayNext(); }
void MenuForm::MenuShowSetting_Click() { SetPanelVisible(!PanelVisible()); }
void MenuForm::MenuShowMain_Click() { host_.ToggleHideWindows(); }
void MenuForm::MenuTheEnd_Click() { host_.Shutdown(); }

void MenuForm::OnCommand(int id, int code, HWND control) {
    switch (id) {
        case IdChkRandom: if (code == BN_CLICKED) OnCheckBoxClicked(c_.ChkRandom); break;
        case IdChkEndless: if (code == BN_CLICKED) OnCheckBoxClicked(c_.ChkEndless); break;
        case IdChkHide: if (code == BN_CLICKED) OnCheckBoxClicked(c_.ChkHide); break;
        case IdChkBreak: if (code == BN_CLICKED) OnCheckBoxClicked(c_.ChkBreak); break;
        case IdChkStartPlay: if (code == BN_CLICKED) OnCheckBoxClicked(c_.ChkStartPlay); break;
        case IdCmbDispSize: if (code == CBN_SELCHANGE) OnComboSelectionChanged(c_.CmbDispSize, control); break;
        case IdLstM3u:
            if (code == LBN_SELCHANGE) OnListSelectionChanged(c_.LstM3u, control);
            if (code == LBN_DBLCLK) LstM3u_DblClick();
            break;
        case IdLstSkinFile:
            if (code == LBN_SELCHANGE) OnListSelectionChanged(c_.LstSkinFile, control);
            // The list is disabled while a skin is applied: no second change meanwhile.
            if (code == LBN_DBLCLK && c_.LstSkinFile.Enabled()) LstSkinFile_DblClick();
            break;
        case IdCmdHide: if (code == BN_CLICKED) CmdHide_Click(); break;
        case IdCmdMove00: if (code == BN_CLICKED) CmdMove00_Click(); break;
        case IdCmdExecEdit: if (code == BN_CLICKED) CmdExecEdit_Click(); break;
        case IdCmdChoice: if (code == BN_CLICKED) CmdChoice_Click(); break;
        case IdLblScrLstName: if (code == STN_DBLCLK) LblScrLstName_DblClick(); break;
        case IdLblScrMediaName: if (code == STN_DBLCLK) LblScrMediaName_DblClick(); break;
        case IdMenuReLoadList: MenuReLoadList_Click(); break;
        case IdFLMenuPlay: FLMenuPlay_Click(); break;
        case IdFLMenuDelete: FLMenuDelete_Click(); break;
        case IdFLMenuCopy: FLMenuCopy_Click(); break;
        case IdFLMenuReLoad: host_.ReloadList(); break;
        case IdFLMenuClear: FLMenuClear_Click(); break;
        case IdMLLCopy: MLLCopy_Click(); break;
        case IdMLLReLoad: host_.ReloadList(); break;
        case IdMLMCopy: MLMCopy_Click(); break;
        case IdSkinMenuChangeSkin: SkinMenuChangeSkin_Click(); break;
        case IdSkinMenuUpdate: SkinMenuUpdate_Click(); break;
        case IdMenuPlay: MenuPlay_Click(); break;
        case IdMenuStop: MenuStop_Click(); break;
        case IdMenuPrev: MenuPrev_Click(); break;
        case IdMenuChoiceList: MenuChoiceList_Click(); break;
        case IdMenuShowSetting: MenuShowSetting_Click(); break;
        case IdMenuShowMain: MenuShowMain_Click(); break;
        case IdMenuTheEnd: MenuTheEnd_Click(); break;
        default:
            if (id >= IdMenuFavListFirst && static_cast<std::size_t>(id - IdMenuFavListFirst) < c_.MenuFavList.Count())
                MenuFavList_Click(static_cast<std::size_t>(id - IdMenuFavListFirst));
            break;
    }
}

LRESULT MenuForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto taken = host_.MediaKeyMessage(message, wParam, lParam)) return *taken;
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_HSCROLL: {
            HWND bar = reinterpret_cast<HWND>(lParam);
            if (bar == Child(IdScrSkinTrans)) OnScroll(c_.ScrSkinTrans, bar, LOWORD(wParam));
            if (bar == Child(IdScrPlayerTrans)) OnScroll(c_.ScrPlayerTrans, bar, LOWORD(wParam));
            if (bar == Child(IdScrListSlide)) OnScroll(listSlide_, bar, LOWORD(wParam), 200);
            return 0;
        }
        case WM_TIMER:
            if (wParam == kMainTimerId) Timer_Timer();
            if (wParam == kContinuePlayNextId) {
                ::KillTimer(Handle(), kContinuePlayNextId);
                host_.Engine().ContinuePlayNext();
            }
            if (wParam == kTimerListScrId) TimerListScr_Timer();
            if (wParam == kTimerMediaScrId) TimerMediaScr_Timer();
            return 0;
        case kTrayCallbackMessage:
            if (wParam == kTrayIconId) TrayIcon_Mouse(static_cast<UINT>(LOWORD(lParam)));
            return 0;
        case WM_ACTIVATE:
            // Minimised, the panel keeps no focus to give.
            if (!HIWORD(wParam)) Form_Activate(LOWORD(wParam) != WA_INACTIVE);
            return 0;
        case WM_SETFOCUS:
            Form_GotFocus();
            return 0;
        case WM_CLOSE:
            // The panel's own commands only hide it; the rest of the player needs its
            // queue, timers and media device until Shutdown.
            SetPanelVisible(false);
            return 0;
        case WM_DPICHANGED: {
            ScaledWindow::HandleMessage(message, wParam, lParam);
            const int dpi = win32::DpiOfChange(wParam);
            panelFactors_ = TwipsPerPixelForDpi(dpi, dpi);
            return 0;
        }
        case WM_QUERYENDSESSION:
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) host_.ShutdownForSessionEnd();
            return 0;
        case WM_DESTROY:
            win32::UseDialogKeys(Handle(), false);
            StopMainTimer();
            StopNameScrolling();
            return 0;
        default:
            if (taskbarCreated_ != 0 && message == taskbarCreated_) {
                host_.ReAddTrayIcon();
                return 0;
            }
            return ScaledWindow::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace tessel::player
