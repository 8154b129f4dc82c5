// Making an exhibit: the sources found, counted and ordered, the pages chosen and laid out, and
// the PDF, the Word document and the summary written. The front ends only fill the options and
// show the outcome.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "exhibit/exhibit_options.h"

struct ExhibitOutcome {
    std::string error;                           // nothing was written when set
    std::vector<std::filesystem::path> written;  // the PDF, the summary, the Word document
    std::uintmax_t files = 0;
    std::uintmax_t lines = 0;         // after stripping: the program's size
    std::uintmax_t programPages = 0;  // at the chosen lines per page
    std::uintmax_t pages = 0;         // in the exhibit
    std::uintmax_t wrappedLines = 0;
    std::vector<std::string> warnings;
};

struct ExhibitProgress {
    // Called from the working thread with the files counted so far and the files found.
    std::function<void(std::uintmax_t done, std::uintmax_t total)> update;
    const std::atomic<bool>* cancel = nullptr;  // set to stop at the next file
};

// The summary beside the PDF: the PDF's name with ".txt".
std::filesystem::path SummaryPathFor(const std::filesystem::path& pdf);

// A file name made from the software's name: characters no file name may hold become '_'.
std::string FileNameFor(const std::string& name);

ExhibitOutcome MakeExhibit(const ExhibitOptions& options, const ExhibitProgress& progress = {});
