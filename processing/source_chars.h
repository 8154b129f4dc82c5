// The characters a compiler reads from a source's bytes, before it looks for any token. In C and
// C++ a backslash and the line end after it splice two lines into one and are no character at all;
// gcc and clang accept spaces, tabs, form feeds and vertical tabs between the two. In Java a
// Unicode escape (`\u0041`, with any number of `u`s) is the one character it stands for, unless
// its backslash follows an odd number of backslashes. The passes look for comments and literals
// in these characters and copy the source's own bytes.
#pragma once

#include <cstddef>
#include <string_view>

#include "processing/strip_options.h"

namespace source_chars {

inline bool IsSpliceBlank(char c) {
    return c == ' ' || c == '\t' || c == '\f' || c == '\v';
}

// The length of the line end at `k` (CR LF, CR or LF), 0 when there is none.
inline size_t LineEndLength(std::string_view text, size_t k) {
    if (k >= text.size() || (text[k] != '\r' && text[k] != '\n')) {
        return 0;
    }
    return text[k] == '\r' && k + 1 < text.size() && text[k + 1] == '\n' ? 2 : 1;
}

// The length of the splice at `k` (a backslash, blanks, a line end), 0 when none starts there.
inline size_t SpliceLength(std::string_view text, size_t k) {
    if (k >= text.size() || text[k] != '\\') {
        return 0;
    }
    size_t end = k + 1;
    while (end < text.size() && IsSpliceBlank(text[end])) {
        ++end;
    }
    const size_t lineEnd = LineEndLength(text, end);
    return lineEnd == 0 ? 0 : end + lineEnd - k;
}

// True when the text before `end`, blanks aside, ends in a backslash: a line ending at `end` is
// spliced to the next. Looks no further back than `from`.
inline bool EndsInSplice(std::string_view text, size_t from, size_t end) {
    while (end > from && IsSpliceBlank(text[end - 1])) {
        --end;
    }
    return end > from && text[end - 1] == '\\';
}

class SourceChars {
  public:
    SourceChars(std::string_view text, SourceLanguage language)
        : text_(text), splices_(language == SourceLanguage::CFamily) {}

    struct Char {
        char c;      // a character past U+007F is 0x80, which reads as a part of a name
        size_t end;  // just after its bytes
    };

    // The first position at or after `k` where no splice starts.
    size_t Skip(size_t k) const {
        if (splices_) {
            while (const size_t length = SpliceLength(text_, k)) {
                k += length;
            }
        }
        return k;
    }

    // The character whose bytes start at `k`, splices before it included; `k` is before the end
    // of the text once the splices are passed over (see AtEnd).
    Char At(size_t k) {
        k = Skip(k);
        if (!splices_ && text_[k] == '\\') {
            return Escape(k);
        }
        return {text_[k], k + 1};
    }

    bool AtEnd(size_t k) const { return Skip(k) >= text_.size(); }

    // The character at `k`, or '\0' at the end.
    char Peek(size_t k) { return AtEnd(k) ? '\0' : At(k).c; }

  private:
    Char Escape(size_t k);

    std::string_view text_;
    bool splices_;
    // The last backslash found to begin an escape or not, as the next one's answer depends on it.
    size_t lastBackslash_ = std::string_view::npos;
    bool lastBackslashEligible_ = false;
};

}  // namespace source_chars
