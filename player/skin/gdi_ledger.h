// Owners for the GDI objects the skin engine makes while it shapes a window, with a
// ledger of how many were made, freed and handed to the window system.
//
// Shaping runs at every skin change; a region or device context left behind each time
// would exhaust the process's GDI quota after a few hundred changes. The ledger lets a
// test (and a debugger) see that every object made was either freed or given away;
// GetGuiResources would say the same on Windows, but Wine does not implement it.
//
// The owners are the one handle template of both programs (win32/handle.h) with
// traits that also post to the ledger. Create objects through Adopt* so the ledger sees
// the creation; hand an object to the system with GiveAway so it is not counted as live.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "win32/handle.h"

namespace tessel::player {

class GdiLedger {
public:
    struct Counts {
        std::int64_t created = 0;
        std::int64_t freed = 0;
        std::int64_t givenAway = 0;  // to SetWindowRgn, which owns the region from then on
        std::int64_t Live() const { return created - freed - givenAway; }
    };

    static Counts Snapshot();
    static void NoteCreated(HGDIOBJ object);
    static void NoteFreed(HGDIOBJ object);
    static void NoteGivenAway(HGDIOBJ object);
};

inline void DeleteCounted(HGDIOBJ object) {
    ::DeleteObject(object);
    GdiLedger::NoteFreed(object);
}

inline void DeleteCountedDc(HDC dc) {
    ::DeleteDC(dc);
    GdiLedger::NoteFreed(dc);
}

using counted_hrgn = win32::unique_handle<win32::Traits<HRGN, &DeleteCounted>>;
using counted_hbitmap = win32::unique_handle<win32::Traits<HBITMAP, &DeleteCounted>>;
using counted_memory_dc = win32::unique_handle<win32::Traits<HDC, &DeleteCountedDc>>;

// Takes ownership of a freshly created object (null stays empty and is not counted).
template <typename Owner>
Owner Adopt(typename Owner::pointer object) {
    if (object) GdiLedger::NoteCreated(object);
    return Owner(object);
}

// Releases the object to the window system, which frees it from now on.
template <typename Owner>
typename Owner::pointer GiveAway(Owner& owner) {
    auto object = owner.release();
    if (object) GdiLedger::NoteGivenAway(object);
    return object;
}

}  // namespace tessel::player
