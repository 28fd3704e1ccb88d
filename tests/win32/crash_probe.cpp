// A program that crashes on purpose, to show that a crash fails the run.
#include <cstdio>
#include <cstring>

#include "tests/support/crash_exit.h"

int main(int argc, char** argv) {
    tessel::InstallCrashExit();
    if (argc > 1 && std::strcmp(argv[1], "crash") == 0) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
    std::puts("no crash");
    return 0;
}
