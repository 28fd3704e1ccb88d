// The media device the player drives: the commands, properties and status event of the
// Multimedia MCI control the player was designed around, as a small interface with no
// platform headers. The real device is Mmc (mmc.h, Windows only, over MCI);
// portable code such as the play queue engine takes a MediaDevice& so that native
// tests can hand it a fake.
//
// What every implementation promises its callers:
//   - No command ever throws or reports an error: a missing or unplayable medium
//     only shows in Length() == 0 and Mode() == kModeNotOpen.
//   - Open opens FileName(); afterwards Length() is the medium's length in ms,
//     or 0 when it cannot be played (then the device stays not open).
//   - Play starts playback from From() when From was set since the last play,
//     else from the current position, and returns at once. From is used once.
//   - Pause pauses a playing medium and resumes a paused one (a toggle).
//   - Stop: Mode() becomes kModeStopped, the position stays where it was.
//     Close: Mode() becomes kModeNotOpen, Length() and Position() read 0.
//   - End of a medium: once it has played to its end, Mode() reads kModeStopped and
//     Position() equals Length(). This holds after every play, also a second play
//     of the same open medium. A paused medium reads kModePaused and is not ended.
//   - While a medium is open the StatusUpdate handler runs every UpdateInterval()
//     ms (on the thread that owns the device, between its window messages); while
//     nothing is open it does not run.
//   - Times are milliseconds, 32-bit signed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace tessel {

// The class of the video windows of the Media Foundation layer (mf_device.h); the
// player finds them by class and title as it finds the MCI drivers' windows.
inline constexpr wchar_t kVideoClassMediaFoundation[] = L"TesselVideoWindow";

// The commands of the device (the control's command words).
enum class MediaCommand { Open, Play, Pause, Stop, Close };

class MediaDevice {
public:
    // Values of Mode(): the MCI mode numbers.
    static constexpr int kModeNotOpen = 524;
    static constexpr int kModeStopped = 525;
    static constexpr int kModePlaying = 526;
    static constexpr int kModeRecording = 527;
    static constexpr int kModeSeeking = 528;
    static constexpr int kModePaused = 529;
    static constexpr int kModeReady = 530;

    MediaDevice() = default;
    MediaDevice(const MediaDevice&) = delete;
    MediaDevice& operator=(const MediaDevice&) = delete;
    virtual ~MediaDevice() = default;

    // Sends one command (see above). Never fails visibly.
    virtual void Command(MediaCommand command) = 0;

    // Current mode, one of the kMode* values.
    virtual int Mode() const = 0;

    // Length and position of the open medium in milliseconds; 0 when nothing is open.
    virtual std::int32_t Length() const = 0;
    virtual std::int32_t Position() const = 0;

    // The medium to open, exactly as given (also used as the video window's title).
    virtual void SetFileName(std::wstring path) = 0;
    virtual const std::wstring& FileName() const = 0;

    // Start point for the next Play, in milliseconds.
    virtual void SetFrom(std::int32_t ms) = 0;
    virtual std::int32_t From() const = 0;

    // Period of the StatusUpdate event in milliseconds (taken at the next "open";
    // 0 turns the event off).
    virtual void SetUpdateInterval(std::uint32_t ms) = 0;
    virtual std::uint32_t UpdateInterval() const = 0;

    // Kept for the callers that set them before Open. Both apply to the next
    // command only; Play returns at once whatever Wait says.
    virtual void SetNotify(bool notify) = 0;
    virtual bool Notify() const = 0;
    virtual void SetWait(bool wait) = 0;
    virtual bool Wait() const = 0;

    // The StatusUpdate event: no arguments. An empty handler removes it. The handler
    // may send commands to the device (even Close and Open).
    void SetStatusUpdate(std::function<void()> handler) { status_update_ = std::move(handler); }

protected:
    // Runs the handler on a copy, so a handler that replaces itself stays alive.
    void RaiseStatusUpdate() {
        if (status_update_) {
            auto handler = status_update_;
            handler();
        }
    }

private:
    std::function<void()> status_update_;
};

// The properties every real device keeps as they are written: the file name, the
// start point (used once), the status period, and Notify and Wait (one command each).
class MediaDeviceProperties : public MediaDevice {
public:
    void SetFileName(std::wstring path) override { file_name_ = std::move(path); }
    const std::wstring& FileName() const override { return file_name_; }
    void SetFrom(std::int32_t ms) override {
        from_ = ms;
        from_set_ = true;
    }
    std::int32_t From() const override { return from_; }
    void SetUpdateInterval(std::uint32_t ms) override { update_interval_ = ms; }
    std::uint32_t UpdateInterval() const override { return update_interval_; }
    void SetNotify(bool notify) override { notify_ = notify; }
    bool Notify() const override { return notify_; }
    void SetWait(bool wait) override { wait_ = wait; }
    bool Wait() const override { return wait_; }

protected:
    // The start point set since the last play, taken (it serves one play); nothing
    // when none was set.
    bool TakeFrom(std::int32_t& ms) {
        if (!from_set_) return false;
        from_set_ = false;
        ms = from_;
        return true;
    }
    // Notify and Wait apply to one command, as with the platform's control.
    void EndCommand() {
        notify_ = false;
        wait_ = false;
    }

private:
    std::wstring file_name_;
    std::int32_t from_ = 0;
    bool from_set_ = false;
    std::uint32_t update_interval_ = 1000;
    bool notify_ = false;
    bool wait_ = false;
};

// A device over one media layer: each command is a method of its own, and the device
// keeps what it knows of the medium in one of the states below.
class LayerDevice : public MediaDeviceProperties {
public:
    void Command(MediaCommand command) final {
        switch (command) {
        case MediaCommand::Open: Open(); break;
        case MediaCommand::Play: Play(); break;
        case MediaCommand::Pause: Pause(); break;
        case MediaCommand::Stop: Stop(); break;
        case MediaCommand::Close: Close(); break;
        }
        AfterCommand();
        EndCommand();
    }

protected:
    enum class State { NotOpen, Stopped, Playing, Paused, Ended };

    virtual void Open() = 0;
    virtual void Play() = 0;
    virtual void Pause() = 0;
    virtual void Stop() = 0;
    virtual void Close() = 0;
    // Runs after every command, before Notify and Wait are reset.
    virtual void AfterCommand() {}
};

}  // namespace tessel
