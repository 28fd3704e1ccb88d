// Helpers of the player's tests under Wine: temporary program folders, media paths,
// real tesselplay.exe processes with bounded waits, and windows of other processes.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tessel::player::test {

// A Unix path handed over in the environment, as Wine sees it (Z: drive).
std::filesystem::path FromEnvironmentPath(const char* variable);

// The folder of media generated for this test run (see CMakeLists.txt).
std::filesystem::path MediaDir();
// The assembled program folder of the build.
std::filesystem::path DistDir();

// A fresh folder under the temporary folder, removed again by the destructor.
class TempDir {
public:
    explicit TempDir(const std::wstring& tag);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// A small 16x16 icon file of our own, enough for the tray icon.
void WriteIconFile(const std::filesystem::path& path);

// A silent PCM wav (8 kHz, 8-bit, mono) of exactly this many milliseconds.
void WriteSilentWav(const std::filesystem::path& path, unsigned milliseconds);

// Writes a file of lines, each followed by CR LF, in code page 932.
void WriteLines(const std::filesystem::path& path, const std::vector<std::wstring>& lines);
std::vector<std::wstring> ReadLines(const std::filesystem::path& path);

// A program folder: Setting\init.ini with these lines (none: no file), a skin "Azure"
// holding task.ico, and fav\.
void MakeProgramFolder(const std::filesystem::path& folder, const std::vector<std::wstring>* settings);

// The settings lines of a first run, with the given overrides.
std::vector<std::wstring> DefaultSettings();

// Polls until `done` holds or the time is up; true if it held.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit,
               bool pumpMessages = false);

// A child process that is killed if it is still running when this object goes.
class Process {
public:
    Process() = default;
    Process(const std::filesystem::path& exe, const std::wstring& arguments);
    ~Process();
    Process(Process&& other) noexcept;
    Process& operator=(Process&&) = delete;
    Process(const Process&) = delete;

    bool started() const { return info_.hProcess != nullptr; }
    DWORD id() const { return info_.dwProcessId; }
    // Waits at most `limit`; true if the process ended (its exit code in `code`).
    bool WaitExit(std::chrono::milliseconds limit, DWORD* code = nullptr);
    bool Running() const;

private:
    PROCESS_INFORMATION info_{};
};

// A top-level window of a process with this class (and title, when given).
HWND FindWindowOfProcess(DWORD processId, const wchar_t* windowClass, const wchar_t* title);
// The text of any window, also of another process (bounded).
std::wstring WindowText(HWND window);
// Text for a test message: non-ASCII characters as \uXXXX.
std::string Printable(const std::wstring& text);

// The texts of a dialog box's static controls, joined.
std::wstring DialogText(HWND dialog);

// A dialog box (a message box or a file dialog) of this process with this title, once
// it shows; null if none came within `limit`.
HWND WaitForDialog(const wchar_t* title, std::chrono::milliseconds limit);
// What a user does in an open or save dialog: types `name` as the file name and
// presses OK.
void EnterFileName(HWND dialog, const std::wstring& name);

// Drops files on a window as the shell delivers them: a DROPFILES block made in this
// process (across processes the block would not be shared).
void SendDrop(HWND window, const std::vector<std::wstring>& paths);

}  // namespace tessel::player::test
