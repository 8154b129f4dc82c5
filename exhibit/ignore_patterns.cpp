#include "exhibit/ignore_patterns.h"

namespace {

// Matches a `[...]` set at pattern[p] against `c`; `end` receives the position after it, or
// npos when the set is not closed (then '[' is an ordinary character).
bool SetMatches(std::string_view pattern, size_t p, char c, size_t& end) {
    size_t i = p + 1;
    const bool negated = i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^');
    if (negated) {
        ++i;
    }
    bool matched = false;
    for (bool first = true; i < pattern.size() && (first || pattern[i] != ']'); first = false) {
        char low = pattern[i];
        if (low == '\\' && i + 1 < pattern.size()) {
            low = pattern[++i];
        }
        char high = low;
        if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
            high = pattern[i + 2];
            i += 2;
        }
        matched = matched || (c >= low && c <= high);
        ++i;
    }
    if (i >= pattern.size()) {
        end = std::string_view::npos;
        return false;
    }
    end = i + 1;
    return matched != negated;
}

}  // namespace

bool GlobMatches(std::string_view pattern, std::string_view text) {
    if (pattern.starts_with("**/")) {
        for (size_t i = 0;; i = text.find('/', i) + 1) {
            if (GlobMatches(pattern.substr(3), text.substr(i))) {
                return true;
            }
            if (text.find('/', i) == std::string_view::npos) {
                return false;
            }
        }
    }
    if (pattern == "**") {
        return true;
    }
    if (pattern.empty()) {
        return text.empty();
    }
    const char p = pattern[0];
    if (p == '*') {
        for (size_t i = 0;; ++i) {
            if (GlobMatches(pattern.substr(1), text.substr(i))) {
                return true;
            }
            if (i == text.size() || text[i] == '/') {
                return false;
            }
        }
    }
    if (text.empty()) {
        return false;
    }
    if (p == '?') {
        return text[0] != '/' && GlobMatches(pattern.substr(1), text.substr(1));
    }
    if (p == '[') {
        size_t end = 0;
        const bool matched = SetMatches(pattern, 0, text[0], end);
        if (end != std::string_view::npos) {
            return matched && text[0] != '/' && GlobMatches(pattern.substr(end), text.substr(1));
        }
    }
    if (p == '\\' && pattern.size() > 1) {
        return text[0] == pattern[1] && GlobMatches(pattern.substr(2), text.substr(1));
    }
    return text[0] == p && GlobMatches(pattern.substr(1), text.substr(1));
}

void IgnorePatterns::Add(std::string_view lines, const std::string& base) {
    while (!lines.empty()) {
        const size_t end = std::min(lines.find('\n'), lines.size());
        std::string_view line = lines.substr(0, end);
        lines.remove_prefix(std::min(end + 1, lines.size()));
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        while (line.ends_with(' ') && !line.ends_with("\\ ")) {
            line.remove_suffix(1);
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        Pattern pattern;
        pattern.base = base;
        if (line[0] == '!') {
            pattern.negated = true;
            line.remove_prefix(1);
        }
        if (line.ends_with('/')) {
            pattern.foldersOnly = true;
            line.remove_suffix(1);
        }
        pattern.anchored = line.find('/') != std::string_view::npos;
        if (line.starts_with('/')) {
            line.remove_prefix(1);
        }
        if (!line.empty()) {
            pattern.glob = line;
            patterns_.push_back(std::move(pattern));
        }
    }
}

bool IgnorePatterns::Ignores(std::string_view path, bool isFolder) const {
    const size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    for (auto it = patterns_.rbegin(); it != patterns_.rend(); ++it) {
        if ((it->foldersOnly && !isFolder) || !path.starts_with(it->base)) {
            continue;
        }
        const std::string_view below = path.substr(it->base.size());
        if (GlobMatches(it->glob, it->anchored ? below : name)) {
            return !it->negated;
        }
    }
    return false;
}
