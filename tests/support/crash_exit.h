// Makes a crash end the process at once with a failure exit code.
//
// Under Wine an unhandled exception starts the debugger, which sometimes lets the
// process end with exit code 0: a crashed test would then pass. The filter runs
// before any debugger is asked and ends the process with kCrashExitCode.
#pragma once

namespace tessel {

inline constexpr unsigned kCrashExitCode = 70;

#ifdef _WIN32
void InstallCrashExit();
#endif

}  // namespace tessel
