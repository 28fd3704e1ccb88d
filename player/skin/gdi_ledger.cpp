#include "player/skin/gdi_ledger.h"

#include <atomic>
#include <utility>

namespace tessel::player {

namespace {

std::atomic<std::int64_t> g_created{0}, g_freed{0}, g_givenAway{0};
// Recording is for tests on the user-interface thread only.
bool g_recording = false;
std::vector<HGDIOBJ> g_gone;

void Remember(HGDIOBJ object) {
    if (g_recording) g_gone.push_back(object);
}

}  // namespace

GdiLedger::Counts GdiLedger::Snapshot() {
    return {g_created.load(), g_freed.load(), g_givenAway.load()};
}

void GdiLedger::NoteCreated(HGDIOBJ) { ++g_created; }

void GdiLedger::NoteFreed(HGDIOBJ object) {
    ++g_freed;
    Remember(object);
}

void GdiLedger::NoteGivenAway(HGDIOBJ object) {
    ++g_givenAway;
    Remember(object);
}

void GdiLedger::StartRecording() {
    g_gone.clear();
    g_recording = true;
}

std::vector<HGDIOBJ> GdiLedger::StopRecording() {
    g_recording = false;
    return std::exchange(g_gone, {});
}

}  // namespace tessel::player
