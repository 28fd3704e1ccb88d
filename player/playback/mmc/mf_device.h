// MfDevice: the player's media device over Media Foundation's media session, the
// platform's current media layer. It plays what a stock Windows 10/11 plays without
// extra codecs (MP3, WAV, WMA/WMV, MP4/M4A/AAC, FLAC, MKV) and draws video into a
// window of its own.
//
// It keeps the promises of MediaDevice (media_device.h):
//   - "open" resolves the file into a media source, connects it to the streaming
//     audio renderer and the enhanced video renderer, and waits until the session has
//     found the decoders between them, so a medium whose decoder is missing is
//     refused there, with Length() 0, and never fails later while "playing";
//   - the session works asynchronously: its events arrive on a platform thread and
//     are handed to this object's thread as window messages, so every state change
//     happens on the owner's thread between its messages;
//   - a run that is started while an earlier one ends must not be ended by the old
//     end: an end counts only after the session has confirmed the latest start;
//   - the position is the presentation clock's, held at the start point until the
//     session has started there, never decreasing within a run, and Length() at the
//     end;
//   - "close" shuts down the session, the source and the renderers and destroys the
//     video window: nothing is left running. A platform that never finishes a
//     shutdown holds "close" for a few seconds at most.
//   - a start point is asked of a stopped session (a running one may ignore it).
//
// A medium with pictures gets a top-level video window of class
// kVideoClassMediaFoundation (media_device.h) titled with FileName(), made at "open"
// at the video's own size and shown at "play"; the player finds and sizes it as it
// did the MCI driver's. It keeps the picture's aspect ratio and repaints the current
// frame when uncovered; closing it hides it, as the driver's window did.
//
// Like Mmc, the object must be made and used on one thread that pumps messages.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "player/playback/mmc/device_window_win32.h"
#include "player/playback/mmc/media_device.h"

namespace tessel {

class MfDevice final : public LayerDevice {
public:
    MfDevice();
    ~MfDevice() override;

    int Mode() const override;
    std::int32_t Length() const override;
    std::int32_t Position() const override;

    // The video window of the open medium, null for audio or while nothing is open.
    HWND VideoWindow() const;
    // Whether the open medium has pictures.
    bool HasVideo() const;

private:
    void Open() override;
    void Play() override;
    void Pause() override;
    void Stop() override;
    void Close() override;
    // Waits for the session's answer to the topology of "open": true when it can play.
    bool WaitForTopology();
    // Runs this session's events as they arrive, and only those, until `done` says so
    // for one of them (true) or the time is up (false).
    bool WaitForSessionEvent(const std::function<bool(unsigned type, HRESULT status)>& done, DWORD timeout_ms);
    // Asks the session to play from `start` ms. False when it refused.
    bool StartAt(std::int32_t start);
    // Asks a paused session to play on. False when it refused.
    bool Resume();
    // The presentation clock in ms, clamped to the medium; -1 when unreadable.
    std::int32_t ClockMs() const;
    void MarkEnded();

    // One session event, handed over from the platform's thread.
    void OnSessionEvent(unsigned type, HRESULT status);
    void OnMessage(UINT msg, WPARAM wp, LPARAM lp);

public:
    // Made and used only by this file's implementation.
    struct Session;  // the Media Foundation objects of one open medium
    class VideoWindowImpl;

private:
    // The session's events, handed over as messages, and the status timer.
    DeviceWindow notify_window_;
    std::unique_ptr<Session> session_;
    bool platform_started_ = false;

    std::int32_t length_ = 0;
    State state_ = State::NotOpen;
    // Not Playing: the position. Playing: the lowest position the next read may give.
    mutable std::int32_t position_ = 0;
    // Starts asked of the session that it has not yet confirmed.
    int pending_starts_ = 0;
    // When the status timer first found the clock at the end of a playing medium
    // whose end the session has not reported; 0 while it is not there.
    DWORD at_end_since_ = 0;
    // Numbers the sessions, so events of a closed one are told apart.
    unsigned generation_ = 0;
};

}  // namespace tessel
