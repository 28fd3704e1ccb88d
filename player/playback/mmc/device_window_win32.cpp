#include "player/playback/mmc/device_window_win32.h"

#include <exception>
#include <utility>

namespace tessel {

DeviceWindow::DeviceWindow(const wchar_t* className, UINT notification, Handler handler)
    : notification_(notification), handler_(std::move(handler)) {
    try {
        RegisterWindowClass(className, 0, nullptr);
        CreateWindowOf(className, L"", 0, 0, 0, 0, 0, 0, HWND_MESSAGE);
    } catch (const std::exception&) {
    }
}

DeviceWindow::~DeviceWindow() { StopTimer(); }

void DeviceWindow::StartTimer(std::uint32_t period_ms) {
    StopTimer();
    if (Handle() != nullptr && period_ms > 0) {
        timer_running_ = ::SetTimer(Handle(), kStatusTimer, period_ms, nullptr) != 0;
    }
}

void DeviceWindow::StopTimer() {
    if (timer_running_) {
        ::KillTimer(Handle(), kStatusTimer);
        timer_running_ = false;
    }
}

LRESULT DeviceWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == notification_ || (msg == WM_TIMER && wp == kStatusTimer)) {
        handler_(msg, wp, lp);
        return 0;
    }
    return Window::HandleMessage(msg, wp, lp);
}

}  // namespace tessel
