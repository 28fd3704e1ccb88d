// Mmc: the player's media device over MCI, with the DirectShow device (type
// mpegvideo) for every medium, so audio and video files behave the same.
//
// It keeps the promises of MediaDevice (media_device.h) on top of the driver's own
// behaviour, which differs in places (Wine's driver in particular):
//   - the driver jumps the position back to the start point when a medium ends, and
//     after a second play on the same device it keeps reading "stopped" and sends no
//     end notification; so every play is sent as "stop" then "play from N notify",
//     which clears the driver's stale end state, and the end is taken from the end
//     notification, from the driver turning "stopped" or the position falling back,
//     or from the position reaching the length; after the end Mode() reads stopped
//     and Position() reads Length(), however the driver reports it;
//   - "pause" on a paused medium does not resume in the driver, and a plain "play"
//     after "pause" restarts the driver's count; so resuming is "play from" the
//     position recorded at the pause;
//   - "seek to N" fails in the driver, so a start point is always "play from N".
// MCI errors never reach the caller: a failed open leaves Mode() at kModeNotOpen
// and Length() at 0.
//
// The driver itself runs on a thread of the object's own (MciThread), and the owner's
// windows keep answering while it works. An "open" that has not answered within the
// object's limit counts as unplayable, and any other command that hangs closes the
// medium; the thread is then let go and closes what it opened once the driver returns.
//
// The object owns a hidden message-only window that receives the driver's end
// notifications (MM_MCINOTIFY) and carries the StatusUpdate timer, so it must be
// created and used on one thread that pumps messages. The destructor closes the
// device; owners must still close (or destroy) every Mmc before the process ends,
// since a process that exits with an MCI device open crashes under Wine: do not
// leave one in an object that outlives main().
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "player/playback/mmc/media_device.h"
#include "player/playback/mmc/device_window_win32.h"
#include "player/playback/mmc/mci_thread_win32.h"

namespace tessel {

class Mmc final : public LayerDevice {
public:
    // How long an "open" may take before the medium counts as unplayable: the driver
    // reads a playable file's header in well under a second, also a large one.
    static constexpr DWORD kOpenLimitMs = 10000;

    explicit Mmc(DWORD open_limit_ms = kOpenLimitMs);
    ~Mmc() override;

    int Mode() const override;
    std::int32_t Length() const override;
    std::int32_t Position() const override;

    // The MCI alias of this object's device (unique per object and "open", since a
    // device given up on may still be opening under the old one) and its device ID, 0
    // while nothing is open.
    const std::wstring& Alias() const { return alias_; }
    UINT DeviceId() const;

private:
    void Open() override;
    void Close() override;
    void AfterCommand() override;
    // Every run starts with StartAt, from the start point or the position.
    void Play() override;
    // Sends "stop" then "play from start notify". False when the driver refused.
    bool StartAt(std::int32_t start);
    // Pausing records the position; resuming plays on from it.
    void Pause() override;
    void Stop() override;
    // While playing, reads the driver and turns the state to Ended when the medium
    // has finished. Safe to call any time.
    void Refresh() const;
    void MarkEnded() const;
    // Removes end notifications still queued for this window, so that a stale one
    // from an earlier run cannot end the next.
    void DropQueuedNotifications() const;
    // One MCI command string on the device's thread; returns the driver's error code
    // (0 on success). A command that does not answer within `limit_ms` gives the
    // device up: the medium reads as closed and the thread goes (MciThread::Abandon).
    DWORD Send(const std::wstring& command, std::wstring* result = nullptr, DWORD limit_ms = kCommandLimitMs) const;
    static constexpr DWORD kCommandLimitMs = 5000;
    bool QueryNumber(const wchar_t* item, std::int32_t* value) const;

    void OnMessage(UINT msg, WPARAM wp, LPARAM lp);

    // The driver's end notifications (MM_MCINOTIFY) and the status timer.
    DeviceWindow notify_window_;
    const std::wstring alias_base_;
    std::wstring alias_;
    unsigned opens_ = 0;
    const DWORD open_limit_ms_;
    // Made at the first command and again after a thread was given up.
    mutable std::unique_ptr<MciThread> thread_;
    // Set when a command of the open medium did not answer in time; cleared at "open".
    mutable bool given_up_ = false;

    std::int32_t length_ = 0;
    // Mutable: reading Mode() or Position() may discover that the medium ended.
    mutable State state_ = State::NotOpen;
    mutable std::int32_t position_ = 0;  // last position known (not Playing: the position)
    DWORD run_started_at_ = 0;            // GetTickCount() when the run started
};

}  // namespace tessel
