#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/crash_exit.h"
#include "tests/support/win32.h"

namespace {

// Runs the probe beside this test program and returns its exit code (or -1).
DWORD RunProbe(const wchar_t* argument) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    tessel::test::Process probe(std::filesystem::path(self).parent_path() / L"crash_probe.exe", argument);
    DWORD code = static_cast<DWORD>(-1);
    probe.WaitExit(std::chrono::seconds(30), &code);
    return code;
}

TEST(CrashExit, ACrashEndsWithTheFailureCode) {
    EXPECT_EQ(RunProbe(L"fine"), 0u);
    // Several times: without the filter Wine's debugger made this 0 now and then.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(RunProbe(L"crash"), tessel::kCrashExitCode);
}

}  // namespace
