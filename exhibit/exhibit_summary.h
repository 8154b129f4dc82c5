// The plain-text summary beside the exhibit: what the form asks for (the program's size in lines)
// and how the document was made from the sources.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "exhibit/exhibit_options.h"
#include "exhibit/page_choice.h"
#include "exhibit/source_collector.h"

struct SummaryFile {
    std::string shown;
    std::uintmax_t lines = 0;
    std::uintmax_t firstRow = 0;  // the program's rows, from 0
    std::uintmax_t rows = 0;
};

struct SummaryInput {
    const ExhibitOptions& options;
    const PageChoice& pages;
    std::uintmax_t lines = 0;
    std::uintmax_t wrappedLines = 0;
    std::vector<SummaryFile> files;  // in the exhibit's order
    const std::vector<LeftOut>& leftOut;
    const std::vector<std::string>& warnings;
};

// UTF-8 with a byte order mark and CR LF line ends, as Notepad shows it.
std::string SummaryText(const SummaryInput& input);
