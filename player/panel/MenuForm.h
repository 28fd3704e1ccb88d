// MenuForm, the control panel: hidden at start-up, it holds the play queue, the
// options and the invisible media device and timers, and receives the
// notification-area icon's messages.
#pragma once

#include <windows.h>

#include <iterator>
#include <optional>
#include <vector>
#include <string>

#include "common/twips.h"
#include "player/panel/panel_logic.h"
#include "player/playback/video_window_win32.h"
#include "player/shared/control_views.h"
#include "player/shared/llvariable.h"
#include "player/shared/window_hosts.h"
#include "win32/child_hook.h"
#include "win32/dialogs.h"
#include "win32/dpi.h"
#include "win32/handle.h"
#include "win32/window.h"

namespace tessel::player {

inline constexpr const wchar_t* kMenuFormClass = L"TesselMenuForm";
// The icon's private callback message: a real mouse move can never be taken for it.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
inline constexpr UINT kTrayIconId = 1;

class MenuForm : public win32::ScaledWindow {
public:
    MenuForm(PanelHost& host, LLVariable& vars, const TwipsPerPixel& factors, MenuFormControls& controls);
    ~MenuForm() override;

    void Load();
    void SetIcon(HICON icon);
    bool PanelVisible() const;
    void SetPanelVisible(bool visible);
    void StartMainTimer();
    void StopMainTimer();
    // Has the engine's ContinuePlayNext run once the windows have had their turn.
    void ContinuePlayNextLater();
    // The tool tips of the panel's controls.
    void SetToolTips();

    // The list file choice (transport.h): the open dialog, the size question, then
    // the new queue. Silent on cancel and on every failure.
    void ChooseListFile();
    // Sizes or shows the video window after CmbDispSize (transport.h).
    void ApplyDisplaySize();
    VideoWindows& Video() { return videoWindows_; }

    // CDlg: the common dialog control (its open dialog).
    win32::CommonDialog CDlg;

    // Handlers.
    void ChkHide_Click();
    void Timer_Timer();
    void MMC_StatusUpdate();
    void CmbDispSize_Click();
    void MenuStop_Click();
    void MenuPrev_Click();
    void MenuChoiceList_Click();
    void TrayIcon_Mouse(UINT mouseMessage);
    void CmdHide_Click();
    void MenuPlay_Click();
    void MenuShowSetting_Click();
    void MenuShowMain_Click();
    void MenuTheEnd_Click();
    void CmdMove00_Click();
    void CmdExecEdit_Click();
    void CmdChoice_Click();
    void ScrSkinTrans_Change();
    void ScrPlayerTrans_Change();
    // List panel.
    void LstM3u_DblClick();
    void LstM3u_MouseDown(int button, int shift);
    void LstM3u_MouseUp();
    void LstM3u_OLEDragDrop(const std::vector<std::wstring>& paths);
    void ScrListSlide_Change();
    void FLMenuPlay_Click();
    void FLMenuDelete_Click();
    void FLMenuCopy_Click();
    void FLMenuClear_Click();
    void MLLCopy_Click();
    void MLMCopy_Click();
    void MenuReLoadList_Click();
    void LblScrLstName_MouseDown(int button);
    void LblScrMediaName_MouseDown(int button);
    // Scrolling read-outs.
    void LblScrLstName_DblClick() { listScroll_.StartNameScroll(); }
    void LblScrMediaName_DblClick() { mediaScroll_.StartNameScroll(); }
    void TimerListScr_Timer() { listScroll_.ScrollNameLabelTick(); }
    void TimerMediaScr_Timer() { mediaScroll_.ScrollNameLabelTick(); }
    void StopNameScrolling();
    // Skin list.
    void LstSkinFile_DblClick();
    void LstSkinFile_MouseDown(int button);
    void SkinMenuChangeSkin_Click();
    void SkinMenuUpdate_Click();
    void ConfirmAndChangeSkin(const std::wstring& name);
    // Favourites.
    void MenuFavList_Click(std::size_t index);

    enum ControlId : int {
        IdChkRandom = 101, IdChkEndless, IdChkHide, IdChkBreak, IdChkStartPlay, IdLstSkinFile,
        IdCmbDispSize, IdScrSkinTrans, IdScrPlayerTrans, IdLstM3u, IdCmdHide, IdLblListCount,
        IdLblScrLstName, IdLblScrMediaName,
        IdMenuPlay = 201, IdMenuStop, IdMenuPrev, IdMenuReLoadList, IdMenuChoiceList,
        IdMenuShowSetting, IdMenuShowMain, IdMenuTheEnd, IdMenuFavListFirst = 300,
        IdCmdMove00 = 120, IdCmdExecEdit, IdCmdChoice, IdScrListSlide, IdPicture1,
        IdFLMenuPlay = 220, IdFLMenuDelete, IdFLMenuCopy, IdFLMenuReLoad, IdFLMenuClear, IdMLLCopy,
        IdMLLReLoad, IdMLMCopy, IdSkinMenuChangeSkin, IdSkinMenuUpdate,
    };
    HWND Child(int id) const { return ::GetDlgItem(Handle(), id); }
    HMENU RootMenu() const { return rootMenu_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    // The menu bar with "メニュー" (the window takes it over when it is made).
    win32::unique_hmenu BuildMenuBar();
    void RebuildFavouritesMenu();
    void OnCommand(int id, int code, HWND control);
    void BuildPopupMenus();
    void PopUp(HMENU menu);
    void PutOnClipboard(const std::wstring& text);
    // Tells the user when the list just chosen cannot be kept for the next start.
    void WarnIfListNotRemembered();
    // A message of one of the hooked children, before the child's own procedure.
    std::optional<LRESULT> Child_Message(int id, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Enter, Shift+F10 and the menu key on one of the two lists.
    std::optional<LRESULT> List_Key(int id, UINT message, WPARAM wParam, LPARAM lParam);
    void ListMenu_FromKeyboard(int id);
    void Form_Activate(bool active);
    void Form_GotFocus();
    // The control that had the focus when the panel was last deactivated.
    HWND focus_ = nullptr;
    // The lists and read-outs whose mouse buttons and drops the panel takes first, and
    // one hook for each.
    static constexpr int kHookedChildren[] = {IdLstM3u, IdLstSkinFile, IdLblScrLstName, IdLblScrMediaName};
    win32::ChildHook childHooks_[std::size(kHookedChildren)];

    PanelHost& host_;
    LLVariable& vars_;
    const TwipsPerPixel& factors_;
    MenuFormControls& c_;
    win32::unique_hfont font_;
    ToolTips tips_;
    HMENU rootMenu_ = nullptr;  // "メニュー" in the menu bar, also the icon's popup
    HMENU favMenu_ = nullptr;   // in the root menu
    int favBatch_ = 0;  // MenuFavList batches open
    UINT_PTR timer_ = 0;
    VideoWindowsWin32 videoWindows_;
    // "右メニュー": holds the four popups below (and frees them with it), never shown.
    win32::unique_hmenu migiMenu_;
    HMENU flMenu_ = nullptr, mllMenu_ = nullptr, mlmMenu_ = nullptr, skinMenu_ = nullptr;
    ScrollBar listSlide_{0, kListSlideMax, 0};
    NameScroller listScroll_;
    NameScroller mediaScroll_;
    UINT taskbarCreated_ = 0;
    // The panel is no skin: its design in twips at the display scale, whatever the
    // skin's whole-number scale.
    TwipsPerPixel panelFactors_;
};

}  // namespace tessel::player
