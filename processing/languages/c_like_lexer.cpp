#include "processing/languages/c_like_lexer.h"

#include <array>
#include <vector>

#include "files/byte_scan.h"
#include "processing/line_chars.h"

namespace c_like {

namespace {

constexpr size_t kNone = std::string_view::npos;

bool IsWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return static_cast<unsigned>((u | 0x20) - 'a') < 26u || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || u >= 0x80;
}

// The words after which an operand, and so a regular expression, comes.
bool IsOperandKeyword(std::string_view word) {
    static constexpr std::string_view kWords[] = {"return", "typeof", "instanceof", "in",    "of",
                                                  "new",    "delete", "void",       "throw", "case",
                                                  "do",     "else",   "yield",      "await"};
    for (std::string_view keyword : kWords) {
        if (word == keyword) {
            return true;
        }
    }
    return false;
}

enum class Mode : uint8_t { Code, String, JsxTag, JsxChildren };

struct Frame {
    explicit Frame(Mode mode = Mode::Code, char closer = 0) : mode(mode), closer(closer) {}
    Mode mode;
    char closer;  // Code in a hole or JSX braces: the byte that ends it at depth 0
    int depth = 0;
    size_t pieceBegin = 0;  // String: where the piece of it being read began
    StringForm form;
};

class Lexer {
  public:
    Lexer(const Rules& rules, std::string_view text, CommentSpans& spans)
        : rules_(rules), t_(text), n_(text.size()), spans_(spans), first_(spans.size()) {
        for (char c : std::string_view("/{}()")) {
            special_[static_cast<unsigned char>(c)] = true;
        }
        for (char c : rules.quotes) {
            special_[static_cast<unsigned char>(c)] = true;
        }
        if (rules.jsx != Jsx::None) {
            special_['<'] = true;
        }
    }

    void Run() {
        size_t i = 0;
        if (rules_.shebang && t_.starts_with("#!")) {
            i = byte_scan::FindEither(t_, 0, '\r', '\n');
        }
        stack_.push_back(Frame{});
        while (i < n_) {
            switch (stack_.back().mode) {
                case Mode::Code:
                    i = Code(i);
                    break;
                case Mode::String:
                    i = String(i);
                    break;
                case Mode::JsxTag:
                    i = JsxTag(i);
                    break;
                case Mode::JsxChildren:
                    i = JsxChildren(i);
                    break;
            }
        }
        if (rules_.keep) {
            rules_.keep(t_, spans_, first_);
        }
    }

  private:
    void Add(size_t begin, size_t end, bool line) {
        if (!rules_.directive || !rules_.directive(t_.substr(begin, end - begin))) {
            spans_.push_back({begin, end, line, false});
        }
    }

    void AddLiteral(size_t begin, size_t end) {
        if (byte_scan::FindEither(t_, begin, '\r', '\n', end) < end) {
            spans_.push_back({begin, end, false, false, true});
        }
    }

    // A comment at `i` ("//" or "/*"), or kNone.
    size_t Comment(size_t i) {
        const char next = i + 1 < n_ ? t_[i + 1] : 0;
        if (next == '/' && rules_.lineComments) {
            const size_t end = byte_scan::FindEither(t_, i, '\r', '\n');
            Add(i, end, true);
            return end;
        }
        if (next != '*') {
            return kNone;
        }
        size_t end = n_;
        if (!rules_.nestedComments) {
            const size_t close = t_.find("*/", i + 2);
            end = close == kNone ? n_ : close + 2;
        } else {
            int depth = 1;
            for (size_t k = i + 2; (k = byte_scan::FindFirstOf<'/', '*'>(t_, k)) + 1 < n_;) {
                if (t_[k] == '/' && t_[k + 1] == '*') {
                    ++depth;
                    k += 2;
                } else if (t_[k] == '*' && t_[k + 1] == '/') {
                    k += 2;
                    if (--depth == 0) {
                        end = k;
                        break;
                    }
                } else {
                    ++k;
                }
            }
        }
        Add(i, end, false);
        return end;
    }

