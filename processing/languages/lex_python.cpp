// Python: `#` comments; strings with any prefix and triple quotes; f-strings whose replacement
// fields hold code, with strings, comments and further f-strings in it (as Python 3.12 reads
// them). The `#!` line and the encoding line stay.
#include "files/byte_scan.h"
#include "processing/languages/lexers.h"
#include "processing/languages/lex_scan.h"
#include "processing/line_chars.h"

namespace {

using lex_scan::IsWordByte;

// Nesting beyond this (f-strings in f-strings) is read as plain strings, so that hostile input
// cannot run the stack out.
constexpr int kMaxNesting = 64;

struct Prefix {
    bool valid = false;
    bool raw = false;
    bool formatted = false;
};

// The string prefix in [begin, end): `r u b f` and the pairs `rb br fr rf`, in any case.
Prefix ReadPrefix(std::string_view text, size_t begin, size_t end) {
    Prefix prefix;
    if (end - begin > 2) {
        return prefix;
    }
    int others = 0;  // `b`, `f` or `u`
    for (size_t i = begin; i < end; ++i) {
        switch (text[i] | 0x20) {
            case 'r':
                prefix.raw = true;
                break;
            case 'f':
                prefix.formatted = true, ++others;
                break;
            case 'b':
            case 'u':
                ++others;
                break;
            default:
                return prefix;
        }
    }
    const auto lower = [&](size_t k) { return static_cast<char>(text[k] | 0x20); };
    prefix.valid = end - begin < 2 ||
                   (prefix.raw && others == 1 && lower(begin) != 'u' && lower(begin + 1) != 'u');
    return prefix;
}

// `# … coding[:=] name`, as Python looks for the source's encoding.
bool DeclaresEncoding(std::string_view comment) {
    for (size_t at = comment.find("coding"); at != std::string_view::npos;
         at = comment.find("coding", at + 1)) {
        size_t i = at + 6;
        if (i >= comment.size() || (comment[i] != ':' && comment[i] != '=')) {
            continue;
        }
        ++i;
        while (i < comment.size() && IsSpaceOrTab(comment[i])) {
            ++i;
        }
        if (i < comment.size() &&
            (IsWordByte(comment[i]) || comment[i] == '-' || comment[i] == '.')) {
            return true;
        }
    }
    return false;
}

// True when only spaces, tabs and form feeds stand in [from, to).
bool OnlyIndent(std::string_view text, size_t from, size_t to) {
    for (size_t i = from; i < to; ++i) {
        if (text[i] != ' ' && text[i] != '\t' && text[i] != '\f') {
            return false;
        }
    }
    return true;
}

class PythonLexer {
  public:
    PythonLexer(std::string_view text, CommentSpans& spans)
        : text_(text),
          spans_(spans),
          secondLine_(lex_scan::NextLineStart(text, 0)),
          thirdLine_(lex_scan::NextLineStart(text, secondLine_)) {}

    void Run() { Code(0, 0, false); }

  private:
    // Reads code from `i`. In a replacement field (`inField`), stops at the field's `}` (returning
    // just past it) or at the `:` that starts its format (returning just past the whole field).
    size_t Code(size_t i, int depth, bool inField) {
        int brackets = 0;
        while (true) {
            i = inField ? byte_scan::FindFirstOf<'#', '\'', '"', '(', '[', '{', ')', ']', '}', ':'>(
                              text_, i)
                        : byte_scan::FindFirstOf<'#', '\'', '"'>(text_, i);
            if (i >= text_.size()) {
                return i;
            }
            switch (text_[i]) {
                case '#':
                    i = Comment(i);
                    break;
                case '\'':
                case '"':
                    i = String(i, depth);
                    break;
                case '(':
                case '[':
                case '{':
                    ++brackets, ++i;
                    break;
                case ')':
                case ']':
                    brackets -= brackets > 0, ++i;
                    break;
                case '}':
                    if (brackets == 0) {
                        return i + 1;
                    }
                    --brackets, ++i;
                    break;
                case ':':
                    if (brackets == 0) {
                        return FieldFormat(i + 1, depth);
                    }
                    ++i;
                    break;
            }
        }
    }

