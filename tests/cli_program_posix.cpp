#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "tests/cli_program.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

ProgramResult RunProgram(const std::vector<fs::path>& arguments) {
    return RunProgram(arguments, [](int) {});
}

ProgramResult RunProgram(const std::vector<fs::path>& arguments,
                         const std::function<void(int)>& whileRunning) {
    const fs::path program =
        fs::read_symlink("/proc/self/exe").parent_path() / "../cli/orvandel-cli";
    const TempFolder capture;
    const fs::path out = capture.Root() / "out";
    const fs::path err = capture.Root() / "err";
    std::vector<std::string> strings = {program.string()};
    for (const auto& argument : arguments) {
        strings.push_back(argument.native());
    }
    std::vector<char*> argv;
    for (auto& s : strings) {
        argv.push_back(s.data());
    }
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        if (!freopen(out.c_str(), "wb", stdout) || !freopen(err.c_str(), "wb", stderr)) {
            _exit(125);
        }
        execv(argv[0], argv.data());
        _exit(126);
    }
    whileRunning(child);
    int status = 0;
    waitpid(child, &status, 0);
    ProgramResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = ReadAll(out);
    result.err = ReadAll(err);
    return result;
}
