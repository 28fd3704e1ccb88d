// The hidden message-only window of a media device: the layer's own notification and
// the StatusUpdate timer reach the device on its thread through it. Without the window
// a device still plays; only its notifications and the status event are lost.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "win32/window.h"

namespace tessel {

class DeviceWindow final : public win32::Window {
public:
    // Runs for `notification` (the layer's own message) and for the status timer's
    // WM_TIMER; every other message is the system's.
    using Handler = std::function<void(UINT msg, WPARAM wp, LPARAM lp)>;

    DeviceWindow(const wchar_t* className, UINT notification, Handler handler);
    ~DeviceWindow() override;

    // Starts the status timer anew with this period (0: none); StopTimer ends it.
    void StartTimer(std::uint32_t period_ms);
    void StopTimer();
    static constexpr UINT_PTR kStatusTimer = 1;

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

private:
    UINT notification_;
    Handler handler_;
    bool timer_running_ = false;
};

// Waits up to `limit_ms` (INFINITE: no limit) for `object` while the calling thread's
// windows keep answering: messages other threads send to them are handled and they
// repaint, so the system never takes them for hung. Nothing posted to them runs in
// between (no input, no timer), so none of the owner's own handlers run while it waits.
// True when the object was signalled in time.
bool WaitAnswering(HANDLE object, DWORD limit_ms);

}  // namespace tessel
