#include "cli/cli_run.h"

// The Unicode entry point: every argument arrives whole, whatever the ANSI code page.
int wmain(int argc, wchar_t** argv) {
    return RunCli(std::vector<NativeString>(argv + 1, argv + argc), SystemConsole());
}
