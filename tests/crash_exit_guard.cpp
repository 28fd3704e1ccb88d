// Linked into every Windows test program: a crash fails the test run for certain.
#include "common/crash_exit.h"

namespace {
const bool installed = (tessel::InstallCrashExit(), true);
}
