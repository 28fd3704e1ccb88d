#include "player/skin/gdi_ledger.h"

#include <atomic>
#include <utility>

namespace tessel::player {

namespace {

std::atomic<std::int64_t> g_created{0}, g_freed{0}, g_givenAway{0};
}  // namespace

GdiLedger::Counts GdiLedger::Snapshot() {
    return {g_created.load(), g_freed.load(), g_givenAway.load()};
}

void GdiLedger::NoteCreated(HGDIOBJ) { ++g_created; }

void GdiLedger::NoteFreed(HGDIOBJ) { ++g_freed; }

void GdiLedger::NoteGivenAway(HGDIOBJ) { ++g_givenAway; }

}  // namespace tessel::player
