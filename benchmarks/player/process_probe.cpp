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

using NtQuerySystemInformationFn = NTSTATUS(NTAPI*)(ULONG, PVOID, ULONG, PULONG);

template <typename Fn>
Fn NtdllFunction(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name)));
}

}  // namespace

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
    const auto counted = test::GdiObjectsByType(process_);
    if (!counted) {
        sources_.gdi = "not reported";
        return -1;
    }
    if (counted->count(0)) {
        sources_.gdi = "GetGuiResources";
        return counted->at(0);
    }
    std::int64_t used = 0;
    for (const auto& [type, count] : *counted) used += count;
    byType = *counted;
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

}  // namespace tessel::bench
