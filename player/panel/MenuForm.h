// MenuForm, the control panel: hidden at start-up, it holds the play queue, the
// options and the invisible media device and timers, and receives the
// notification-area icon's messages.
#pragma once

#include <windows.h>

#include "player/shared/control_views.h"
#include "player/shared/llvariable.h"
#include "player/shared/unique_handle.h"
#include "player/shared/window_base.h"

namespace tessel::player {

class PlayerApp;

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
    void SetChildToolTip(int id, const std::wstring& text) { tips_.SetForWindow(Child(id), text); }

    // Handlers.
    void ChkHide_Click();
    void Timer_Timer();
    void MMC_StatusUpdate();
    void TrayIcon_Mouse(UINT mouseMessage);
    void CmdHide_Click();
    void MenuPlay_Click();
    void MenuShowSetting_Click();
    void MenuShowMain_Click();
    void MenuTheEnd_Click();

    enum ControlId : int {
        IdChkRandom = 101, IdChkEndless, IdChkHide, IdChkBreak, IdChkStartPlay, IdLstSkinFile,
        IdCmbDispSize, IdScrSkinTrans, IdScrPlayerTrans, IdLstM3u, IdCmdHide, IdLblListCount,
        IdLblScrLstName, IdLblScrMediaName,
        IdMenuPlay = 201, IdMenuStop, IdMenuPrev, IdMenuReLoadList, IdMenuChoiceList,
        IdMenuShowSetting, IdMenuShowMain, IdMenuTheEnd, IdMenuFavListFirst = 300,
    };
    HWND Child(int id) const { return ::GetDlgItem(Handle(), id); }
    HMENU RootMenu() const { return rootMenu_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void CreateControls();
    void BuildMenuBar();
    void RebuildFavouritesMenu();
    void OnCommand(int id, int code, HWND control);

    PlayerApp& app_;
    MenuFormControls& c_;
    unique_hfont font_;
    ToolTips tips_;
    HMENU menuBar_ = nullptr;   // owned by the window
    HMENU rootMenu_ = nullptr;  // "メニュー", also the icon's popup
    HMENU favMenu_ = nullptr;
    UINT_PTR timer_ = 0;
};

}  // namespace tessel::player
