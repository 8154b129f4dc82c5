// One file from its source to its written result.
#pragma once

#include <cstdint>
#include <string>

#include "cli/cli_options.h"
#include "cli/result_writer.h"
#include "cli/tree_walk.h"

struct FileOutcome {
    std::string error;  // "path: reason" when the file failed
    bool changed = false;
    std::uintmax_t bytesIn = 0;
    std::uintmax_t bytesOut = 0;
};

// The passes over `text`, read from `path`, in the language --lang names or else the one the file's
// name or `#!` line tells, with the chosen line ends. Returns the result's last line end, which
// `text` leaves off, as the passes do.
std::string_view StripSource(AnsiText& text, const Path& path, const CliOptions& options);

// Reads the file, applies both passes and the chosen line ends, and writes the result (nothing
// with --check).
FileOutcome ProcessFile(const SourceFile& file, const CliOptions& options,
                        const ResultWriter& writer);