    size_t Comment(size_t i) {
        const size_t end = lex_scan::LineEnd(text_, i);
        const bool shebang = i == 0 && end > 1 && text_[1] == '!';
        if (!shebang && !IsEncodingLine(i, end)) {
            spans_.push_back({i, end, true, false});
        }
        return end;
    }

    // The encoding line: alone on the first line, or on the second after a blank or comment line.
    bool IsEncodingLine(size_t i, size_t end) const {
        if (i >= thirdLine_) {
            return false;
        }
        const size_t lineStart = i < secondLine_ ? 0 : secondLine_;
        if (!OnlyIndent(text_, lineStart, i) || !DeclaresEncoding(text_.substr(i, end - i))) {
            return false;
        }
        if (lineStart == 0) {
            return true;
        }
        size_t first = 0;
        while (first < secondLine_ && OnlyIndent(text_, first, first + 1)) {
            ++first;
        }
        return first == secondLine_ || text_[first] == '#' || text_[first] == '\r' ||
               text_[first] == '\n';
    }

    // A string whose opening quote is at `quote`; returns just past its end.
    size_t String(size_t quote, int depth) {
        size_t begin = quote;
        while (begin > 0 && IsWordByte(text_[begin - 1])) {
            --begin;
        }
        Prefix prefix = ReadPrefix(text_, begin, quote);
        const char q = text_[quote];
        const bool triple =
            quote + 2 < text_.size() && text_[quote + 1] == q && text_[quote + 2] == q;
        size_t i = quote + (triple ? 3 : 1);
        const bool formatted = prefix.valid && prefix.formatted && depth < kMaxNesting;
        size_t piece = quote;  // where the literal text not yet reported starts
        const auto ends = [&](size_t end) {
            lex_scan::AddLiteral(text_, piece, end, spans_);
            return end;
        };
        while (i < text_.size()) {
            const char c = text_[i];
            if (c == q) {
                if (!triple) {
                    return ends(i + 1);
                }
                if (i + 2 < text_.size() && text_[i + 2] == q && text_[i + 1] == q) {
                    return ends(i + 3);
                }
                ++i;
            } else if (c == '\\') {
                i += Escape(i, formatted, prefix.raw);
            } else if ((c == '\n' || c == '\r') && !triple) {
                return quote + 1;  // left open: Python reads on after the lone quote
            } else if (formatted && c == '{' && i + 1 < text_.size() && text_[i + 1] == '{') {
                i += 2;
            } else if (formatted && c == '{') {
                ends(i + 1);
                i = piece = Code(i + 1, depth + 1, true);
            } else {
                i = q == '"' ? byte_scan::FindFirstOf<'"', '\\', '\n', '\r', '{'>(text_, i + 1)
                             : byte_scan::FindFirstOf<'\'', '\\', '\n', '\r', '{'>(text_, i + 1);
            }
        }
        return ends(std::min(i, text_.size()));
    }

    // The length of the escape at `i`: a field's brace after it is still a brace, and `\N{…}`
    // names a character.
    size_t Escape(size_t i, bool formatted, bool raw) const {
        if (i + 1 >= text_.size()) {
            return 1;
        }
        const char next = text_[i + 1];
        if (formatted && (next == '{' || next == '}')) {
            return 1;
        }
        if (formatted && !raw && next == 'N' && i + 2 < text_.size() && text_[i + 2] == '{') {
            const size_t close = text_.find('}', i + 3);
            return close == std::string_view::npos ? text_.size() - i : close + 1 - i;
        }
        return 2;
    }

    // A field's format (after its `:`): text with nested fields, ended by the field's `}`.
    size_t FieldFormat(size_t i, int depth) {
        while (i < text_.size()) {
            const char c = text_[i];
            if (c == '}') {
                return i + 1;
            }
            i = c == '{' ? Code(i + 1, depth + 1, true) : i + 1;
        }
        return i;
    }

    std::string_view text_;
    CommentSpans& spans_;
    size_t secondLine_;
    size_t thirdLine_;
};

}  // namespace

void LexPython(std::string_view text, CommentSpans& spans) {
    PythonLexer(text, spans).Run();
}
