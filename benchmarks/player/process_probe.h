// What a benchmark can learn about another process it started: its kernel handles,
// GDI objects, windows and private memory, on Windows and under Wine alike.
//
// Under Wine GetProcessHandleCount and GetGuiResources answer 0 for every process, so
// each figure has a second source that works there too:
//   - handles: the system's handle table (NtQuerySystemInformation), entries of the pid;
//   - GDI objects: the process's own GDI handle table, which Wine (like Windows) keeps
//     in the process and names in its PEB; read with ReadProcessMemory, entries in use;
//   - USER objects: the windows of the process (top-level and all their children);
//     menus, icons and cursors are not counted there;
//   - private memory: Wine runs each Windows process as a Linux process, whose
//     resident anonymous memory /proc reports.
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

#include "tests/support/win32.h"

namespace tessel::bench {

// A program started for the benchmark, ended (close request, then kill) on destruction;
// and windows of other processes.
using Child = test::Process;
using test::FindWindowOfProcess;
using test::RunningUnderWine;
using test::WindowText;


// One sample of a process. A figure the platform cannot give is -1.
struct ProcessFigures {
    std::int64_t handles = -1;
    std::int64_t gdiObjects = -1;
    std::int64_t userObjects = -1;
    double privateMegabytes = -1;
    // Handles and GDI objects by type number, for telling what grows (where known).
    std::map<int, std::int64_t> handlesByType;
    std::map<int, std::int64_t> gdiByType;
};

// Where each figure came from, for the report.
struct FigureSources {
    std::string handles, gdi, user, memory;
};

class ProcessProbe {
public:
    // `linuxToken`: a text unique to the process's command line (under Wine, how its
    // Linux process is found).
    ProcessProbe(HANDLE process, DWORD processId, std::string linuxToken);
    ProcessFigures Sample();
    const FigureSources& Sources() const { return sources_; }

private:
    std::int64_t CountHandles(std::map<int, std::int64_t>& byType);
    std::int64_t CountGdiObjects(std::map<int, std::int64_t>& byType);
    std::int64_t CountWindows();
    double PrivateMegabytes();

    HANDLE process_;
    DWORD id_;
    std::string token_;
    std::wstring linuxPid_;
    FigureSources sources_;
};

// Helpers of the Linux side under Wine (drive Z: is the Linux root).
std::string ReadWholeFile(const std::filesystem::path& path);
// The Linux process whose command line holds `token`; empty if none.
std::wstring FindLinuxProcess(const std::string& token);
// User plus system CPU time in seconds.
double LinuxCpuSeconds(const std::wstring& linuxPid);
// Resident anonymous memory (the process's private pages) in MB.
double LinuxPrivateMegabytes(const std::wstring& linuxPid);

// ASCII text of a path (other characters become '?'), for matching /proc command lines.
std::string Narrow(const std::wstring& text);

}  // namespace tessel::bench
