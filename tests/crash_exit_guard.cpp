// Linked into every Windows test program: a crash fails the test run for certain.
#include "tests/support/crash_exit.h"

namespace {
const bool installed = (tessel::InstallCrashExit(), true);
}
