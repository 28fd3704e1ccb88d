#include "player/playback/mmc/mmc.h"

#include <mmsystem.h>

#include <algorithm>
#include <atomic>
#include <cwchar>
#include <exception>

namespace tessel {
namespace {

constexpr wchar_t kWindowClass[] = L"TesselMmcWindow";
// Right after "play" the driver may still read "stopped" for a moment; its mode is
// only believed as the end of a run after this many milliseconds.
constexpr DWORD kStartGraceMs = 400;
// A position this far below the last one read means the driver has set it back to
// the start point, which it does at the end of a run (small jitter is not an end).
constexpr std::int32_t kFallBackMs = 100;

std::atomic<unsigned> g_next_alias{1};

}  // namespace

// Without the window the device still plays; the end is then found by polling in
// Mode and Position.
Mmc::Mmc(DWORD open_limit_ms)
    : notify_window_(kWindowClass, MM_MCINOTIFY, [this](UINT msg, WPARAM wp, LPARAM lp) { OnMessage(msg, wp, lp); }),
      alias_base_(L"tessel_mmc_" + std::to_wstring(g_next_alias.fetch_add(1))),
      alias_(alias_base_),
      open_limit_ms_(open_limit_ms) {}

// The window goes with notify_window_, after the device is closed and its thread ended.
Mmc::~Mmc() {
    Close();
    thread_.reset();
}

UINT Mmc::DeviceId() const {
    if (state_ == State::NotOpen) {
        return 0;
    }
    return mciGetDeviceIDW(alias_.c_str());
}

// A command that hung gave the device up, whatever the command then made of it (the
// status timer stops itself on a closed device, and Open sets the rest anew).
void Mmc::AfterCommand() {
    if (given_up_) state_ = State::NotOpen;
}

int Mmc::Mode() const {
    Refresh();
    switch (state_) {
    case State::NotOpen:
        return kModeNotOpen;
    case State::Playing:
        return kModePlaying;
    case State::Paused:
        return kModePaused;
    case State::Stopped:
    case State::Ended:
        break;
    }
    return kModeStopped;
}

std::int32_t Mmc::Length() const {
    return state_ == State::NotOpen ? 0 : length_;
}

std::int32_t Mmc::Position() const {
    Refresh();
    return state_ == State::NotOpen ? 0 : position_;
}

void Mmc::Open() {
    Close();
    const std::wstring& path = FileName();
    if (path.empty()) {
        return;
    }
    // The path goes in double quotes (it may hold spaces); a path holding a double
    // quote cannot name a Windows file, so such a name is simply not openable.
    if (path.find(L'"') != std::wstring::npos) {
        return;
    }
    alias_ = alias_base_ + L"_" + std::to_wstring(++opens_);
    given_up_ = false;
    if (Send(L"open \"" + path + L"\" type mpegvideo alias " + alias_, nullptr, open_limit_ms_) != 0) {
        return;
    }
    state_ = State::Stopped;
    std::int32_t length = 0;
    if (Send(L"set " + alias_ + L" time format milliseconds") != 0 ||
        !QueryNumber(L"length", &length) || length <= 0) {
        // Opened but nothing to play: the caller sees Length() == 0 and a closed
        // device, so a skipped medium never holds a driver open.
        Close();
        return;
    }
    length_ = length;
    position_ = 0;
    notify_window_.StartTimer(UpdateInterval());
}

void Mmc::Play() {
    Refresh();
    if (state_ == State::NotOpen) {
        std::int32_t unused = 0;
        TakeFrom(unused);
        return;
    }
    std::int32_t start = position_;
    TakeFrom(start);
    start = std::clamp<std::int32_t>(start, 0, length_);
    if (start >= length_) {
        // Nothing left to play from there: the run is over at once, as the driver
        // would report it, without asking the driver to play an empty stretch.
        Send(L"stop " + alias_);
        DropQueuedNotifications();
        MarkEnded();
        return;
    }
    if (!StartAt(start)) {
        // The driver refused: stay where we were, but never report "playing".
        if (state_ == State::Playing || state_ == State::Paused) {
            state_ = State::Stopped;
        }
    }
}

void Mmc::Pause() {
    Refresh();
    if (state_ == State::Playing) {
        std::int32_t at = position_;
        Send(L"pause " + alias_);
        std::int32_t reported = 0;
        if (QueryNumber(L"position", &reported)) {
            at = std::max(at, std::min(reported, length_));
        }
        position_ = at;
        state_ = State::Paused;
    } else if (state_ == State::Paused) {
        // The driver's own resume restarts its position count, so resume means
        // playing on from the position recorded at the pause.
        if (!StartAt(position_)) {
            state_ = State::Stopped;
        }
    }
}

void Mmc::Stop() {
    Refresh();
    if (state_ == State::Playing || state_ == State::Paused) {
        std::int32_t at = position_;
        std::int32_t reported = 0;
        if (state_ == State::Playing && QueryNumber(L"position", &reported) && reported >= at) {
            at = std::min(reported, length_);
        }
        Send(L"stop " + alias_);
        DropQueuedNotifications();
        position_ = at;
        state_ = State::Stopped;
    }
}

void Mmc::Close() {
    notify_window_.StopTimer();
    if (state_ != State::NotOpen) {
        Send(L"close " + alias_);
        DropQueuedNotifications();
    }
    state_ = State::NotOpen;
    length_ = 0;
    position_ = 0;
}

bool Mmc::StartAt(std::int32_t start) {
    // "stop" first: after a run that reached the end, the driver otherwise keeps a
    // stale "stopped" mode and never notifies the end of the next run.
    Send(L"stop " + alias_);
    DropQueuedNotifications();
    const std::wstring command = L"play " + alias_ + L" from " + std::to_wstring(start) + L" notify";
    if (Send(command) != 0) {
        return false;
    }
    state_ = State::Playing;
    position_ = start;
    run_started_at_ = GetTickCount();
    return true;
}

void Mmc::Refresh() const {
    if (state_ != State::Playing) {
        return;
    }
    std::int32_t reported = 0;
    if (QueryNumber(L"position", &reported)) {
        if (reported >= length_) {
            MarkEnded();
            return;
        }
        if (reported + kFallBackMs < position_) {
            // Within one run the position only grows; the driver sets it back to
            // the start point when the run has ended.
            MarkEnded();
            return;
        }
        position_ = std::max(position_, reported);
    }
    std::wstring mode;
    if (Send(L"status " + alias_ + L" mode", &mode) == 0 && mode == L"stopped" &&
        GetTickCount() - run_started_at_ >= kStartGraceMs) {
        MarkEnded();
    }
}

void Mmc::MarkEnded() const {
    state_ = State::Ended;
    position_ = length_;
}

void Mmc::DropQueuedNotifications() const {
    if (notify_window_.Handle() == nullptr) {
        return;
    }
    // Posted messages only: dispatching messages sent by other threads from inside
    // a command would run the owner's handlers at a moment it does not expect.
    MSG msg;
    while (PeekMessageW(&msg, notify_window_.Handle(), MM_MCINOTIFY, MM_MCINOTIFY,
                        PM_REMOVE | PM_NOYIELD | PM_QS_POSTMESSAGE)) {
    }
}

DWORD Mmc::Send(const std::wstring& command, std::wstring* result, DWORD limit_ms) const {
    if (result != nullptr) result->clear();
    // The device given up on belongs to its old thread now; nothing reaches it from here.
    if (given_up_) return MCIERR_INTERNAL;
    if (!thread_) thread_ = std::make_unique<MciThread>();
    MciThread::Answer answer = thread_->Send(command, notify_window_.Handle(), limit_ms);
    if (!answer.in_time) {
        // Whatever the driver holds is closed on its thread once it returns; here the
        // medium is gone, and the next "open" gets a thread of its own.
        MciThread::Abandon(std::move(thread_), L"close " + alias_);
        given_up_ = true;
        state_ = State::NotOpen;
    }
    if (result != nullptr) *result = std::move(answer.text);
    return answer.error;
}

bool Mmc::QueryNumber(const wchar_t* item, std::int32_t* value) const {
    std::wstring text;
    if (Send(L"status " + alias_ + L" " + item, &text) != 0 || text.empty()) {
        return false;
    }
    wchar_t* end = nullptr;
    const long long number = std::wcstoll(text.c_str(), &end, 10);
    if (end == text.c_str() || number < 0 || number > INT32_MAX) {
        return false;
    }
    *value = static_cast<std::int32_t>(number);
    return true;
}

void Mmc::OnMessage(UINT msg, WPARAM wp, LPARAM /*lp*/) {
    if (msg == MM_MCINOTIFY) {
        // Aborted and superseded runs notify too; only a successful end counts.
        if (wp == MCI_NOTIFY_SUCCESSFUL && state_ == State::Playing) {
            MarkEnded();
        }
        return;
    }
    // The status timer.
    if (state_ == State::NotOpen) {
        notify_window_.StopTimer();
        return;
    }
    Refresh();
    RaiseStatusUpdate();
}

}  // namespace tessel
