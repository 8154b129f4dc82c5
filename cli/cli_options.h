// The command line: what the options mean and how they are read.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/native_text.h"

enum class LineEnds {
    Keep,  // the source's first line end
    CrLf,  // the window's line ends
    Lf,
};

struct CliOptions {
    std::vector<std::filesystem::path> inputs;
    std::optional<std::filesystem::path> outFolder;
    bool inPlace = false;
    bool literals = false;
    bool keepHeader = false;
    std::string language;  // --lang: the name of the language every input is read as
    bool listLanguages = false;
    LineEnds lineEnds = LineEnds::Keep;
    // Lower case, without the dot.
    std::vector<NativeString> extensions;
    bool check = false;
    unsigned jobs = 0;  // 0: one per processor
    // With more than one job, a C, C++ or Java file of this many bytes or more is stripped in two
    // parts at once.
    size_t splitFrom = size_t{4} << 20;
    bool quiet = false;
    bool help = false;
    bool version = false;

    // With neither --out nor --in-place, the one result goes to standard output.
    bool ToStandardOutput() const { return !outFolder && !inPlace && !check; }
    // The one input is "-": the source comes from standard input.
    bool FromStandardInput() const;
};

struct ParsedArguments {
    CliOptions options;
    std::string error;  // bad usage when not empty
};

// Reads the arguments after the program name. Touches no file.
ParsedArguments ParseArguments(const std::vector<NativeString>& arguments);

// How many files are processed at once.
unsigned WorkerCount(const CliOptions& options);

// From what size a file is read and stripped in two parts at once: with one job, never (SIZE_MAX).
size_t SplitFrom(const CliOptions& options);

// The short usage text, ending in a line end.
std::string_view UsageText();
