// MciThread: a thread of its own on which one MCI device lives. Every command string
// of the device is carried out there, so that the driver's slow parts never stop the
// owner's windows: an "open" of a large file that is no medium at all can keep the
// driver parsing for minutes. The owner waits for each answer with its windows
// answering (WaitAnswering) and gives up after a limit; a thread that did not answer
// in time is let go (Abandon) and closes its device on its own once the driver
// returns, so what the driver took comes back.
//
// All commands of one device go through one thread: the driver sets up and tears down
// its own COM state on the thread that opens and closes, and pumps the windows it
// makes (the video window) on that thread, which therefore runs a message loop.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "win32/handle.h"

namespace tessel {

class MciThread {
public:
    // The answer to one command string.
    struct Answer {
        DWORD error = 0;     // the driver's error code, 0 on success
        std::wstring text;   // the driver's return string (empty on an error)
        bool in_time = true; // false: no answer within the limit
    };

    // The class of the message-only window each such thread keeps while it runs.
    static constexpr wchar_t kWindowClass[] = L"TesselMciThread";

    // Starts the thread; when the system cannot make it, commands are sent on the
    // caller's thread instead.
    MciThread();
    // Ends the thread after its current command and waits for it.
    ~MciThread();
    MciThread(const MciThread&) = delete;
    MciThread& operator=(const MciThread&) = delete;

    // Sends `command` on the thread, with `notify` as the window for the driver's
    // notifications, and waits up to `limit_ms` (WaitAnswering). A command that does
    // not answer in time goes on alone on the thread.
    Answer Send(const std::wstring& command, HWND notify, DWORD limit_ms);

    // Lets a thread go without waiting for it: `last` is sent after whatever it is
    // doing now (so a device it holds is closed once its driver returns), then the
    // thread ends by itself.
    static void Abandon(std::unique_ptr<MciThread> thread, std::wstring last);

private:
    struct Start;
    static DWORD WINAPI Run(void* start);
    // Asks the thread to send `last` (if any) and end; false when it cannot be asked.
    bool PostEnd(std::wstring last) const;

    win32::unique_kernel_handle thread_;
    HWND window_ = nullptr;  // the thread's window; null when there is no thread
};

}  // namespace tessel
