// One player at a time: the first start owns a named mutex and its body window, with
// the caption "PlayerForm", is the mailbox; a later start hands its file to that
// window and ends.
#pragma once

#include <windows.h>

#include <string>

#include "win32/handle.h"

namespace tessel::player {

class SingleInstance {
public:
    explicit SingleInstance(std::wstring name) : name_(std::move(name)) {}

    // Takes the instance's name; false when another instance holds it already.
    bool Claim();
    // Gives `path` to the running instance. Second starts take turns, and each writes
    // only once the running instance has taken the previous file (its caption reads
    // "PlayerForm" again), so no path overwrites another. Every wait is bounded.
    void HandOver(const std::wstring& path) const;

private:
    std::wstring name_;
    win32::unique_kernel_handle mutex_;
};

}  // namespace tessel::player
