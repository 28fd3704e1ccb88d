#include "player/startup/hand_over.h"

#include <iterator>

#include "player/shared/texts.h"
#include "player/windows/PlayerForm.h"

namespace tessel::player {
namespace {

// The running instance's body window: our own class and the caption "PlayerForm" (a
// second start has renamed its own body window already).
HWND FindRunningPlayerWindow() { return ::FindWindowW(kPlayerFormClass, texts::kPlayerFormCaption); }

}  // namespace

bool SingleInstance::Claim() {
    mutex_.reset(::CreateMutexW(nullptr, FALSE, name_.c_str()));
    return !mutex_ || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

void SingleInstance::HandOver(const std::wstring& path) const {
    win32::unique_kernel_handle turn(::CreateMutexW(nullptr, FALSE, (name_ + L".HandOver").c_str()));
    const DWORD waited = turn ? ::WaitForSingleObject(turn.get(), 10000) : WAIT_FAILED;
    const bool haveTurn = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    const ULONGLONG deadline = ::GetTickCount64() + 5000;
    for (;;) {
        if (HWND running = FindRunningPlayerWindow()) {
            wchar_t caption[64] = {};
            DWORD_PTR copied = 0;
            if (::SendMessageTimeoutW(running, WM_GETTEXT, std::size(caption), reinterpret_cast<LPARAM>(caption),
                                      SMTO_ABORTIFHUNG, 2000, &copied) &&
                std::wstring(caption) == texts::kPlayerFormCaption) {
                ::SendMessageTimeoutW(running, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                                      SMTO_ABORTIFHUNG, 2000, &copied);
                break;
            }
        }
        if (::GetTickCount64() >= deadline) break;
        ::Sleep(20);
    }
    if (haveTurn) ::ReleaseMutex(turn.get());
}

}  // namespace tessel::player
