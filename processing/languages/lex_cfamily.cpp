#include <cstring>
#include <string>
#include <vector>

#include "files/byte_scan.h"
#include "processing/header_comment.h"
#include "processing/header_names.h"
#include "processing/languages/cfamily.h"
#include "processing/literal_scan.h"
#include "processing/source_chars.h"

namespace cfamily {

namespace {

using literal_scan::IsLineEnd;
using literal_scan::IsNameByte;
using literal_scan::IsSpaceOrTab;
using source_chars::SourceChars;

constexpr size_t kNone = std::string_view::npos;

// CommentSpan::tokenBefore: whether the token before a comment is a number, and its prefix.
uint8_t TokenBits(literal_scan::LeftToken token) {
    return static_cast<uint8_t>((token.number ? 1 : 0) | static_cast<int>(token.prefix) << 1);
}

literal_scan::LeftToken TokenOf(uint8_t bits) {
    return {(bits & 1) != 0, static_cast<literal_scan::Prefix>(bits >> 1)};
}

// The characters of `text` from `from` on, as the compiler reads them; `mapped` is moved along
// from a position in `text` to the same place in the characters.
std::string_view Characters(std::string_view text, size_t from, SourceLanguage language,
                            std::string& buffer, size_t& mapped) {
    if (std::memchr(text.data() + from, '\\', text.size() - from) == nullptr) {
        mapped = mapped == kNone ? kNone : mapped - from;
        return text.substr(from);
    }
    buffer.clear();
    SourceChars chars(text, language);
    size_t at = kNone;
    for (size_t k = from;;) {
        k = chars.Skip(k);
        if (at == kNone && mapped != kNone && k >= mapped) {
            at = buffer.size();
        }
        if (k >= text.size()) {
            break;
        }
        const auto c = chars.At(k);
        buffer += c.c;
        k = c.end;
    }
    mapped = at;
    return buffer;
}

// True when '#' (or "%:") stands at `k` in C or C++.
bool StartsDirective(SourceChars& chars, size_t k) {
    if (chars.AtEnd(k)) {
        return false;
    }
    const auto c = chars.At(k);
    return c.c == '#' || (c.c == '%' && chars.Peek(c.end) == ':');
}

// Finds the comments of a C, C++ or Java source, and the literals that hold a line end or end in a
// blank (a literal's bytes stay, trailing blanks too), as the compiler reads the source.
class Lexer {
  public:
    Lexer(std::string_view text, SourceLanguage language, CommentSpans& spans)
        : t_(text),
          n_(text.size()),
          language_(language),
          cFamily_(language == SourceLanguage::CFamily),
          chars_(text, language),
          spans_(spans),
          first_(spans.size()) {}

    void Run() {
        i_ = bound_ = ByteOrderMarkLength(t_);
        while (i_ < n_) {
            if (i_ > found_.literalAt) {
                // Past a literal that ended the search for header names: it goes on after it.
                FindHeaderNames(i_, false);
            }
            // Line ends matter in a directive only; elsewhere a '#' (or "%:") is looked at to see
            // whether it starts one. Java's escapes can stand for any of the bytes looked for.
            i_ = inDirective_ ? std::min(byte_scan::FindFirstOf<'/', '"', '\'', '\r', '\n'>(t_, i_),
                                         NextHeaderName())
                 : cFamily_   ? byte_scan::FindFirstOf<'/', '"', '\'', '#', '%'>(t_, i_)
                              : byte_scan::FindFirstOf<'/', '"', '\'', '\\'>(t_, i_);
            if (i_ >= n_) {
                break;
            }
            if (inDirective_ && nextHeaderName_ < found_.names.size() &&
                i_ == found_.names[nextHeaderName_].begin) {
                const size_t end = found_.names[nextHeaderName_++].end;
                Literal(i_, end);
                continue;
            }
            if (IsLineEnd(t_[i_])) {
                EndDirectiveLine();
                continue;
            }
            const auto c = chars_.At(i_);
            switch (c.c) {
                case '/':
                    Slash(c.end);
                    break;
                case '"':
                    DoubleQuote(c.end);
                    break;
                case '\'':
                    SingleQuote(c.end);
                    break;
                case '#':
                case '%':
                    if (StartsDirective(chars_, i_) && AtLineStart(i_)) {
                        FindHeaderNames(c.c == '#' ? c.end : chars_.At(c.end).end, true);
                        inDirective_ = true;
                    }
                    i_ = c.end;
                    break;
                default:
                    // A backslash, or an escape that stands for any other character.
                    i_ = c.end;
                    break;
            }
        }
    }

