// Runs the built orvandel-cli as its own process, as a user's shell would.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

struct ProgramResult {
    int exitCode = -1;
    std::string out;  // standard output's bytes
    std::string err;  // standard error's bytes
};

// Runs build/cli/orvandel-cli with `arguments` and waits for it.
ProgramResult RunProgram(const std::vector<std::filesystem::path>& arguments);

#ifndef _WIN32
// The same, calling `whileRunning` with the program's process id before waiting for it.
ProgramResult RunProgram(const std::vector<std::filesystem::path>& arguments,
                         const std::function<void(int)>& whileRunning);
#endif
