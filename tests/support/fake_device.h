// A media device that plays nothing, for the native tests of the engine, the transport
// and the timers: Open looks the file up in a table of lengths (missing or 0 =
// unplayable); it records the commands and lets a test set the position and the mode.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "player/playback/mmc/media_device.h"

namespace tessel::test {

class FakeDevice : public MediaDevice {
public:
    std::map<std::wstring, std::int32_t> lengths;  // playable files and their lengths
    std::vector<MediaCommand> commands;
    std::vector<std::wstring> opened;    // files that opened, in order
    std::int32_t length = 0, position = 0;
    int mode = kModeNotOpen;

    void Command(MediaCommand command) override {
        commands.push_back(command);
        switch (command) {
            case MediaCommand::Open: {
                auto it = lengths.find(fileName_);
                if (it != lengths.end() && it->second > 0) {
                    mode = kModeStopped;
                    length = it->second;
                    position = 0;
                    opened.push_back(fileName_);
                }
                break;
            }
            case MediaCommand::Play:
                if (mode == kModeNotOpen) return;
                if (fromSet_) position = from_;
                fromSet_ = false;
                mode = kModePlaying;
                break;
            case MediaCommand::Pause:
                if (mode == kModePlaying) mode = kModePaused;
                else if (mode == kModePaused) mode = kModePlaying;
                break;
            case MediaCommand::Stop:
                if (mode != kModeNotOpen) mode = kModeStopped;
                break;
            case MediaCommand::Close:
                mode = kModeNotOpen;
                length = position = 0;
                break;
        }
    }
    int Mode() const override { return mode; }
    std::int32_t Length() const override { return length; }
    std::int32_t Position() const override { return position; }
    const std::wstring& FileName() const override { return fileName_; }
    std::int32_t From() const override { return from_; }
    std::uint32_t UpdateInterval() const override { return interval_; }
    bool Notify() const override { return notify_; }
    bool Wait() const override { return wait_; }
    void SetFileName(std::wstring path) override { fileName_ = std::move(path); }
    void SetFrom(std::int32_t ms) override {
        from_ = ms;
        fromSet_ = true;
    }
    void SetUpdateInterval(std::uint32_t ms) override { interval_ = ms; }
    void SetNotify(bool v) override { notify_ = v; }
    void SetWait(bool v) override { wait_ = v; }

    std::wstring Playing() const { return mode == kModePlaying ? fileName_ : L""; }
    // One StatusUpdate event, as a real device raises it from its timer.
    void Tick() { RaiseStatusUpdate(); }
    // The start point the next Play will use, if one was set.
    bool FromPending() const { return fromSet_; }

private:
    std::int32_t from_ = 0;
    bool fromSet_ = false;
    std::uint32_t interval_ = 0;
    bool notify_ = false, wait_ = false;
    std::wstring fileName_;
};

}  // namespace tessel::test
