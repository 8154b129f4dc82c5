// Shell (sh, bash, zsh): `#` starts a comment only where a word starts. Quotes (`'…'`, `"…"`,
// `$'…'`), `${…}` (whose `#` is an operator), command substitutions `$(…)` and `` `…` ``,
// arithmetic `$((…))` and `((…))` (whose `<<` is a shift), and here-documents, whose bodies are
// text. The `#!` line stays.
#include <string>
#include <vector>

#include "processing/languages/lexers.h"
#include "processing/languages/lex_scan.h"
#include "processing/line_chars.h"

namespace {

using lex_scan::Escape;
using lex_scan::QuotedEnd;

// Deeper nesting than this is read as plain bytes, so that hostile input cannot run the stack out.
constexpr int kMaxNesting = 64;

// Bytes after which a word starts.
bool EndsWord(char c) {
    switch (c) {
        case ' ':
        case '\t':
        case '\n':
        case '\r':
        case ';':
        case '&':
        case '|':
        case '(':
        case ')':
        case '<':
        case '>':
            return true;
        default:
            return false;
    }
}

// True when `word` stands in `code` at `at` as a whole word.
bool WordAt(std::string_view code, size_t at, std::string_view word) {
    const size_t end = at + word.size();
    return end <= code.size() && code.substr(at, word.size()) == word &&
           (at == 0 || EndsWord(code[at - 1])) && (end == code.size() || EndsWord(code[end]));
}

// How many more `case` than `esac` words stand in `code`: inside a `case`, a `)` ends a pattern.
// Both words hold an `s`, so only the places around one are looked at.
int OpenCases(std::string_view code) {
    int open = 0;
    for (size_t s = code.find('s'); s != std::string_view::npos; s = code.find('s', s + 1)) {
        if (s >= 2 && WordAt(code, s - 2, "case")) {
            ++open;
        } else if (s >= 1 && WordAt(code, s - 1, "esac")) {
            --open;
        }
    }
    return open;
}

struct HereDoc {
    std::string delimiter;
    bool tabsStripped = false;  // `<<-`
};

enum class Context {
    Script,      // to the end of the text
    Command,     // `$(…)`, `(…)`, `<(…)`: to the `)` that closes it
    Arithmetic,  // `$((…))`, `((…))`: to the `))` that closes it; no comments, no here-documents
};

class ShellLexer {
  public:
    ShellLexer(std::string_view text, CommentSpans& spans) : text_(text), spans_(spans) {}

    void Run() { Code(0, Context::Script, 0); }

  private:
    // Reads commands from `i`; returns just past the closing bracket of `context`.
    size_t Code(size_t i, Context context, int depth) {
        size_t casesCounted = i;  // `case` and `esac` words are counted up to here
        int openCases = 0;
        int brackets = 0;
        while (true) {
            // A line end matters only when here-document bodies start after it.
            i = pending_.empty()
                    ? byte_scan::FindFirstOf<'#', '\'', '"', '`', '$', '\\', '<', '(', ')'>(text_,
                                                                                            i)
                    : byte_scan::FindFirstOf<'#', '\'', '"', '`', '$', '\\', '<', '(', ')', '\n'>(
                          text_, i);
            if (i >= text_.size()) {
                return i;
            }
            switch (text_[i]) {
                case '#':
                    i = context != Context::Arithmetic && StartsWord(i) ? Comment(i) : i + 1;
                    break;
                case '\'':
                    i = Closed(Literal(i, QuotedEnd(text_, i + 1, '\'', Escape::None)));
                    break;
                case '"':
                    i = Closed(DoubleQuoted(i + 1, depth));
                    break;
                case '`':
                    i = Closed(Literal(i, QuotedEnd(text_, i + 1, '`', Escape::Backslash)));
                    break;
                case '$':
                    i = Closed(Dollar(i, depth));
                    break;
                case '\\':
                    i = Closed(i + 2);
                    break;
                case '<':
                    i = context == Context::Arithmetic ? i + 1 : Redirection(i, depth);
                    break;
                case '(':
                    if (context != Context::Arithmetic && StartsWord(i) && i + 1 < text_.size() &&
                        text_[i + 1] == '(' && depth < kMaxNesting) {
                        i = Code(i + 2, Context::Arithmetic, depth + 1);
                    } else {
                        ++brackets, ++i;
                    }
                    break;
                case ')':
                    if (brackets > 0) {
                        --brackets, ++i;
                    } else if (context == Context::Arithmetic) {
                        return i + 1 < text_.size() && text_[i + 1] == ')' ? i + 2 : i + 1;
                    } else if (context != Context::Command) {
                        ++i;
                    } else {
                        openCases += OpenCases(text_.substr(casesCounted, i - casesCounted));
                        casesCounted = i;
                        if (openCases <= 0) {
                            return i + 1;
                        }
                        ++i;
                    }
                    break;
                case '\n':
                    i = HereDocBodies(i + 1);
                    break;
            }
        }
    }

    // Marks `end` as the end of a piece of a word: a `#` straight after it is in the word.
    size_t Closed(size_t end) {
        wordGoesOn_ = end;
        return std::min(end, text_.size());
    }

    bool StartsWord(size_t i) const {
        return i == 0 || (i != wordGoesOn_ && EndsWord(text_[i - 1]));
    }

