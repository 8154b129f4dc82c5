#include "cli/cli_run.h"

int main(int argc, char** argv) {
    return RunCli(std::vector<NativeString>(argv + 1, argv + argc), SystemConsole());
}