  private:
    // The token that ends at `end`, read from the last token bound on.
    literal_scan::LeftToken TokenBefore(size_t end) {
        // Only a name, a number or a splice or escape (which ends in a line end or a hex digit)
        // can end in one.
        if (end == bound_) {
            return {};
        }
        const char last = t_[end - 1];
        if (!IsNameByte(last) && last != '.' && last != '+' && last != '-' && !IsLineEnd(last)) {
            return {};
        }
        // A logical line's start is a bound too.
        size_t from = bound_;
        size_t goesOn = goesOn_;
        if (const size_t lineStart = LogicalLineStart(end); lineStart > from) {
            from = lineStart;
            goesOn = kNone;
        }
        const std::string_view text =
            Characters(t_.substr(0, end), from, language_, characters_, goesOn);
        literal_scan::LeftToken token;
        token.number = literal_scan::NumberEndsAt(text, 0, text.size(), goesOn);
        if (cFamily_) {
            token.prefix = literal_scan::PrefixEndsAt(text, 0, text.size(), goesOn);
        }
        return token;
    }

    // The start of the line ending at `end` that no splice continues (not before bound_).
    size_t LogicalLineStart(size_t end) const {
        for (size_t k = end; k > bound_; --k) {
            if (IsLineEnd(t_[k - 1])) {
                const size_t lineEnd = t_.substr(0, k).ends_with("\r\n") ? k - 2 : k - 1;
                if (!cFamily_ || !source_chars::EndsInSplice(t_, 0, lineEnd)) {
                    return k;
                }
                k = lineEnd + 1;
            }
        }
        return bound_;
    }

    // True when only blanks, splices and block comments stand before `k` on its logical line.
    bool AtLineStart(size_t k) const {
        const size_t floor = ByteOrderMarkLength(t_);
        size_t span = spans_.size();
        while (true) {
            while (k > floor && source_chars::IsSpliceBlank(t_[k - 1])) {
                --k;
            }
            if (k == floor) {
                return true;
            }
            if (IsLineEnd(t_[k - 1])) {
                const size_t lineEnd = t_.substr(0, k).ends_with("\r\n") ? k - 2 : k - 1;
                if (!source_chars::EndsInSplice(t_, 0, lineEnd)) {
                    return true;
                }
                k = lineEnd;
                while (t_[k - 1] != '\\') {
                    --k;
                }
                --k;
                continue;
            }
            if (span == first_ || spans_[span - 1].end != k || spans_[span - 1].line ||
                spans_[span - 1].literal) {
                return false;
            }
            k = spans_[--span].begin;
        }
    }

    void FindHeaderNames(size_t from, bool atDirectiveName) {
        header_names::Find(t_, chars_, from, atDirectiveName, found_);
        nextHeaderName_ = 0;
    }

    // Where the next header name found for this directive starts, or kNone.
    size_t NextHeaderName() {
        while (nextHeaderName_ < found_.names.size() && found_.names[nextHeaderName_].begin < i_) {
            ++nextHeaderName_;
        }
        return nextHeaderName_ < found_.names.size() ? found_.names[nextHeaderName_].begin : kNone;
    }

    // A line end in a directive. Without a splice before it, the directive ends.
    void EndDirectiveLine() {
        const bool spliced = source_chars::EndsInSplice(t_, 0, i_);
        i_ += source_chars::LineEndLength(t_, i_);
        if (!spliced) {
            inDirective_ = false;
            found_.names.clear();
            found_.literalAt = kNone;
            bound_ = i_;
            goesOn_ = kNone;
        }
    }

    void Comment(size_t end, bool line) {
        CommentSpan span{i_, end, line};
        if (!line && cFamily_) {
            span.inDirective = inDirective_;
            span.tokenBefore = TokenBits(TokenBefore(i_));
        }
        spans_.push_back(span);
        i_ = bound_ = end;
        goesOn_ = kNone;
    }

