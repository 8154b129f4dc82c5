// Paths of any length for the POSIX *at file functions.
#pragma once

#include <fcntl.h>

#include <string>
#include <string_view>

#include "files/unique_fd_posix.h"

// A path as a folder descriptor and a name in it: the system takes no path of PATH_MAX bytes or
// more, but any name relative to an open folder.
class ReachedPath {
  public:
    // The folder for the *at functions: the current folder when the path is short.
    int Folder() const { return folder_.Valid() ? folder_.Get() : AT_FDCWD; }
    const char* Name() const { return name_.c_str(); }
    // False, with errno set, when a folder on the way cannot be opened.
    bool Reached() const { return reached_; }

  private:
    friend ReachedPath Reach(std::string_view path);
    UniqueFd folder_;
    std::string name_;
    bool reached_ = true;
};

// `path` (with '/' separators) as the *at functions take it: unchanged when short; otherwise its
// folder is opened a part at a time and the last name is taken relative to it.
ReachedPath Reach(std::string_view path);
