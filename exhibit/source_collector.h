// Finding the sources of an exhibit under its project folders, and naming what is left out.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "exhibit/exhibit_options.h"

struct CollectedFile {
    std::filesystem::path path;
    std::string shown;  // UTF-8, '/'-separated, relative to its project folder
    std::uintmax_t size = 0;
};

struct LeftOut {
    std::string shown;
    std::string reason;
};

struct Collection {
    std::vector<CollectedFile> files;  // folder by folder: a folder's files, then its folders
    std::vector<LeftOut> leftOut;
    std::vector<std::string> warnings;
    std::string error;  // a project folder that cannot be read: nothing to make
};

// Walks the project folders. Links to folders are not followed.
Collection CollectSources(const ExhibitOptions& options);

// True when a file of `size` bytes holding `lines` lines looks generated or minified.
bool LooksGenerated(std::uintmax_t size, std::uintmax_t lines);
