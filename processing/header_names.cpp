#include "processing/header_names.h"

#include <string>

#include "processing/literal_scan.h"

namespace header_names {

namespace {

using literal_scan::IsLineEnd;
using literal_scan::IsNameByte;

class Search {
  public:
    Search(std::string_view text, source_chars::SourceChars& chars) : t_(text), chars_(chars) {}

    Found From(size_t k, bool first) {
        Found found;
        enum class Expect { Nothing, Parenthesis, HeaderName } expect = Expect::Nothing;
        for (;; first = false) {
            k = SkipBlanksAndComments(k);
            if (!OnLine(k)) {
                return found;
            }
            auto c = chars_.At(k);
            if (IsNameByte(c.c)) {
                std::string name;
                for (; IsNameByte(c.c); c = chars_.At(k)) {
                    name += c.c;
                    k = c.end;
                    if (chars_.AtEnd(k)) {
                        break;
                    }
                }
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
                return found;
            } else if (c.c == '/' && chars_.Peek(c.end) == '/') {
                return found;
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

Found Find(std::string_view text, source_chars::SourceChars& chars, size_t from,
           bool atDirectiveName) {
    return Search(text, chars).From(from, atDirectiveName);
}

}  // namespace header_names
