#include "player/playback/mmc/mci_thread_win32.h"

#include <mmsystem.h>

#include <mutex>
#include <utility>

#include "player/playback/mmc/device_window_win32.h"
#include "win32/handle.h"

namespace tessel {
namespace {

constexpr UINT kCallMessage = WM_APP + 1;  // lParam: a new std::shared_ptr<Call>
constexpr UINT kEndMessage = WM_APP + 2;   // lParam: a new std::wstring, the last command
// The MCI return buffer; every status item the player reads is a short number or word.
constexpr UINT kResultChars = 128;
// How long the owner waits for an idle thread to end before it lets it end alone.
constexpr DWORD kEndWaitMs = 5000;

struct Call {
    std::wstring command;
    HWND notify = nullptr;
    MciThread::Answer answer;
    win32::unique_kernel_handle done{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

MciThread::Answer SendHere(const std::wstring& command, HWND notify) {
    wchar_t buffer[kResultChars] = {};
    MciThread::Answer answer;
    answer.error = ::mciSendStringW(command.c_str(), buffer, kResultChars, notify);
    if (answer.error == 0) answer.text = buffer;
    return answer;
}

LRESULT CALLBACK ThreadWindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
    if (message == kCallMessage) {
        std::unique_ptr<std::shared_ptr<Call>> owned(reinterpret_cast<std::shared_ptr<Call>*>(lp));
        Call& call = **owned;
        call.answer = SendHere(call.command, call.notify);
        ::SetEvent(call.done.get());
        return 0;
    }
    if (message == kEndMessage) {
        std::unique_ptr<std::wstring> last(reinterpret_cast<std::wstring*>(lp));
        if (!last->empty()) SendHere(*last, nullptr);
        ::DestroyWindow(window);
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wp, lp);
}

bool RegisterThreadWindowClass() {
    static std::once_flag once;
    static bool registered = false;
    std::call_once(once, [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = &ThreadWindowProc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = MciThread::kWindowClass;
        registered = ::RegisterClassW(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    });
    return registered;
}

}  // namespace

// What the new thread hands back to its maker, which waits for it.
struct MciThread::Start {
    win32::unique_kernel_handle ready{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    HWND window = nullptr;
};

DWORD WINAPI MciThread::Run(void* parameter) {
    Start& start = *static_cast<Start*>(parameter);
    const HWND window = ::CreateWindowExW(0, MciThread::kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          ::GetModuleHandleW(nullptr), nullptr);
    start.window = window;
    ::SetEvent(start.ready.get());  // `start` is gone from here on
    if (window == nullptr) return 0;
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}

MciThread::MciThread() {
    Start start;
    if (!start.ready || !RegisterThreadWindowClass()) return;
    thread_.reset(::CreateThread(nullptr, 0, &Run, &start, 0, nullptr));
    if (!thread_) return;
    ::WaitForSingleObject(start.ready.get(), INFINITE);
    window_ = start.window;
}

MciThread::~MciThread() {
    if (thread_ && PostEnd(std::wstring())) WaitAnswering(thread_.get(), kEndWaitMs);
}

bool MciThread::PostEnd(std::wstring last) const {
    if (window_ == nullptr) return false;
    auto* posted = new std::wstring(std::move(last));
    if (::PostMessageW(window_, kEndMessage, 0, reinterpret_cast<LPARAM>(posted))) return true;
    delete posted;
    return false;
}

MciThread::Answer MciThread::Send(const std::wstring& command, HWND notify, DWORD limit_ms) {
    if (window_ == nullptr) return SendHere(command, notify);  // no thread: here, then
    auto call = std::make_shared<Call>();
    Answer failed;
    failed.error = MCIERR_INTERNAL;
    if (!call->done) return failed;
    call->command = command;
    call->notify = notify;
    auto* posted = new std::shared_ptr<Call>(call);
    if (!::PostMessageW(window_, kCallMessage, 0, reinterpret_cast<LPARAM>(posted))) {
        delete posted;
        return failed;
    }
    if (!WaitAnswering(call->done.get(), limit_ms)) {
        failed.in_time = false;
        return failed;
    }
    return call->answer;
}

void MciThread::Abandon(std::unique_ptr<MciThread> thread, std::wstring last) {
    if (!thread) return;
    thread->PostEnd(std::move(last));
    thread->thread_.reset();  // the thread ends by itself; nothing waits for it
}

}  // namespace tessel