    void Slash(size_t after) {
        const char next = chars_.Peek(after);
        if (next == '/') {
            Comment(literal_scan::LineCommentEnd(t_, chars_, i_, language_), true);
        } else if (next == '*') {
            Comment(literal_scan::BlockCommentEnd(t_, chars_, chars_.At(after).end, language_),
                    false);
        } else {
            i_ = after;
        }
    }

    void DoubleQuote(size_t after) {
        if (!cFamily_) {
            const bool textBlock =
                chars_.Peek(after) == '"' && chars_.Peek(chars_.At(after).end) == '"';
            if (textBlock) {
                TextBlock(chars_.At(chars_.At(after).end).end);
            } else {
                Quoted<'"'>(after);
            }
            return;
        }
        if (TokenBefore(i_).prefix == literal_scan::Prefix::Raw) {
            const size_t delimiter = literal_scan::RawDelimiterLength(t_, i_);
            if (delimiter != kNone) {
                RawString(delimiter);
            } else {
                UpToNextQuote();
            }
            return;
        }
        Quoted<'"'>(after);
    }

    void SingleQuote(size_t after) {
        // A digit separator: 1'000, 0x1'F.
        if (cFamily_ && IsNameByte(chars_.Peek(after)) && TokenBefore(i_).number) {
            i_ = bound_ = goesOn_ = after;
            return;
        }
        Quoted<'\''>(after);
    }

    // The literal [begin, end): reported when its lines or its trailing blanks must stay.
    void Literal(size_t begin, size_t end) {
        if (byte_scan::FindEither(t_, begin, '\r', '\n', end) < end ||
            (end > begin && IsSpaceOrTab(t_[end - 1]))) {
            spans_.push_back({begin, end, false, false, true});
        }
        i_ = bound_ = end;
        goesOn_ = kNone;
    }

    size_t AfterLineEnd(size_t k) const { return k + source_chars::LineEndLength(t_, k); }

    // A string or character literal with backslash escapes, from just after its opening quote.
    // In C and C++ a splice continues it, also between an escape's backslash and the character it
    // escapes. Without a splice the literal ends, closed or not, at its line's end (in Java also
    // at an escaped one).
    template <char kQuote>
    void Quoted(size_t after) {
        const size_t begin = i_;
        size_t k = after;
        bool escaping = false;
        while (true) {
            if (!escaping) {
                k = byte_scan::FindFirstOf<kQuote, '\\', '\r', '\n'>(t_, k);
            }
            if (k >= n_) {
                return Literal(begin, n_);
            }
            if (cFamily_ && source_chars::SpliceLength(t_, k) != 0) {
                k = AfterLineEnd(byte_scan::FindEither(t_, k, '\r', '\n'));
                continue;
            }
            const auto c =
                IsLineEnd(t_[k]) || cFamily_ ? SourceChars::Char{t_[k], k + 1} : chars_.At(k);
            if (IsLineEnd(c.c)) {
                return Literal(begin, k);
            }
            if (escaping) {
                escaping = false;
            } else if (c.c == '\\') {
                escaping = true;
            } else if (c.c == kQuote) {
                return Literal(begin, c.end);
            }
            k = c.end;
        }
    }

    void RawString(size_t delimiterLength) {
        const std::string_view delimiter = t_.substr(i_ + 1, delimiterLength);
        for (size_t k = i_ + 2 + delimiterLength;; ++k) {
            k = byte_scan::FindFirstOf<')', '\r', '\n'>(t_, k);
            if (k >= n_) {
                return Literal(i_, n_);
            }
            const size_t quote = k + 1 + delimiterLength;
            if (t_[k] == ')' && quote < n_ && t_[quote] == '"' &&
                t_.substr(k + 1, delimiterLength) == delimiter) {
                return Literal(i_, quote + 1);
            }
        }
    }

    // A raw string prefix and '"' without a valid delimiter: a literal up to the next '"'.
    void UpToNextQuote() {
        const size_t k = byte_scan::FindFirstOf<'"'>(t_, i_ + 1);
        Literal(i_, std::min(k + 1, n_));
    }

