#include "player/startup/hand_over.h"

#include <algorithm>
#include <vector>

#include "player/shared/texts.h"
#include "player/windows/PlayerForm.h"
#include "win32/error_text.h"

namespace tessel::player {
namespace {

// How long the running instance may be without its mailbox window (it is starting up
// or ending) or without answering before a second start gives up on it.
constexpr ULONGLONG kGiveUpAfterMs = 10000;
constexpr UINT kAnswerMs = 2000;
constexpr DWORD kPollMs = 20;
constexpr DWORD kQueuePollMs = 50;

// The queue's page mapped into this process, unmapped when the turn is over.
using QueueView = win32::unique_handle<win32::Traits<HandOverQueue*, &::UnmapViewOfFile>>;

// The running instance's body window: our own class and the caption "PlayerForm" (a
// second start has renamed its own body window already).
HWND FindRunningPlayerWindow() { return ::FindWindowW(kPlayerFormClass, texts::kPlayerFormCaption); }

// The mailbox's text, read far enough to tell `path` from anything else; nothing when
// the window does not answer (or is gone).
std::optional<std::wstring> MailboxText(HWND mailbox, const std::wstring& path) {
    std::vector<wchar_t> text(std::max<std::size_t>(path.size(), 16) + 2, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(mailbox, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, kAnswerMs, &copied)) {
        return std::nullopt;
    }
    return std::wstring(text.data());
}

}  // namespace

bool SingleInstance::Claim() {
    mutex_.reset(::CreateMutexW(nullptr, FALSE, name_.c_str()));
    const bool another = mutex_ && ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (another) mutex_.reset();
    return !another;
}

bool SingleInstance::InstanceRunning() const {
    win32::unique_kernel_handle held(::OpenMutexW(SYNCHRONIZE, FALSE, name_.c_str()));
    return static_cast<bool>(held);
}

std::optional<std::wstring> SingleInstance::HandOver(const std::wstring& path) const {
    // The queue of second starts: tickets in a shared page, served in the order they
    // were drawn. (Waiters of a mutex are not served in order under every system.)
    win32::unique_kernel_handle page(::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                          sizeof(HandOverQueue), HandOverQueueName(name_).c_str()));
    if (!page) return win32::LastErrorText(L"CreateFileMapping");
    const QueueView view(
        static_cast<HandOverQueue*>(::MapViewOfFile(page.get(), FILE_MAP_WRITE, 0, 0, sizeof(HandOverQueue))));
    if (!view) return win32::LastErrorText(L"MapViewOfFile");
    HandOverQueue* const queue = view.get();

    const LONG ticket = ::InterlockedIncrement(&queue->next) - 1;
    volatile LONG& mine = queue->holder[ticket % kQueueSlots];
    ::InterlockedExchange(&mine, static_cast<LONG>(::GetCurrentProcessId()));
    auto withdraw = [&](std::wstring reason) {
        ::InterlockedExchange(&mine, kWithdrawn);
        return std::optional<std::wstring>(std::move(reason));
    };

    // Wait for the turn while the running instance lives. There is no time limit: a
    // burst of starts takes as long as the player needs to take their files.
    ULONGLONG unclaimedSince = 0;
    for (;;) {
        const LONG serving = queue->serving;
        if (serving == ticket) break;
        // (Its mailbox window may well be out of sight meanwhile: while it holds a file
        // its caption is no longer "PlayerForm".)
        if (!InstanceRunning()) return withdraw(texts::kHandOverPlayerEnded);
        // The next in line passes over a start that ended or gave up without serving
        // its turn (and one that drew a ticket but never wrote its name in time).
        if (ticket == serving + 1) {
            const LONG holder = queue->holder[serving % kQueueSlots];
            bool gone = holder == kWithdrawn;
            if (holder == 0) {
                if (!unclaimedSince) unclaimedSince = ::GetTickCount64();
                gone = ::GetTickCount64() - unclaimedSince >= kGiveUpAfterMs;
            } else if (!gone) {
                unclaimedSince = 0;
                win32::unique_kernel_handle process(::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(holder)));
                gone = !process || ::WaitForSingleObject(process.get(), 0) == WAIT_OBJECT_0;
            }
            if (gone) {
                ::InterlockedCompareExchange(&queue->holder[serving % kQueueSlots], 0, holder);
                ::InterlockedCompareExchange(&queue->serving, serving + 1, serving);
                continue;
            }
        }
        // Messages sent to this start's own (hidden) windows are answered meanwhile, so
        // a program that sends to every window is not held up.
        if (::MsgWaitForMultipleObjects(0, nullptr, FALSE, kQueuePollMs, QS_SENDMESSAGE) == WAIT_OBJECT_0) {
            MSG msg;
            ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
    // Whatever happens below, the turn passes on.
    struct PassOn {
        HandOverQueue* queue;
        volatile LONG& mine;
        LONG ticket;
        ~PassOn() {
            ::InterlockedExchange(&mine, 0);
            ::InterlockedCompareExchange(&queue->serving, ticket + 1, ticket);
        }
    } passOn{queue, mine, ticket};

    // Our turn: write the path once the mailbox is empty, then keep the turn until the
    // running instance has taken it, so a player that ends first is noticed and said.
    std::optional<std::wstring> failure;
    HWND mailbox = nullptr;
    bool written = false;
    ULONGLONG lastSign = ::GetTickCount64();
    for (;; ::Sleep(kPollMs)) {
        const ULONGLONG now = ::GetTickCount64();
        if (!mailbox) mailbox = FindRunningPlayerWindow();
        if (!mailbox) {
            if (!InstanceRunning() || now - lastSign >= kGiveUpAfterMs) {
                failure = texts::kHandOverPlayerEnded;
                break;
            }
            continue;
        }
        const std::optional<std::wstring> text = MailboxText(mailbox, path);
        if (!::IsWindow(mailbox)) {
            if (written) {
                failure = texts::kHandOverPlayerEnded;
                break;
            }
            mailbox = nullptr;
            continue;
        }
        if (!text) {
            if (now - lastSign >= kGiveUpAfterMs) {
                failure = texts::kHandOverNoAnswer;
                break;
            }
            continue;
        }
        lastSign = now;
        if (written) {
            if (*text != path) break;  // taken: the caption is "PlayerForm" again
        } else if (*text == texts::kPlayerFormCaption) {
            DWORD_PTR result = 0;
            written = ::SendMessageTimeoutW(mailbox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                                            SMTO_ABORTIFHUNG, kAnswerMs, &result) &&
                      result;
        }
    }
    return failure;
}

}  // namespace tessel::player
