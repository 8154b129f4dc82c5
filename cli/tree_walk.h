// Finding the files to process: the files named, and the sources in the folders named.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_options.h"

// Kept as plain strings: a large tree lists many files, and a path object holds each of its parts
// again.
struct SourceFile {
    NativeString shown;        // as the user named it, for messages
    size_t relativeStart = 0;  // where the part below its PATH (a named file: its name) starts
    std::uintmax_t size = 0;

    // The form that reaches any depth.
    std::filesystem::path Path() const { return ReachablePath(shown); }
    NativeString Relative() const { return shown.substr(relativeStart); }
};

struct SourceList {
    std::vector<SourceFile> files;
    std::vector<std::string> errors;  // "path: reason" for what could not be examined
    // The identities of the files, to keep results from overwriting any of them.
    std::vector<NativeString> identities;
};

// Walks the inputs. Folders are walked recursively for the chosen extensions (any case); links
// to folders are not followed, and a file reached twice is taken once. Files are listed folder by
// folder in name order.
SourceList CollectSources(const CliOptions& options);