    // A Java text block, """ to """, with backslash escapes, from just after its opening quotes.
    void TextBlock(size_t after) {
        for (size_t k = after;;) {
            k = byte_scan::FindFirstOf<'"', '\\', '\r', '\n'>(t_, k);
            if (k >= n_) {
                return Literal(i_, n_);
            }
            if (IsLineEnd(t_[k])) {
                k = AfterLineEnd(k);
                continue;
            }
            const auto c = chars_.At(k);
            k = c.end;
            if (c.c == '\\') {
                // An escape; a backslash before a line end joins the lines.
                if (k < n_ && !IsLineEnd(t_[k])) {
                    k = chars_.At(k).end;
                }
            } else if (c.c == '"' && chars_.Peek(k) == '"' &&
                       chars_.Peek(chars_.At(k).end) == '"') {
                return Literal(i_, chars_.At(chars_.At(k).end).end);
            }
        }
    }

    const std::string_view t_;
    const size_t n_;
    const SourceLanguage language_;
    const bool cFamily_;
    SourceChars chars_;
    CommentSpans& spans_;
    const size_t first_;  // the first span of this text
    size_t i_ = 0;
    // Tokens before bound_ (a literal's or comment's end, a logical line's start) are done; a
    // number goes on at goesOn_ after a digit separator.
    size_t bound_ = 0;
    size_t goesOn_ = kNone;
    std::string characters_;
    // The current directive's header names, [begin, end), with the quote that ended the search
    // for them, and the next one's index.
    header_names::Found found_;
    size_t nextHeaderName_ = 0;
    bool inDirective_ = false;
};

template <SourceLanguage kLanguage>
void Lex(std::string_view text, CommentSpans& spans) {
    Lexer(text, kLanguage, spans).Run();
}

template <SourceLanguage kLanguage>
size_t LeftTail(std::string_view out, size_t, size_t logicalStart, size_t bound,
                CommentSpan& removed, char* tail) {
    thread_local std::string buffer;
    const std::string_view left = Characters(out, logicalStart, kLanguage, buffer, bound);
    if (left.empty() || IsSpaceOrTab(left.back())) {
        return 0;
    }
    if (kLanguage == SourceLanguage::Java) {
        // Removing comments can make escapes in Java (a backslash, a comment, "u0041"): the
        // token before is read in the result.
        removed.tokenBefore =
            TokenBits({literal_scan::NumberEndsAt(left, bound, left.size(), kNone)});
    }
    const size_t size = std::min<size_t>(left.size(), 3);
    left.copy(tail, size, left.size() - size);
    return size;
}

template <SourceLanguage kLanguage>
bool Glues(std::string_view tail, const CommentSpan& removed, std::string_view source, size_t at) {
    SourceChars chars(source, kLanguage);
    char right[3];
    size_t size = 0;
    for (size_t k = at; size < 3 && !chars.AtEnd(k);) {
        const auto c = chars.At(k);
        right[size++] = c.c;
        k = c.end;
    }
    return literal_scan::WouldGlue(tail, TokenOf(removed.tokenBefore),
                                   std::string_view(right, size), kLanguage);
}

// True when a directive starts at `at`: its '#' there, or after blanks and splices.
bool DirectiveAt(std::string_view source, size_t at) {
    SourceChars chars(source, SourceLanguage::CFamily);
    at = chars.Skip(at);
    while (at < source.size() && source_chars::IsSpliceBlank(source[at])) {
        at = chars.Skip(at + 1);
    }
    return StartsDirective(chars, at);
}

template <SourceLanguage kLanguage>
span_passes::Rules MakeRules() {
    span_passes::Rules rules;
    rules.lexer = Lex<kLanguage>;
    rules.headerMarkersWrittenOut = true;
    rules.literalsCloseAtTheEnd = false;
    rules.cutsAtLineStarts = true;
    rules.leftTail = LeftTail<kLanguage>;
    rules.glues = Glues<kLanguage>;
    if (kLanguage == SourceLanguage::CFamily) {
        rules.continuation = span_passes::Continuation::Splice;
        rules.startsDirective = DirectiveAt;
    } else {
        rules.continuation = span_passes::Continuation::None;
    }
    return rules;
}

}  // namespace

const span_passes::Rules& RulesFor(SourceLanguage language) {
    static const span_passes::Rules c = MakeRules<SourceLanguage::CFamily>();
    static const span_passes::Rules java = MakeRules<SourceLanguage::Java>();
    return language == SourceLanguage::Java ? java : c;
}

}  // namespace cfamily
