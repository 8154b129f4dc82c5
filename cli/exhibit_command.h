// `orvandel-cli exhibit`: the source exhibit from the command line.
#pragma once

#include <vector>

#include "cli/console.h"
#include "cli/native_text.h"

// Runs the subcommand with the arguments after "exhibit"; returns the exit status.
int RunExhibitCommand(const std::vector<NativeString>& arguments, Console& console);
