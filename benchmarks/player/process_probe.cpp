#include "benchmarks/player/process_probe.h"

#include <winternl.h>
#include <psapi.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace tessel::bench {
namespace {

namespace fs = std::filesystem;

// The layouts of the system information this file reads, as the platform defines them
// for 64-bit processes (the SDK headers of the cross compiler leave them out).
struct HandleEntryEx {
    void* object;
    ULONG_PTR processId;
    ULONG_PTR handleValue;
    ULONG grantedAccess;
    USHORT creatorBackTraceIndex;
    USHORT objectTypeIndex;
    ULONG handleAttributes;
    ULONG reserved;
};
struct HandleInformationEx {
    ULONG_PTR count;
    ULONG_PTR reserved;
    HandleEntryEx handles[1];
};
constexpr ULONG kSystemExtendedHandleInformation = 64;
constexpr NTSTATUS kStatusInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

// One entry of a process's GDI handle table; an entry in use has a non-zero type.
struct GdiTableEntry {
    std::uint64_t object;
    std::uint32_t owner;
    std::uint16_t unique;
    std::uint8_t type;
    std::uint8_t flags;
    std::uint64_t userPointer;
};
static_assert(sizeof(GdiTableEntry) == 24);
constexpr std::size_t kGdiTableEntries = 0x10000;
// Offset of GdiSharedHandleTable in the 64-bit PEB.
constexpr std::size_t kPebGdiTableOffset = 0xF8;
static_assert(sizeof(void*) == 8, "the PEB offset above is that of 64-bit processes");

using NtQuerySystemInformationFn = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);
using NtQueryInformationProcessFn = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

template <typename Fn>
Fn NtdllFunction(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
}

}  // namespace

bool Child::Start(const fs::path& exe, const std::wstring& args) {
    std::wstring line = L"\"" + exe.wstring() + L"\"";
    if (!args.empty()) line += L" " + args;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    const std::wstring folder = exe.parent_path().wstring();
    if (!::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                          &pi_)) {
        pi_ = PROCESS_INFORMATION{};
        return false;
    }
    return true;
}

bool Child::Running() const { return pi_.hProcess && ::WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }

DWORD Child::Stop(DWORD waitMs) {
    if (!pi_.hProcess) return ~0u;
    DWORD code = ~0u;
    if (Running()) {
        // A close request first, so a program ends as a user would end it.
        ::EnumWindows(
            [](HWND hwnd, LPARAM lp) -> BOOL {
                DWORD pid = 0;
                ::GetWindowThreadProcessId(hwnd, &pid);
                if (pid == static_cast<DWORD>(lp)) ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
                return TRUE;
            },
            static_cast<LPARAM>(pi_.dwProcessId));
        // A program without a window of its own still reads its thread's queue.
        ::PostThreadMessageW(pi_.dwThreadId, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(pi_.hProcess, waitMs) != WAIT_OBJECT_0) {
            ::TerminateProcess(pi_.hProcess, ~0u);
            ::WaitForSingleObject(pi_.hProcess, 5000);
        }
    }
    ::GetExitCodeProcess(pi_.hProcess, &code);
    ::CloseHandle(pi_.hThread);
    ::CloseHandle(pi_.hProcess);
    pi_ = PROCESS_INFORMATION{};
    return code;
}

bool RunningUnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

ProcessProbe::ProcessProbe(HANDLE process, DWORD processId, std::string linuxToken)
    : process_(process), id_(processId), token_(std::move(linuxToken)) {}

ProcessFigures ProcessProbe::Sample() {
    ProcessFigures f;
    f.handles = CountHandles(f.handlesByType);
    f.gdiObjects = CountGdiObjects(f.gdiByType);
    f.userObjects = CountWindows();
    f.privateMegabytes = PrivateMegabytes();
    return f;
}

std::int64_t ProcessProbe::CountHandles(std::map<int, std::int64_t>& byType) {
    static const auto query = NtdllFunction<NtQuerySystemInformationFn>("NtQuerySystemInformation");
    static std::vector<unsigned char> buffer(1 << 20);
    if (query) {
        NTSTATUS status = 0;
        for (int attempt = 0; attempt < 8; ++attempt) {
            ULONG needed = 0;
            status = query(kSystemExtendedHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                           &needed);
            if (status != kStatusInfoLengthMismatch) break;
            buffer.resize(std::max<std::size_t>(buffer.size() * 2, needed + (1 << 16)));
        }
        if (status == 0) {
            const auto* info = reinterpret_cast<const HandleInformationEx*>(buffer.data());
            std::int64_t count = 0;
            for (ULONG_PTR i = 0; i < info->count; ++i) {
                if (info->handles[i].processId != id_) continue;
                ++count;
                ++byType[info->handles[i].objectTypeIndex];
            }
            sources_.handles = "system handle table";
            return count;
        }
    }
    DWORD count = 0;
    if (::GetProcessHandleCount(process_, &count) && count > 0) {
        sources_.handles = "GetProcessHandleCount";
        return count;
    }
    sources_.handles = "not reported";
    return -1;
}

