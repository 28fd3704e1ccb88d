#include "player/panel/tray_icon.h"

#include <iterator>

#include "player/skin/skin_window_win32.h"

namespace tessel::player {

void TrayIcon::PutTip(const std::wstring& tip) {
    wcsncpy_s(data_.szTip, std::size(data_.szTip), tip.c_str(), _TRUNCATE);
}

std::optional<std::wstring> TrayIcon::Add(HWND owner, UINT id, UINT callbackMessage, const std::wstring& iconPath,
                                          const std::wstring& tip) {
    if (auto failure = LoadSkinIcon(iconPath, 0, icon_)) return failure->Message();
    if (showIcon_) showIcon_(icon_.get());
    data_ = NOTIFYICONDATAW{};
    data_.cbSize = sizeof data_;
    data_.hWnd = owner;
    data_.uID = id;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = icon_.get();
    PutTip(tip);
    added_ = ::Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
    return std::nullopt;
}

bool TrayIcon::Change(const std::wstring& iconPath, const std::wstring& tip) {
    win32::unique_hicon icon;
    if (LoadSkinIcon(iconPath, 0, icon)) return false;
    if (showIcon_) showIcon_(icon.get());
    data_.hIcon = icon.get();
    PutTip(tip);
    const bool modified = added_ && ::Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
    // The old icon goes only now that neither the window nor the shell uses it.
    icon_ = std::move(icon);
    return modified;
}

void TrayIcon::SetTip(const std::wstring& tip) {
    if (!added_) return;
    PutTip(tip);
    ::Shell_NotifyIconW(NIM_MODIFY, &data_);
}

bool TrayIcon::ReAdd() {
    // Without the icon the player could not be reached once its windows are hidden.
    if (!icon_) return false;
    added_ = ::Shell_NotifyIconW(NIM_ADD, &data_) != FALSE;
    return added_;
}

bool TrayIcon::Remove() {
    if (!added_) return false;
    added_ = false;
    return ::Shell_NotifyIconW(NIM_DELETE, &data_) != FALSE;
}

}  // namespace tessel::player
