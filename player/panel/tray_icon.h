// The player's icon in the notification area: its picture (the skin's task.ico), its
// tip, and its life across skin changes and shell restarts.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <optional>
#include <string>

#include "win32/handle.h"

namespace tessel::player {

class TrayIcon {
public:
    // `showIcon` gets every new picture before the old one goes (the panel shows it in
    // its title bar too).
    explicit TrayIcon(std::function<void(HICON)> showIcon) : showIcon_(std::move(showIcon)) {}
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // The icon from `iconPath`, owned by `owner` (which gets `callbackMessage`), with
    // `tip`. The report when the file cannot be used; a shell that refuses the icon is
    // no failure (Added() says so).
    std::optional<std::wstring> Add(HWND owner, UINT id, UINT callbackMessage, const std::wstring& iconPath,
                                    const std::wstring& tip);
    // A new picture and tip. False when the file cannot be used (nothing changed) or
    // the shell did not take the change.
    bool Change(const std::wstring& iconPath, const std::wstring& tip);
    // A new tip, when the icon is there.
    void SetTip(const std::wstring& tip);
    // The shell restarted and forgot every icon: ours again.
    bool ReAdd();
    bool Remove();
    bool Added() const { return added_; }

private:
    void PutTip(const std::wstring& tip);

    std::function<void(HICON)> showIcon_;
    win32::unique_hicon icon_;
    NOTIFYICONDATAW data_{};
    bool added_ = false;
};

}  // namespace tessel::player
