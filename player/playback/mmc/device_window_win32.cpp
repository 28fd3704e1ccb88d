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

bool WaitAnswering(HANDLE object, DWORD limit_ms) {
    // A window that never validates itself would keep posting WM_PAINT; so many per
    // wake at most, and then the wait goes on.
    constexpr int kPaintsPerWake = 64;
    const DWORD start = ::GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (limit_ms != INFINITE) {
            const DWORD elapsed = ::GetTickCount() - start;
            left = elapsed >= limit_ms ? 0 : limit_ms - elapsed;
        }
        const DWORD result =
            ::MsgWaitForMultipleObjectsEx(1, &object, left, QS_SENDMESSAGE | QS_PAINT, MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0) return true;
        if (result != WAIT_OBJECT_0 + 1) return ::WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
        // Peeking handles the sent messages; the paint messages are taken and dispatched.
        MSG msg;
        for (int i = 0; i < kPaintsPerWake; ++i) {
            if (!::PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE | PM_QS_PAINT)) break;
            ::DispatchMessageW(&msg);
        }
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace tessel
