#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/crash_exit.h"

namespace {

// Runs the probe beside this test program and returns its exit code (or -1).
DWORD RunProbe(const wchar_t* argument) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring probe(self);
    probe = probe.substr(0, probe.find_last_of(L'\\') + 1) + L"crash_probe.exe";
    std::wstring command = L"\"" + probe + L"\" " + argument;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(probe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return static_cast<DWORD>(-1);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(pi.hProcess, &code);
    } else {
        TerminateProcess(pi.hProcess, 1);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

TEST(CrashExit, ACrashEndsWithTheFailureCode) {
    EXPECT_EQ(RunProbe(L"fine"), 0u);
    // Several times: without the filter Wine's debugger made this 0 now and then.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(RunProbe(L"crash"), tessel::kCrashExitCode);
}

}  // namespace
