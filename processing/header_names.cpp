#include "processing/header_names.h"

#include <algorithm>

#include "processing/literal_scan.h"

namespace header_names {

namespace {

using literal_scan::IsLineEnd;
using literal_scan::IsNameByte;

class Search {
  public:
    Search(std::string_view text, source_chars::SourceChars& chars) : t_(text), chars_(chars) {}

    void From(size_t k, bool first, Found& found) {
        found.names.clear();
        found.literalAt = std::string_view::npos;
        enum class Expect { Nothing, Parenthesis, HeaderName } expect = Expect::Nothing;
        for (;; first = false) {
            k = SkipBlanksAndComments(k);
            if (!OnLine(k)) {
                return;
            }
            auto c = chars_.At(k);
            if (IsNameByte(c.c)) {
                // The names looked for are short: a longer one is none of them.
                char spelled[20];
                size_t length = 0;
                for (; IsNameByte(c.c); c = chars_.At(k)) {
                    spelled[std::min(length++, sizeof spelled - 1)] = c.c;
                    k = c.end;
                    if (chars_.AtEnd(k)) {
                        break;
                    }
                }
                const std::string_view name(spelled, length <= sizeof spelled ? length : 0);
                const bool includes =
                    name == "include" || name == "include_next" || name == "import";
                const bool hasInclude = name == "__has_include" || name == "__has_include_next";
                expect = first && includes ? Expect::HeaderName
                         : hasInclude      ? Expect::Parenthesis
                                           : Expect::Nothing;
                continue;
            }
            if (c.c == '(' && expect == Expect::Parenthesis) {
                expect = Expect::HeaderName;
            } else if (c.c == '<' && expect == Expect::HeaderName) {
                for (size_t m = c.end; OnLine(m);) {
                    const auto d = chars_.At(m);
                    m = d.end;
                    if (d.c == '>') {
                        found.names.push_back({k, m});
                        c.end = m;
                        break;
                    }
                }
                expect = Expect::Nothing;
            } else if (c.c == '"' || c.c == '\'') {
                found.literalAt = k;
                return;
            } else if (c.c == '/' && chars_.Peek(c.end) == '/') {
                return;
            } else {
                expect = Expect::Nothing;
            }
            k = c.end;
        }
    }

  private:
    // True when a character of the current logical line starts at `k`.
    bool OnLine(size_t k) const {
        k = chars_.Skip(k);
        return k < t_.size() && !IsLineEnd(t_[k]);
    }

    // Passes over blanks and block comments from `k` on the current logical line.
    size_t SkipBlanksAndComments(size_t k) {
        while (true) {
            k = chars_.Skip(k);
            if (k < t_.size() && source_chars::IsSpliceBlank(t_[k])) {
                ++k;
                continue;
            }
            if (k >= t_.size() || t_[k] != '/') {
                return k;
            }
            const auto slash = chars_.At(k);
            if (chars_.Peek(slash.end) != '*') {
                return k;
            }
            k = literal_scan::BlockCommentEnd(t_, chars_, chars_.At(slash.end).end,
                                              SourceLanguage::CFamily);
        }
    }

    std::string_view t_;
    source_chars::SourceChars& chars_;
};

}  // namespace

void Find(std::string_view text, source_chars::SourceChars& chars, size_t from,
          bool atDirectiveName, Found& found) {
    Search(text, chars).From(from, atDirectiveName, found);
}

}  // namespace header_names
