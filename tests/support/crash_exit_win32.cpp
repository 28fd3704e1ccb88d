#include <windows.h>

#include <cstdio>

#include "tests/support/crash_exit.h"

namespace tessel {
namespace {

// Names the module an address lies in ("module+offset"), or nothing when none does.
bool PrintModuleOf(const void* address) {
    if (reinterpret_cast<UINT_PTR>(address) < 0x10000) return false;  // a small number, not code
    HMODULE module = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            static_cast<LPCWSTR>(address), &module))
        return false;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(module, path, MAX_PATH);
    const wchar_t* name = path;
    for (const wchar_t* c = path; *c; ++c) {
        if (*c == L'\\' || *c == L'/') name = c + 1;
    }
    std::fprintf(stderr, "  %ls+0x%llx\n", name,
                 static_cast<unsigned long long>(static_cast<const char*>(address) - reinterpret_cast<const char*>(module)));
    return true;
}

LONG WINAPI ExitOnCrash(EXCEPTION_POINTERS* info) {
    const DWORD code = info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 0;
    const void* address = info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionAddress : nullptr;
    std::fprintf(stderr, "fatal: unhandled exception 0x%08lX at %p\n", static_cast<unsigned long>(code), address);
    PrintModuleOf(address);
#if defined(_M_X64) || defined(__x86_64__)
    // Code addresses on the stack, nearest first: most are return addresses, which
    // tell where the crash came from without a debugger.
    if (info && info->ContextRecord) {
        std::fprintf(stderr, "code addresses on the stack:\n");
        const auto* slot = reinterpret_cast<const void* const*>(info->ContextRecord->Rsp);
        MEMORY_BASIC_INFORMATION region{};
        int found = 0;
        if (VirtualQuery(slot, &region, sizeof region) != 0) {
            const auto* end = reinterpret_cast<const void* const*>(static_cast<const char*>(region.BaseAddress) +
                                                                   region.RegionSize);
            for (int i = 0; i < 512 && slot + i < end && found < 16; ++i) {
                if (PrintModuleOf(slot[i])) ++found;
            }
        }
    }
#endif
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), kCrashExitCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

void InstallCrashExit() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(ExitOnCrash);
}

}  // namespace tessel