    size_t Code(size_t i) {
        Frame& frame = stack_.back();
        // Brackets matter only inside a string's code or a JSX brace, and to find `url(`.
        const bool brackets = frame.closer != 0 || rules_.unquotedUrls;
        while (i < n_) {
            i = brackets
                    ? byte_scan::FindFirstOf<'/', '"', '\'', '`', '<', '{', '}', '(', ')'>(t_, i)
                    : byte_scan::FindFirstOf<'/', '"', '\'', '`', '<'>(t_, i);
            if (i >= n_) {
                break;
            }
            const char c = t_[i];
            if (!special_[static_cast<unsigned char>(c)]) {
                ++i;
                continue;
            }
            switch (c) {
                case '/': {
                    if (const size_t end = Comment(i); end != kNone) {
                        i = end;
                    } else if (rules_.slash != SlashLiteral::None && OperandExpected(i)) {
                        if (const size_t end = SlashLiteralAt(i); end != kNone) {
                            return end;
                        }
                        ++i;
                    } else {
                        ++i;
                    }
                    continue;
                }
                case '{':
                case '(':
                    if (rules_.unquotedUrls && c == '(' && WordBefore(t_, i) == "url") {
                        i = UnquotedUrl(i + 1);
                        continue;
                    }
                    if (frame.closer == (c == '{' ? '}' : ')')) {
                        ++frame.depth;
                    }
                    ++i;
                    continue;
                case '}':
                case ')':
                    if (frame.closer == c && frame.depth-- == 0) {
                        stack_.pop_back();
                        stack_.back().pieceBegin = i;
                        return i + 1;
                    }
                    ++i;
                    continue;
                case '<':
                    if (JsxStarts(i)) {
                        stack_.push_back(Frame{Mode::JsxTag});
                        return i + 1;
                    }
                    ++i;
                    continue;
                default: {
                    const std::optional<StringForm> form =
                        rules_.stringAt ? rules_.stringAt(t_, i) : PlainString(t_, i);
                    if (!form) {
                        ++i;
                        continue;
                    }
                    Frame string(Mode::String);
                    string.form = *form;
                    string.pieceBegin = i;
                    stack_.push_back(string);
                    return form->contentBegin;
                }
            }
        }
        return n_;
    }

    // Inside a string: its end, or a hole of code.
    size_t String(size_t k) {
        const Frame frame = stack_.back();
        const StringForm& f = frame.form;
        while (k < n_) {
            k = byte_scan::FindFirstOf<'\\', '\r', '\n', '"', '\'', '`', '/', '$', '{'>(t_, k);
            if (k >= n_) {
                break;
            }
            const char c = t_[k];
            if (c == '\\' && f.escapes) {
                const size_t at = k + f.hashes;  // Swift's raw strings escape with `\#`
                if (at >= n_ ||
                    t_.substr(k + 1, f.hashes).find_first_not_of('#') != std::string_view::npos) {
                    ++k;
                    continue;
                }
                if (f.holes == Holes::BackslashParen && at + 1 < n_ && t_[at + 1] == '(') {
                    return Hole(frame.pieceBegin, k, at + 2 - k, ')');
                }
                k = at + (t_.substr(at + 1, 2) == "\r\n" ? 3 : 2);
                continue;
            }
            if (c == '\r' || c == '\n') {
                if (!f.multiLine) {
                    return EndString(frame.pieceBegin, k);
                }
                ++k;
                continue;
            }
            if (c == f.quote) {
                if (f.doubledQuote && k + 1 < n_ && t_[k + 1] == f.quote) {
                    k += 2;
                    continue;
                }
                if (const size_t end = CloseAt(f, k); end != kNone) {
                    return EndString(frame.pieceBegin, end);
                }
                ++k;
                continue;
            }
            if (f.holes == Holes::DollarBrace && c == '$' && k + 1 < n_ && t_[k + 1] == '{') {
                return Hole(frame.pieceBegin, k, 2, '}');
            }
            if (f.holes == Holes::Brace && c == '{') {
                if (k + 1 < n_ && t_[k + 1] == '{') {
                    k += 2;
                    continue;
                }
                return Hole(frame.pieceBegin, k, 1, '}');
            }
            ++k;
        }
        return EndString(frame.pieceBegin, n_);
    }

    // Where the string closed by the quote at `k` ends, or kNone when it does not close there.
    size_t CloseAt(const StringForm& f, size_t k) const {
        size_t end = k;
        while (end < n_ && end - k < f.quotes && t_[end] == f.quote) {
            ++end;
        }
        if (end - k < f.quotes) {
            return kNone;
        }
        if (f.longestClose) {
            while (end < n_ && t_[end] == f.quote) {
                ++end;
            }
        }
        for (size_t h = 0; h < f.hashes; ++h, ++end) {
            if (end >= n_ || t_[end] != '#') {
                return kNone;
            }
        }
        return end;
    }

    size_t EndString(size_t pieceBegin, size_t end) {
        AddLiteral(pieceBegin, end);
        stack_.pop_back();
        return end;
    }

    size_t Hole(size_t pieceBegin, size_t at, size_t opener, char closer) {
        AddLiteral(pieceBegin, at);
        stack_.push_back(Frame{Mode::Code, closer});
        return at + opener;
    }

    // True when the code before `i` ends where an operand may start: after an operator, an
    // opening bracket, a keyword such as `return`, or nothing.
    bool OperandExpected(size_t i) const {
        size_t p = i;
        size_t span = spans_.size();
        while (true) {
            while (p > 0 && IsWhiteSpace(t_[p - 1])) {
                --p;
            }
            while (span > first_ && spans_[span - 1].begin >= p) {
                --span;
            }
            // A comment ending here, or in the blanks just skipped, counts for nothing.
            if (span > first_ && spans_[span - 1].end >= p && !spans_[span - 1].literal) {
                p = spans_[--span].begin;
                continue;
            }
            break;
        }
        if (p == 0) {
            return true;
        }
        const char c = t_[p - 1];
        if (IsWordByte(c)) {
            return IsOperandKeyword(WordBefore(t_, p));
        }
        switch (c) {
            case ')':
            case ']':
            case '"':
            case '\'':
            case '`':
                return false;
            case '+':
            case '-':
                // `a++ / b`: taken as the postfix operator.
                return !(p >= 2 && t_[p - 2] == c);
            default:
                return true;
        }
    }

