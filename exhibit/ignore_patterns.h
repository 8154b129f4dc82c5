// Patterns in the form of a .gitignore file: what a project's own ignore files and `--exclude`
// leave out of the exhibit.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class IgnorePatterns {
  public:
    // Adds the patterns of one .gitignore file (or of one `--exclude`), each line one pattern,
    // taken relative to `base` ("" or a relative folder path ending in '/').
    void Add(std::string_view lines, const std::string& base);

    // True when the last pattern matching `path` (relative, '/'-separated) ignores it.
    bool Ignores(std::string_view path, bool isFolder) const;

  private:
    struct Pattern {
        std::string base;
        std::string glob;
        bool negated = false;
        bool foldersOnly = false;
        bool anchored = false;  // matched against the path below `base`, not the name alone
    };
    std::vector<Pattern> patterns_;
};

// True when `text` matches the glob `pattern`: `*` and `?` stay within one path part, `**/`
// spans any number of folders, `[...]` is a set of characters.
bool GlobMatches(std::string_view pattern, std::string_view text);
