// Where a result goes: standard output, a file under the output folder, or the source itself.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_options.h"
#include "cli/console.h"
#include "cli/tree_walk.h"

class ResultWriter {
  public:
    // `inputs` are the identities of every source of the run (taken over): no result may
    // overwrite one.
    ResultWriter(const CliOptions& options, Console& console, std::vector<NativeString> inputs);

    // Writes `text` followed by `ending` as the result of `file`; empty on success, otherwise
    // why it failed.
    std::string Write(const SourceFile& file, std::string_view text, std::string_view ending) const;

  private:
    std::string WriteUnderOutFolder(const SourceFile& file, std::string_view text,
                                    std::string_view ending) const;
    std::string ReplaceSource(const SourceFile& file, std::string_view text,
                              std::string_view ending) const;

    const CliOptions& options_;
    Console& console_;
    std::filesystem::path outFolder_;
    std::vector<NativeString> inputs_;  // sorted
    unsigned generation_ = 0;           // tells this writer from earlier ones
};
