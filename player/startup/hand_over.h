// One player at a time: the first start owns a named mutex and its body window, with
// the caption "PlayerForm", is the mailbox; a later start hands its file to that
// window and ends.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "win32/handle.h"

namespace tessel::player {

// The queue of second starts, a shared page named after the instance (zeroed when the
// system creates it): the next ticket to draw, the ticket being served, and the
// process of each ticket in a ring (0: not written yet, or served; kWithdrawn: gave up).
inline constexpr LONG kQueueSlots = 1024;
inline constexpr LONG kWithdrawn = -1;
struct HandOverQueue {
    volatile LONG next;
    volatile LONG serving;
    volatile LONG holder[kQueueSlots];
};
inline std::wstring HandOverQueueName(const std::wstring& instance) { return instance + L".HandOver"; }

class SingleInstance {
public:
    explicit SingleInstance(std::wstring name) : name_(std::move(name)) {}

    // Takes the instance's name; false when another instance holds it already (then
    // this process keeps no hold on the name, so the name goes when that instance ends).
    bool Claim();
    // Gives `path` to the running instance and returns once it has taken it. Second
    // starts queue for one turn at a time (tickets, served in the order drawn), and
    // each writes only once the mailbox is empty and keeps its
    // turn until the running instance has taken the file, so no path overwrites
    // another and the files are taken in the order of the starts. There is no time
    // limit while the running instance lives and answers: a burst of starts takes as
    // long as the player needs. Nothing on success; else why the file could not be
    // handed over (the running instance ended, or stopped answering).
    std::optional<std::wstring> HandOver(const std::wstring& path) const;

private:
    bool InstanceRunning() const;

    std::wstring name_;
    win32::unique_kernel_handle mutex_;
};

}  // namespace tessel::player