    // A regular expression or slashy string at `i`; kNone when it does not close on its line.
    size_t SlashLiteralAt(size_t i) {
        if (rules_.slash == SlashLiteral::Slashy) {
            Frame string(Mode::String);
            string.form.contentBegin = i + 1;
            string.form.quote = '/';
            string.form.multiLine = true;
            string.form.holes = Holes::DollarBrace;
            string.pieceBegin = i;
            stack_.push_back(string);
            return i + 1;
        }
        bool inClass = false;
        for (size_t k = i + 1; k < n_; ++k) {
            const char c = t_[k];
            if (c == '\\') {
                ++k;
            } else if (c == '[') {
                inClass = true;
            } else if (c == ']') {
                inClass = false;
            } else if (c == '/' && !inClass) {
                ++k;
                while (k < n_ && IsWordByte(t_[k])) {
                    ++k;
                }
                return k;
            }
            if (k < n_ && (t_[k] == '\r' || t_[k] == '\n')) {
                return kNone;
            }
        }
        return kNone;
    }

    size_t UnquotedUrl(size_t k) const {
        while (k < n_ && IsWhiteSpace(t_[k])) {
            ++k;
        }
        if (k < n_ && (t_[k] == '"' || t_[k] == '\'')) {
            return k;
        }
        const size_t close = t_.find(')', k);
        return close == kNone ? n_ : close + 1;
    }

    // A JSX element at the '<' at `i`: where an operand is expected, a name or '>' follows, and
    // in TSX not a type parameter list (`<T,>`, `<T extends U>`).
    bool JsxStarts(size_t i) const {
        // `a << b`: the second '<' follows an operator, but makes a shift with the first.
        if (rules_.jsx == Jsx::None || i + 1 >= n_ || (i > 0 && t_[i - 1] == '<') ||
            !OperandExpected(i)) {
            return false;
        }
        const char next = t_[i + 1];
        if (next == '>') {
            return true;
        }
        if (!IsWordByte(next) || (next >= '0' && next <= '9')) {
            return false;
        }
        if (rules_.jsx == Jsx::Tsx) {
            size_t k = i + 1;
            while (k < n_ && IsWordByte(t_[k])) {
                ++k;
            }
            while (k < n_ && IsWhiteSpace(t_[k])) {
                ++k;
            }
            if (k < n_ && (t_[k] == ',' || (t_.substr(k, 7) == "extends" && k + 7 < n_ &&
                                            IsWhiteSpace(t_[k + 7])))) {
                return false;
            }
        }
        return true;
    }

    // Inside a JSX tag, after its '<' or a brace's end: attributes up to '>' or "/>".
    size_t JsxTag(size_t k) {
        while (k < n_) {
            const char c = t_[k];
            if (c == '/') {
                if (const size_t end = Comment(k); end != kNone) {
                    k = end;
                    continue;
                }
                if (k + 1 < n_ && t_[k + 1] == '>') {
                    stack_.pop_back();
                    return k + 2;
                }
            } else if (c == '>') {
                stack_.back().mode = Mode::JsxChildren;
                return k + 1;
            } else if (c == '"' || c == '\'') {
                const size_t close = t_.find(c, k + 1);
                const size_t end = close == kNone ? n_ : close + 1;
                AddLiteral(k, end);
                k = end;
                continue;
            } else if (c == '{') {
                stack_.push_back(Frame{Mode::Code, '}'});
                return k + 1;
            }
            ++k;
        }
        return n_;
    }

    // Between a JSX element's tags: text, braces of code, child elements, the closing tag.
    size_t JsxChildren(size_t k) {
        k = byte_scan::FindEither(t_, k, '<', '{');
        if (k >= n_) {
            return n_;
        }
        if (t_[k] == '{') {
            stack_.push_back(Frame{Mode::Code, '}'});
            return k + 1;
        }
        if (k + 1 < n_ && t_[k + 1] == '/') {
            const size_t close = t_.find('>', k);
            stack_.pop_back();
            return close == kNone ? n_ : close + 1;
        }
        stack_.push_back(Frame{Mode::JsxTag});
        return k + 1;
    }

    const Rules& rules_;
    const std::string_view t_;
    const size_t n_;
    CommentSpans& spans_;
    const size_t first_;
    std::array<bool, 256> special_{};
    std::vector<Frame> stack_;
};

}  // namespace

StringForm PlainString(std::string_view text, size_t at) {
    StringForm form;
    form.quote = text[at];
    form.contentBegin = at + 1;
    return form;
}

std::string_view WordBefore(std::string_view text, size_t end) {
    size_t begin = end;
    while (begin > 0 && IsWordByte(text[begin - 1])) {
        --begin;
    }
    return text.substr(begin, end - begin);
}

void Lex(const Rules& rules, std::string_view text, CommentSpans& spans) {
    Lexer(rules, text, spans).Run();
}

}  // namespace c_like
