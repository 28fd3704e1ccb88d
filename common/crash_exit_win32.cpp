#include <windows.h>

#include <cstdio>

#include "common/crash_exit.h"

namespace tessel {
namespace {

LONG WINAPI ExitOnCrash(EXCEPTION_POINTERS* info) {
    const DWORD code = info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionCode : 0;
    const void* address = info && info->ExceptionRecord ? info->ExceptionRecord->ExceptionAddress : nullptr;
    std::fprintf(stderr, "fatal: unhandled exception 0x%08lX at %p\n", static_cast<unsigned long>(code), address);
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