std::int64_t ProcessProbe::CountGdiObjects(std::map<int, std::int64_t>& byType) {
    if (const DWORD reported = ::GetGuiResources(process_, GR_GDIOBJECTS); reported > 0) {
        sources_.gdi = "GetGuiResources";
        return reported;
    }
    static const auto query = NtdllFunction<NtQueryInformationProcessFn>("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic{};
    ULONG length = 0;
    std::uint64_t table = 0;
    SIZE_T got = 0;
    if (!query || query(process_, ProcessBasicInformation, &basic, sizeof basic, &length) != 0 ||
        !::ReadProcessMemory(process_, reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiTableOffset,
                             &table, sizeof table, &got) ||
        table == 0) {
        sources_.gdi = "not reported";
        return -1;
    }
    static std::vector<GdiTableEntry> entries(kGdiTableEntries);
    if (!::ReadProcessMemory(process_, reinterpret_cast<const void*>(table), entries.data(),
                             entries.size() * sizeof(GdiTableEntry), &got)) {
        sources_.gdi = "not reported";
        return -1;
    }
    std::int64_t used = 0;
    for (std::size_t i = 0; i < got / sizeof(GdiTableEntry); ++i) {
        if (entries[i].type == 0) continue;
        ++used;
        ++byType[entries[i].type];
    }
    sources_.gdi = "the process's GDI handle table";
    return used;
}

std::int64_t ProcessProbe::CountWindows() {
    if (const DWORD reported = ::GetGuiResources(process_, GR_USEROBJECTS); reported > 0) {
        sources_.user = "GetGuiResources";
        return reported;
    }
    struct Count {
        DWORD pid;
        std::int64_t windows;
    } count{id_, 0};
    ::EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Count*>(lp);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hwnd, &pid);
            if (pid != c->pid) return TRUE;
            ++c->windows;
            ::EnumChildWindows(
                hwnd,
                [](HWND, LPARAM inner) -> BOOL {
                    ++*reinterpret_cast<std::int64_t*>(inner);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&c->windows));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    sources_.user = "windows of the process (menus and icons not counted)";
    return count.windows;
}

double ProcessProbe::PrivateMegabytes() {
    if (RunningUnderWine()) {
        if (linuxPid_.empty()) linuxPid_ = FindLinuxProcess(token_);
        if (linuxPid_.empty()) {
            sources_.memory = "not reported";
            return -1;
        }
        sources_.memory = "resident anonymous memory of its Linux process";
        return LinuxPrivateMegabytes(linuxPid_);
    }
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!::K32GetProcessMemoryInfo(process_, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                   sizeof counters)) {
        sources_.memory = "not reported";
        return -1;
    }
    sources_.memory = "private bytes";
    return static_cast<double>(counters.PrivateUsage) / (1024.0 * 1024.0);
}

std::string ReadWholeFile(const fs::path& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    ::CloseHandle(file);
    return text;
}

std::wstring FindLinuxProcess(const std::string& token) {
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(L"Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE) return {};
    std::wstring result;
    do {
        const std::wstring name = found.cFileName;
        if (name.empty() || name.find_first_not_of(L"0123456789") != std::wstring::npos) continue;
        std::string cmdline = ReadWholeFile(L"Z:\\proc\\" + name + L"\\cmdline");
        for (char& c : cmdline) {
            if (c == '\0') c = ' ';
        }
        if (cmdline.find(token) != std::string::npos) {
            result = name;
            break;
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return result;
}

double LinuxCpuSeconds(const std::wstring& linuxPid) {
    const std::string stat = ReadWholeFile(L"Z:\\proc\\" + linuxPid + L"\\stat");
    const auto close = stat.rfind(')');
    if (close == std::string::npos) return 0;
    // Fields after the command name: state is field 3; utime and stime are 14 and 15,
    // in clock ticks of 1/100 s.
    std::istringstream in(stat.substr(close + 2));
    std::string field;
    double utime = 0, stime = 0;
    for (int i = 3; i <= 15 && in >> field; ++i) {
        if (i == 14) utime = std::stod(field);
        if (i == 15) stime = std::stod(field);
    }
    return (utime + stime) / 100.0;
}

double LinuxPrivateMegabytes(const std::wstring& linuxPid) {
    const std::string status = ReadWholeFile(L"Z:\\proc\\" + linuxPid + L"\\status");
    const auto at = status.find("RssAnon:");
    if (at == std::string::npos) return -1;
    return std::stod(status.substr(at + 8)) / 1024.0;
}

std::string Narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

HWND FindWindowOfProcess(DWORD processId, const wchar_t* windowClass, const wchar_t* title) {
    struct Search {
        DWORD pid;
        const wchar_t* cls;
        const wchar_t* title;
        HWND found;
    } search{processId, windowClass, title, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hwnd, &pid);
            if (pid != s->pid) return TRUE;
            wchar_t cls[256] = {};
            ::GetClassNameW(hwnd, cls, 256);
            if (s->cls && ::lstrcmpiW(cls, s->cls) != 0) return TRUE;
            if (s->title && WindowText(hwnd) != s->title) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowText(HWND window) {
    wchar_t buffer[1024] = {};
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                               SMTO_ABORTIFHUNG, 2000, &copied)) {
        return L"";
    }
    return buffer;
}

}  // namespace tessel::bench
