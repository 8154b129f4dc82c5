// A scratch folder for file tests, removed with everything in it at the end of the test.
#pragma once

#include <filesystem>
#include <string>

#include "files/text.h"

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    // The path of `name` in the folder as the program takes it: joined with a backslash.
    Path PathOf(const std::wstring& name) const;
    // Writes `bytes` to `name` in the folder and returns its path.
    Path Write(const std::wstring& name, const std::string& bytes) const;

  private:
    std::filesystem::path root_;
};

// Makes `folder` the current folder until it goes, whatever way the test ends.
class CurrentFolderChange {
  public:
    explicit CurrentFolderChange(const std::filesystem::path& folder)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~CurrentFolderChange() { std::filesystem::current_path(previous_); }
    CurrentFolderChange(const CurrentFolderChange&) = delete;
    CurrentFolderChange& operator=(const CurrentFolderChange&) = delete;

  private:
    std::filesystem::path previous_;
};

// A program path (backslash separated) as the host's file system names it.
std::filesystem::path OsPath(const Path& path);

// The whole contents of a file, or kMissingFile when it cannot be read.
inline constexpr char kMissingFile[] = "<missing>";
std::string ReadBytes(const Path& path);

// Every file name in a folder, sorted; temporary leftovers of a save show up here.
std::wstring ListFolder(const std::filesystem::path& folder);
