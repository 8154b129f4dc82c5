// The whole program behind main: the options, the walk, the parallel work and what is printed.
#pragma once

#include <vector>

#include "cli/console.h"
#include "cli/native_text.h"

enum ExitStatus : int {
    kExitDone = 0,
    kExitChangesFound = 1,  // --check
    kExitSomeFailed = 2,
    kExitBadUsage = 64,
    kExitInterrupted = 130,  // Ctrl+C, SIGINT, SIGTERM
};

// Runs the program with the arguments after its name; returns the exit status.
int RunCli(const std::vector<NativeString>& arguments, Console& console);
