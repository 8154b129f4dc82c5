// Finding the files to process: the files named, and the sources in the folders named.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_options.h"

struct SourceFile {
    std::filesystem::path path;      // the form that reaches any depth
    std::filesystem::path shown;     // as the user named it, for messages
    std::filesystem::path relative;  // below the PATH it came from; a named file's own name
    std::uintmax_t size = 0;
};

struct SourceList {
    std::vector<SourceFile> files;
    std::vector<std::string> errors;  // "path: reason" for what could not be examined
    // The identities of the files, to keep results from overwriting any of them.
    std::vector<NativeString> identities;
};

// Walks the inputs. Folders are walked recursively for the chosen extensions (any case); links
// to folders are not followed, the output folder is skipped, and a file reached twice is taken
// once. Files are listed folder by folder in name order.
SourceList CollectSources(const CliOptions& options);
