// MenuForm, the control panel: hidden at start-up, it holds the play queue, the
// options and the invisible media device and timers, and receives the
// notification-area icon's messages.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>
#include <string>

#include "player/panel/panel_logic.h"
#include "player/playback/video_window_win32.h"
#include "player/shared/control_views.h"
#include "player/shared/llvariable.h"
#include "player/shared/unique_handle.h"
#include "player/shared/window_base.h"

namespace tessel::player {

class PlayerApp;
class VolumeDevice;

// CDlg: the common dialog control, its open dialog over GetOpenFileNameW.
class CommonDialog {
public:
    static constexpr DWORD kHideReadOnly = OFN_HIDEREADONLY;  // Flags = 4
    DWORD Flags = 0;
    // "name|pattern|name|pattern|", as the control takes it.
    std::wstring Filter;
    std::wstring DialogTitle;
    // With CancelError a cancelled dialog reports failure; so does any error.
    bool CancelError = false;
    std::wstring FileName;
    // The open dialog, owned by `owner`; false when cancelled or failed.
    bool ShowOpen(HWND owner);
};

inline constexpr const wchar_t* kMenuFormClass = L"TesselMenuForm";
// The icon's private callback message: a real mouse move can never be taken for it.
inline constexpr UINT kTrayCallbackMessage = WM_APP + 1;
inline constexpr UINT kTrayIconId = 1;

class MenuForm : public WindowBase {
public:
    MenuForm(PlayerApp& app, MenuFormControls& controls);

    void Load();
    void SetIcon(HICON icon);
    bool PanelVisible() const;
    void SetPanelVisible(bool visible);
    void StartMainTimer();
    void StopMainTimer();
    void SetChildToolTip(int id, const std::wstring& text) { tips_.SetForWindow(Child(id), text); }

    // The list file choice (transport.h): the open dialog, the size question, then
    // the new queue. Silent on cancel and on every failure.
    void ChooseListFile();
    // Sizes or shows the video window after CmbDispSize (transport.h).
    void ApplyDisplaySize();
    VideoWindows& Video() { return videoWindows_; }
    // The device volume the main timer reads back; without one, the program's.
    void SetVolumeDevice(VolumeDevice* device) { volume_ = device; }
    // Test hooks: the dialog and the size question in place of the real ones.
    std::function<std::optional<std::wstring>()> showOpenForTest;
    std::function<bool()> confirmLargeFileForTest;

    CommonDialog CDlg;

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
    int ListScrollInterval() const { return listScroll_.Interval(); }
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
    // The list menu, the read-outs' menus and the skin menu (never in the menu bar).
    HMENU ListMenu() const { return flMenu_; }
    HMENU SkinMenu() const { return skinMenu_; }
    HMENU FavouritesMenu() const { return favMenu_; }
    HWND Child(int id) const { return ::GetDlgItem(Handle(), id); }
    HMENU RootMenu() const { return rootMenu_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void BuildMenuBar();
    void RebuildFavouritesMenu();
    void OnCommand(int id, int code, HWND control);
    void BuildPopupMenus();
    void PopUp(HMENU menu);
    void PutOnClipboard(const std::wstring& text);
    // Tells the user when the list just chosen cannot be kept for the next start.
    void WarnIfListNotRemembered();
    static LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The lists and read-outs whose mouse buttons and drops the panel takes first.
    struct ChildHook {
        MenuForm* form;
        int id;
        WNDPROC original;
    };
    ChildHook childHooks_[4]{};

    PlayerApp& app_;
    MenuFormControls& c_;
    unique_hfont font_;
    ToolTips tips_;
    HMENU menuBar_ = nullptr;   // owned by the window
    HMENU rootMenu_ = nullptr;  // "メニュー", also the icon's popup
    HMENU favMenu_ = nullptr;
    int favBatch_ = 0;  // MenuFavList batches open
    UINT_PTR timer_ = 0;
    VideoWindowsWin32 videoWindows_;
    VolumeDevice* volume_ = nullptr;
    HMENU migiMenu_ = nullptr;  // "右メニュー": holds the four popups, never shown
    HMENU flMenu_ = nullptr, mllMenu_ = nullptr, mlmMenu_ = nullptr, skinMenu_ = nullptr;
    ScrollBar listSlide_{0, kListSlideMax, 0};
    NameScroller listScroll_;
    NameScroller mediaScroll_;
    UINT taskbarCreated_ = 0;
};

}  // namespace tessel::player
