// What the window tests of both programs (and the benchmarks that drive real windows)
// share: bounded message loops, texts of windows and boxes (also of other processes),
// the clipboard, drops as the shell delivers them, real child processes, paths handed
// over from the Linux side, and the GDI objects a process holds.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tessel::test {

using namespace std::chrono_literals;

// Runs this thread's messages until `done` holds or the time is up; true if it held.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);
// Runs this thread's messages for a while.
void Pump(std::chrono::milliseconds time = 50ms);

std::wstring ClassOf(HWND window);
// The text of any window, also of another process (bounded).
std::wstring WindowText(HWND window);
// The texts of a dialog box's static controls, joined without line breaks.
std::wstring DialogText(HWND dialog);
std::wstring WithoutLineBreaks(std::wstring_view text);
// The items of a list box, also of another process.
std::vector<std::wstring> ListBoxItems(HWND list);
// Text for a test message: non-ASCII characters as \uXXXX.
std::string Printable(const std::wstring& text);

// The system clipboard's text (nothing when it holds none), and text put on it.
std::optional<std::wstring> ReadClipboard();
void WriteClipboard(const std::wstring& text);

// Another program keeping the clipboard open for a while, from a thread and window of
// its own; the constructor returns once it holds it.
class ClipboardHolder {
public:
    explicit ClipboardHolder(std::chrono::milliseconds hold);
    ~ClipboardHolder();
    bool Holds() const { return opened_; }

private:
    bool opened_ = false;
    std::thread thread_;
};

// A drop as the shell delivers it: a DROPFILES block with wide paths, which the
// receiver frees. Made in this process (across processes the block is not shared).
HDROP MakeDrop(const std::vector<std::wstring>& paths);
void SendDrop(HWND window, const std::vector<std::wstring>& paths);

// A Unix path as Wine sees it (drive Z:, backslashes); other paths stay as they are.
std::filesystem::path WinePath(std::string_view path);
// The same for a path handed over in the environment (throws if it is not set).
std::filesystem::path FromEnvironmentPath(const char* variable);
// The folder of media generated for this test run, and the assembled program folder.
std::filesystem::path MediaDir();
std::filesystem::path DistDir();
inline std::wstring Media(const wchar_t* name) { return (MediaDir() / name).wstring(); }
inline std::wstring Quoted(const std::filesystem::path& p) { return L"\"" + p.wstring() + L"\""; }

// A child process, ended (a close request, then a kill) when this object goes.
class Process {
public:
    Process() = default;
    Process(const std::filesystem::path& exe, const std::wstring& arguments, const std::filesystem::path& folder = {}) {
        Start(exe, arguments, folder);
    }
    ~Process() { Stop(2000); }
    Process(Process&& other) noexcept : info_(other.info_) { other.info_ = PROCESS_INFORMATION{}; }
    Process& operator=(Process&&) = delete;
    Process(const Process&) = delete;

    // Started in `folder`, or in the program's own folder when none is given.
    bool Start(const std::filesystem::path& exe, const std::wstring& arguments,
               const std::filesystem::path& folder = {});
    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    HANDLE Handle() const { return info_.hProcess; }
    bool Running() const;
    // Waits at most `limit`; true if the process ended (its exit code in `code`).
    bool WaitExit(std::chrono::milliseconds limit, DWORD* code = nullptr) const;
    // Asks every window of the process (and its main thread) to close, waits at most
    // `waitMs`, then kills it. Returns the exit code (~0u when it had to be killed).
    DWORD Stop(DWORD waitMs = 10000);

private:
    PROCESS_INFORMATION info_{};
};

// The top-level windows of a process.
std::vector<HWND> WindowsOfProcess(DWORD processId);
// A top-level window of a process with this class (and title, unless null).
HWND FindWindowOfProcess(DWORD processId, const wchar_t* windowClass, const wchar_t* title = nullptr);

bool RunningUnderWine();

// Keys as the user types them into the window with the focus, through this thread's
// message loop (so the programs' dialog keys see them): down and up, with Shift held
// for the pair when asked. F10 comes as a system key, as it does from a keyboard.
void TypeKey(UINT key, bool shift = false);

// The system colours of a high-contrast scheme for the life of this object (the
// windows are told, as when the user turns the scheme on), then the old ones again.
class HighContrastColours {
public:
    static constexpr COLORREF kFace = RGB(0x20, 0x40, 0x60);    // COLOR_BTNFACE
    static constexpr COLORREF kWindow = RGB(0x60, 0x20, 0x40);  // COLOR_WINDOW
    HighContrastColours();
    ~HighContrastColours();

private:
    static constexpr int kElements[] = {COLOR_BTNFACE, COLOR_WINDOW};
    COLORREF old_[2] = {};
};
// What the screen shows at a point of a window's client area (the window on top there).
COLORREF ClientPixel(HWND window, int x, int y);

// Waits (from a thread of its own) for the popup menu that this process opens next,
// notes its items and where it opened, and closes it through `owner`.
class PopupWatcher {
public:
    explicit PopupWatcher(HWND owner);
    ~PopupWatcher();
    // How many items the menu had (-1: none opened in 3 s), and its first command.
    int Items();
    UINT First() const { return first_; }
    POINT Origin() const { return {originX_, originY_}; }

private:
    std::atomic<int> items_{-1};
    std::atomic<UINT> first_{0};
    std::atomic<LONG> originX_{0}, originY_{0};
    std::thread thread_;
};

// The GDI objects a process holds, by type. Windows answers GetGuiResources (one
// total, type 0); Wine answers 0 there but keeps the process's GDI handle table where
// Windows does (named in its PEB), and an entry in use has a non-zero type. Nothing
// when neither can be read.
std::optional<std::map<int, std::int64_t>> GdiObjectsByType(HANDLE process = ::GetCurrentProcess());

}  // namespace tessel::test