    size_t Comment(size_t i) {
        const size_t end = lex_scan::LineEnd(text_, i);
        if (!(i == 0 && end > 1 && text_[1] == '!')) {
            spans_.push_back({i, end, true, false});
        }
        return end;
    }

    // `"…"`: backslash escapes, and `$…` and `` `…` `` inside.
    // Its text is reported as literals, in pieces around the code of `$(…)` in it.
    size_t DoubleQuoted(size_t i, int depth) {
        size_t piece = i - 1;
        while (true) {
            i = byte_scan::FindFirstOf<'"', '\\', '$', '`'>(text_, i);
            if (i >= text_.size()) {
                return Literal(piece, i);
            }
            switch (text_[i]) {
                case '"':
                    return Literal(piece, i + 1);
                case '\\':
                    i += 2;
                    break;
                case '`':
                    i = QuotedEnd(text_, i + 1, '`', Escape::Backslash);
                    break;
                case '$':
                    Literal(piece, i);
                    i = piece = Dollar(i, depth, true);
                    break;
            }
        }
    }

    // Reports [begin, end) as a literal if it spans lines; returns `end`.
    size_t Literal(size_t begin, size_t end) {
        lex_scan::AddLiteral(text_, begin, end, spans_);
        return end;
    }

    // What follows a `$` at `i`: `$(…)`, `$((…))`, `${…}`, `$'…'` and `$"…"` (not in a `"…"`),
    // or a parameter such as `$#`.
    size_t Dollar(size_t i, int depth, bool quoted = false) {
        if (i + 1 >= text_.size()) {
            return i + 1;
        }
        const bool nests = depth < kMaxNesting;
        switch (text_[i + 1]) {
            case '(':
                if (!nests) {
                    return i + 2;
                }
                if (i + 2 < text_.size() && text_[i + 2] == '(') {
                    return Code(i + 3, Context::Arithmetic, depth + 1);
                }
                return Code(i + 2, Context::Command, depth + 1);
            case '{':
                return nests ? Parameter(i + 2, depth + 1) : i + 2;
            case '\'':
                return quoted ? i + 1
                              : Literal(i, QuotedEnd(text_, i + 2, '\'', Escape::Backslash));
            case '"':
                return quoted ? i + 1 : DoubleQuoted(i + 2, depth);
            default:
                return i + 2;
        }
    }

    // `${…}`: no comments; quotes and further `$…` inside. Returns just past its `}`.
    size_t Parameter(size_t i, int depth) {
        while (true) {
            i = byte_scan::FindFirstOf<'}', '\\', '\'', '"', '$', '`'>(text_, i);
            if (i >= text_.size()) {
                return i;
            }
            switch (text_[i]) {
                case '}':
                    return i + 1;
                case '\\':
                    i += 2;
                    break;
                case '\'':
                    i = QuotedEnd(text_, i + 1, '\'', Escape::None);
                    break;
                case '"':
                    i = DoubleQuoted(i + 1, depth);
                    break;
                case '`':
                    i = QuotedEnd(text_, i + 1, '`', Escape::Backslash);
                    break;
                case '$':
                    i = Dollar(i, depth);
                    break;
            }
        }
    }

    // `<` at `i`: `<<<` (a here-string), `<<WORD` and `<<-WORD` (here-documents, whose bodies
    // follow the line), `<(…)` (a process substitution), or a plain redirection.
    size_t Redirection(size_t i, int depth) {
        if (i + 1 < text_.size() && text_[i + 1] == '(' && depth < kMaxNesting) {
            return Closed(Code(i + 2, Context::Command, depth + 1));
        }
        if (i + 1 >= text_.size() || text_[i + 1] != '<') {
            return i + 1;
        }
        if (i + 2 < text_.size() && text_[i + 2] == '<') {
            return i + 3;
        }
        HereDoc doc;
        i += 2;
        if (i < text_.size() && text_[i] == '-') {
            doc.tabsStripped = true;
            ++i;
        }
        while (i < text_.size() && IsSpaceOrTab(text_[i])) {
            ++i;
        }
        // The delimiter is the word with its quotes taken off.
        while (i < text_.size() && !EndsWord(text_[i])) {
            const char c = text_[i];
            if (c == '\'' || c == '"') {
                const size_t end = QuotedEnd(text_, i + 1, c, Escape::None);
                doc.delimiter.append(text_.substr(i + 1, end - i - 2 + (end == text_.size())));
                i = end;
            } else if (c == '\\' && i + 1 < text_.size()) {
                doc.delimiter += text_[i + 1];
                i += 2;
            } else {
                doc.delimiter += c;
                ++i;
            }
        }
        if (!doc.delimiter.empty()) {
            pending_.push_back(std::move(doc));
        }
        return i;
    }

    // The bodies of the here-documents begun on the line that ended just before `i`.
    size_t HereDocBodies(size_t i) {
        for (const HereDoc& doc : pending_) {
            const size_t end = lex_scan::HereDocEnd(
                text_, i, doc.delimiter,
                doc.tabsStripped ? lex_scan::Indent::Tabs : lex_scan::Indent::None, true);
            Literal(i, end);
            i = lex_scan::NextLineStart(text_, end);
        }
        pending_.clear();
        return i;
    }

    std::string_view text_;
    CommentSpans& spans_;
    std::vector<HereDoc> pending_;
    size_t wordGoesOn_ = std::string_view::npos;
};

}  // namespace

void LexShell(std::string_view text, CommentSpans& spans) {
    ShellLexer(text, spans).Run();
}
