#include "tests/literal_model.h"

#include <set>
#include <vector>

#include "processing/comment_passes.h"
#include "processing/languages/cfamily.h"
#include "processing/languages/span_passes.h"
#include "tests/plain_model.h"

namespace literal_model {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsName(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || IsDigit(c) || c == '_' || c == '$' ||
           static_cast<unsigned char>(c) >= 0x80;
}
bool IsEol(char c) {
    return c == '\r' || c == '\n';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Blanks that may stand between a splice's backslash and its line end, or before a directive.
bool IsSpliceBlank(char c) {
    return IsBlank(c) || c == '\f' || c == '\v';
}

size_t EolLengthAt(const std::string& s, size_t k) {
    return s.compare(k, 2, "\r\n") == 0 ? 2 : 1;
}

// The source as the compiler reads it, one character at a time: in C and C++ a backslash, blanks
// and a line end are no character; in Java a Unicode escape is the one character it stands for.
struct Source {
    const std::string& s;
    bool c;

    char At(size_t k) const { return k < s.size() ? s[k] : '\0'; }

    size_t Splice(size_t k) const {
        if (!c || At(k) != '\\') {
            return 0;
        }
        size_t e = k + 1;
        while (e < s.size() && IsSpliceBlank(s[e])) {
            ++e;
        }
        return e < s.size() && IsEol(s[e]) ? e + EolLengthAt(s, e) - k : 0;
    }
    size_t Skip(size_t k) const {
        while (Splice(k) != 0) {
            k += Splice(k);
        }
        return k;
    }
    bool EndsInSplice(const std::string& text) const {
        size_t end = text.size();
        while (end > 0 && IsSpliceBlank(text[end - 1])) {
            --end;
        }
        return c && end > 0 && text[end - 1] == '\\';
    }
    // The line ending at the line end at `k` goes on after it.
    bool SplicedAt(size_t k) const {
        size_t start = k;
        while (start > 0 && !IsEol(s[start - 1])) {
            --start;
        }
        return EndsInSplice(s.substr(start, k - start));
    }

    struct Unit {
        char ch;
        size_t end;
    };
    // The character starting at `k` (after any splices); '\0' at the end.
    Unit At2(size_t k) const {
        k = Skip(k);
        if (k >= s.size()) {
            return {'\0', k};
        }
        if (!c && s[k] == '\\' && At(k + 1) == 'u') {
            size_t before = 0;
            while (before < k && s[k - 1 - before] == '\\') {
                ++before;
            }
            size_t m = k + 1;
            while (At(m) == 'u') {
                ++m;
            }
            unsigned value = 0;
            bool hex = before % 2 == 0 && m + 4 <= s.size();
            for (size_t d = m; hex && d < m + 4; ++d) {
                const char x = static_cast<char>(s[d] | 0x20);
                hex = IsDigit(s[d]) || (x >= 'a' && x <= 'f');
                value = value * 16 + (IsDigit(s[d]) ? s[d] - '0' : x - 'a' + 10);
            }
            if (hex) {
                return {value < 0x80 ? static_cast<char>(value) : '\x80', m + 4};
            }
        }
        return {s[k], k + 1};
    }

    std::string Ahead(size_t k, size_t count) const {
        std::string text;
        while (text.size() < count && Skip(k) < s.size()) {
            const Unit u = At2(k);
            text += u.ch;
            k = u.end;
        }
        return text;
    }
};

enum class Kind { Char, Literal, Removed, LineEnd, Verbatim };

struct Piece {
    Kind kind;
    std::string text = {};        // Char, Literal: one byte; Verbatim: the header
    size_t at = 0;                // where it starts in the source
    bool silent = false;          // Char, Literal: a byte of a splice or the tail of an escape
    char logical = '\0';          // Char, Literal: the character it starts, when not silent
    bool spansLines = false;      // Removed
    bool inDirective = false;     // Removed
    bool leftNumber = false;      // Removed: the token before it is a number
    std::string leftName = {};    // Removed: the name before it
    bool literalLineEnd = false;  // LineEnd inside a literal
    bool spliced = false;         // LineEnd that a splice continues
};

// Reads the source into pieces; comments of the removed kind become one piece each.
class Reader {
  public:
    Reader(const std::string& s, const StripOptions& o, bool removesLine)
        : s_(s),
          c_(o.language == SourceLanguage::CFamily),
          removesLine_(removesLine),
          o_(o),
          src_{s, c_} {}

    std::vector<Piece> Read() {
        size_t header = std::string::npos;
        size_t headerEnd = 0;
        if (o_.keepHeader) {
            FindHeader(header, headerEnd);
        }
        if (s_.rfind("\xEF\xBB\xBF", 0) == 0) {
            Add(Kind::Char, 3, true);
        }
        while (i_ < s_.size()) {
            if (i_ == header) {
                pieces_.push_back({Kind::Verbatim, s_.substr(header, headerEnd - header), i_});
                lineOut_ += pieces_.back().text;
                i_ = headerEnd;
                Reset();
                continue;
            }
            Step();
        }
        return pieces_;
    }

  private:
    using Unit = Source::Unit;
    char At(size_t k) const { return src_.At(k); }
    Unit U(size_t k) const { return src_.At2(k); }
    bool Is(size_t k, const std::string& what) const {
        return s_.compare(k, what.size(), what) == 0;
    }
    size_t EolLength(size_t k) const { return EolLengthAt(s_, k); }

    void Push(Kind kind, size_t k, bool silent, char logical) {
        Piece p{kind, std::string(1, s_[k]), k};
        p.silent = silent;
        p.logical = silent ? '\0' : logical;
        pieces_.push_back(p);
        lineOut_ += s_[k];
    }
    // Adds the bytes up to `to`, each a character of its own unless `silent`.
    void Add(Kind kind, size_t to, bool silent = false) {
        for (; i_ < to; ++i_) {
            Push(kind, i_, silent, s_[i_]);
        }
    }
    // Adds one character: the splices before it, then its bytes (more than one for an escape).
    void AddUnit(Kind kind, const Unit& u) {
        while (src_.Splice(i_) != 0) {
            AddSplice(kind);
        }
        for (size_t from = i_; i_ < u.end; ++i_) {
            Push(kind, i_, i_ != from, u.ch);
        }
    }
    // A splice: its backslash and blanks, and its line end.
    void AddSplice(Kind kind) {
        size_t e = i_ + 1;
        while (!IsEol(s_[e])) {
            ++e;
        }
        Add(kind, e, true);
        LineEnd(kind == Kind::Literal, true);
    }
    void Reset() {
        token_ = Token::None;
        name_.clear();
    }
    void LineEnd(bool literal, bool spliced) {
        Piece p{Kind::LineEnd, s_.substr(i_, EolLength(i_)), i_};
        p.literalLineEnd = literal;
        p.spliced = spliced;
        i_ += EolLength(i_);
        pieces_.push_back(p);
        lineOut_.clear();
        if (!spliced) {
            Reset();
        }
    }

    // Where the `//` comment at `k` ends, and where the block comment whose "/*" ends at `k` does.
    size_t LineCommentEnd(size_t k) const {
        while (k < s_.size()) {
            if (IsEol(s_[k])) {
                if (!src_.SplicedAt(k)) {
                    break;
                }
                k += EolLength(k);
            } else if (!c_ && IsEol(U(k).ch)) {
                break;
            } else {
                k = c_ ? k + 1 : U(k).end;
            }
        }
        return k;
    }
    size_t BlockCommentEnd(size_t k) const {
        while (src_.Skip(k) < s_.size()) {
            const Unit u = U(k);
            if (u.ch == '*' && U(u.end).ch == '/') {
                return U(u.end).end;
            }
            k = u.end;
        }
        return s_.size();
    }

    void FindHeader(size_t& begin, size_t& end) {
        size_t k = s_.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
        while (k < s_.size() &&
               (IsBlank(s_[k]) || IsEol(s_[k]) || s_[k] == '\f' || s_[k] == '\v')) {
            ++k;
        }
        if (Is(k, "/*")) {
            begin = k;
            if (o_.literals) {
                end = BlockCommentEnd(k + 2);
            } else {
                const size_t close = s_.find("*/", k + 1);
                end = close == std::string::npos ? s_.size() : close + 2;
            }
        } else if (Is(k, "//")) {
            begin = k;
            while (true) {
                if (o_.literals) {
                    k = LineCommentEnd(k);
                } else {
                    while (k < s_.size() && !IsEol(s_[k])) {
                        ++k;
                    }
                }
                end = k;
                if (k >= s_.size() || !IsEol(s_[k])) {
                    break;
                }
                k += EolLength(k);
                while (k < s_.size() && IsBlank(s_[k])) {
                    ++k;
                }
                if (!Is(k, "//")) {
                    break;
                }
            }
        }
    }

    void Step() {
        const char ch = s_[i_];
        if (IsEol(ch)) {
            const bool spliced = c_ && src_.SplicedAt(i_);
            LineEnd(false, spliced);
            if (!spliced) {
                lineStart_ = true;
                directive_ = false;
            }
            return;
        }
        if (src_.Splice(i_) != 0) {
            // The backslash and blanks stay where they are; the line end comes next.
            size_t e = i_ + 1;
            while (!IsEol(s_[e])) {
                ++e;
            }
            Add(Kind::Char, e, true);
            return;
        }
        const Unit u = U(i_);
        const Unit next = U(u.end);
        if (directive_ && !IsName(u.ch)) {
            NameEnds();
        }
        if (u.ch == '/' && (next.ch == '/' || next.ch == '*')) {
            lineStart_ = lineStart_ && next.ch == '*';
            if (next.ch == '/') {
                header_ = Header::Off;
            }
            Comment(next.ch == '/', next.end);
            return;
        }
        if (c_ && lineStart_ && !IsSpliceBlank(ch)) {
            lineStart_ = false;
            if (u.ch == '#' || (u.ch == '%' && next.ch == ':')) {
                directive_ = true;
                header_ = Header::FirstName;
                dirName_.clear();
                AddUnit(Kind::Char, u);
                if (u.ch == '%') {
                    AddUnit(Kind::Char, U(i_));
                }
                Reset();
                return;
            }
        }
        if (directive_ && IsName(u.ch)) {
            dirName_ += u.ch;
        } else if (directive_ && !IsSpliceBlank(u.ch) && header_ != Header::Off) {
            if (u.ch == '<' && header_ == Header::Name && HeaderName(u)) {
                return;
            }
            header_ = u.ch == '(' && header_ == Header::Parenthesis ? Header::Name : Header::None;
        }
        if (u.ch == '"') {
            if (!c_ && next.ch == '"' && U(next.end).ch == '"') {
                TextBlock();
            } else if (c_ && token_ == Token::Name && RawPrefix()) {
                if (Delimiter() != std::string::npos) {
                    RawString(Delimiter());
                } else {
                    ToNextQuote();
                }
            } else {
                Quoted('"', u);
            }
            return;
        }
        if (u.ch == '\'') {
            if (c_ && token_ == Token::Number && IsName(next.ch)) {
                AddUnit(Kind::Char, u);
                return;
            }
            Quoted('\'', u);
            return;
        }
        Code(u, next);
    }

    // In a directive: a name just read tells what a '<' after it starts.
    void NameEnds() {
        if (dirName_.empty() || header_ == Header::Off) {
            dirName_.clear();
            return;
        }
        const std::string& n = dirName_;
        const bool includes = n == "include" || n == "include_next" || n == "import";
        const bool hasInclude = n == "__has_include" || n == "__has_include_next";
        header_ = header_ == Header::FirstName && includes ? Header::Name
                  : hasInclude                             ? Header::Parenthesis
                                                           : Header::None;
        dirName_.clear();
    }

    // `<` to `>` on the logical line: one token.
    bool HeaderName(const Unit& open) {
        size_t k = open.end;
        while (src_.Skip(k) < s_.size() && !IsEol(s_[src_.Skip(k)])) {
            const Unit d = U(k);
            k = d.end;
            if (d.ch != '>') {
                continue;
            }
            while (i_ < k) {
                if (src_.Splice(i_) != 0) {
                    AddSplice(Kind::Literal);
                } else {
                    AddUnit(Kind::Literal, U(i_));
                }
            }
            header_ = Header::None;
            Reset();
            return true;
        }
        header_ = Header::None;
        return false;
    }

    // One code character, and what token it leaves us in.
    void Code(const Unit& u, const Unit& next) {
        const char ch = u.ch;
        const bool exponentSign =
            (ch == '+' || ch == '-') && std::string("eEpP").find(last_) != std::string::npos;
        if (token_ == Token::Number && (IsName(ch) || ch == '.' || exponentSign)) {
            // stays a number
        } else if (token_ == Token::Name && IsName(ch)) {
            name_ += ch;
        } else if (IsDigit(ch) || (ch == '.' && IsDigit(next.ch))) {
            token_ = Token::Number;
        } else if (IsName(ch)) {
            token_ = Token::Name;
            name_ = std::string(1, ch);
        } else {
            Reset();
        }
        last_ = ch;
        AddUnit(Kind::Char, u);
    }

    bool RawPrefix() const {
        static const std::set<std::string> kRaw = {"R", "LR", "uR", "UR", "u8R"};
        return kRaw.count(name_) != 0;
    }

    size_t Delimiter() const {
        const std::string allowed =
            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.{}[]#<>%:;?*+-/"
            "^&|~!=,\"'";
        for (size_t k = i_ + 1; k < s_.size() && k - i_ - 1 <= 16; ++k) {
            if (s_[k] == '(') {
                return k - i_ - 1;
            }
            if (allowed.find(s_[k]) == std::string::npos) {
                return std::string::npos;
            }
        }
        return std::string::npos;
    }

    // A raw string prefix whose delimiter is not valid: everything up to the next '"'.
    void ToNextQuote() {
        Add(Kind::Literal, i_ + 1);
        while (i_ < s_.size()) {
            const char ch = s_[i_];
            LiteralChar();
            if (ch == '"') {
                break;
            }
        }
        Reset();
    }

    // Would the line end without this comment in a backslash that it did not end in?
    bool KeptForBackslash(size_t end) const {
        if (!src_.EndsInSplice(lineOut_)) {
            return false;
        }
        while (end < s_.size() && IsSpliceBlank(s_[end])) {
            ++end;
        }
        return end >= s_.size() || IsEol(s_[end]);
    }

    void Comment(bool line, size_t afterMarker) {
        Piece removed{Kind::Removed, "", i_};
        removed.inDirective = directive_;
        removed.leftNumber = token_ == Token::Number;
        removed.leftName = token_ == Token::Name ? name_ : "";
        const size_t end = line ? LineCommentEnd(i_) : BlockCommentEnd(afterMarker);
        const bool kept = line != removesLine_ || KeptForBackslash(end);
        if (kept) {
            while (i_ < end) {
                if (IsEol(s_[i_])) {
                    LineEnd(false, false);
                } else {
                    Add(Kind::Char, i_ + 1);
                }
            }
        } else {
            removed.spansLines = s_.substr(i_, end - i_).find_first_of("\r\n") != std::string::npos;
            pieces_.push_back(removed);
            i_ = end;
        }
        Reset();
    }

    // A literal's line end inside it: the bytes so far stay, the line end is the literal's.
    void LiteralChar() {
        if (IsEol(s_[i_])) {
            LineEnd(true, false);
        } else {
            Add(Kind::Literal, i_ + 1);
        }
    }

    void Quoted(char quote, const Unit& open) {
        AddUnit(Kind::Literal, open);
        bool escaped = false;
        while (i_ < s_.size()) {
            if (src_.Splice(i_) != 0) {
                AddSplice(Kind::Literal);
                continue;
            }
            if (IsEol(s_[i_])) {
                break;
            }
            const Unit u = c_ ? Unit{s_[i_], i_ + 1} : U(i_);
            if (IsEol(u.ch)) {
                break;
            }
            AddUnit(Kind::Literal, u);
            if (escaped) {
                escaped = false;
            } else if (u.ch == '\\') {
                escaped = true;
            } else if (u.ch == quote) {
                break;
            }
        }
        Reset();
    }

    void RawString(size_t delimiterLength) {
        std::string close(1, ')');
        close.append(s_, i_ + 1, delimiterLength).push_back('"');
        Add(Kind::Literal, i_ + delimiterLength + 2);
        while (i_ < s_.size() && !Is(i_, close)) {
            LiteralChar();
        }
        Add(Kind::Literal, std::min(i_ + close.size(), s_.size()));
        Reset();
    }

    void TextBlock() {
        for (int k = 0; k < 3; ++k) {
            AddUnit(Kind::Literal, U(i_));
        }
        while (i_ < s_.size()) {
            if (IsEol(s_[i_])) {
                LineEnd(true, false);
                continue;
            }
            const Unit u = U(i_);
            const Unit second = U(u.end);
            if (u.ch == '"' && second.ch == '"' && U(second.end).ch == '"') {
                for (int k = 0; k < 3; ++k) {
                    AddUnit(Kind::Literal, U(i_));
                }
                break;
            }
            AddUnit(Kind::Literal, u);
            if (u.ch == '\\' && i_ < s_.size() && !IsEol(s_[i_])) {
                const Unit escaped = U(i_);
                AddUnit(Kind::Literal, escaped);
            }
        }
        Reset();
    }

    enum class Token { None, Name, Number };
    // In a directive, what a '<' would start: nothing, or a header name after `include` as the
    // directive's name or after `__has_include(`, literals before it or not.
    enum class Header { None, FirstName, Parenthesis, Name, Off };
    const std::string& s_;
    const bool c_;
    const bool removesLine_;
    const StripOptions o_;
    const Source src_;
    std::vector<Piece> pieces_;
    size_t i_ = 0;
    Token token_ = Token::None;
    std::string name_;
    char last_ = '\0';     // the last code character
    std::string lineOut_;  // what stands on the current physical line, removed comments aside
    bool lineStart_ = true;
    bool directive_ = false;
    Header header_ = Header::None;
    std::string dirName_;  // in a directive: the name being read
};

const std::vector<std::string> kCOperators = {
    "->", "++", "--", "<<", ">>", "<=",  ">=",  "==",  "!=",  "&&",  "||",
    "+=", "-=", "*=", "/=", "%=", "&=",  "|=",  "^=",  "##",  "::",  ".*",
    "<:", ":>", "<%", "%>", "%:", "<<=", ">>=", "...", "->*", "<=>", "%:%:"};
const std::vector<std::string> kJavaOperators = {
    "->", "++", "--", "<<", ">>", "<=", ">=", "==",  "!=",  "&&",  "||",   "+=", "-=",
    "*=", "/=", "%=", "&=", "|=", "^=", "::", "<<=", ">>=", ">>>", ">>>=", "..."};

// Would `right` written straight after `line` run two tokens into one?
bool Glues(const std::string& line, const Piece& removed, const std::string& right, bool c) {
    const char l = line.back();
    const char r = right[0];
    const char r1 = right.size() > 1 ? right[1] : '\0';
    if (IsName(l) && IsName(r)) {
        return true;
    }
    if (l == '.' && IsDigit(r)) {
        return true;
    }
    if (removed.leftNumber &&
        (r == '.' || IsName(r) ||
         ((r == '+' || r == '-') && std::string("eEpP").find(l) != std::string::npos) ||
         (c && r == '\'' && IsName(r1)))) {
        return true;
    }
    if (c && l == '\\' && (r == 'u' || r == 'U' || r == 'N')) {
        return true;  // a universal character name
    }
    if (c) {
        static const std::set<std::string> kEncoding = {"u", "U", "L", "u8"};
        static const std::set<std::string> kRaw = {"R", "LR", "uR", "UR", "u8R"};
        const bool encoding = kEncoding.count(removed.leftName) != 0;
        if ((encoding && (r == '"' || r == '\'')) || (kRaw.count(removed.leftName) && r == '"')) {
            return true;
        }
        if ((l == '"' || l == '\'') && IsName(r) && !IsDigit(r)) {
            return true;
        }
    }
    for (const std::string& op : c ? kCOperators : kJavaOperators) {
        for (size_t cut = 1; cut < op.size(); ++cut) {
            const std::string head = op.substr(0, cut);
            const std::string tail = op.substr(cut);
            const size_t from = line.size() > 3 ? line.size() - 3 : 0;
            const std::string lineTail = line.substr(from);
            if (lineTail.size() >= head.size() &&
                lineTail.compare(lineTail.size() - head.size(), head.size(), head) == 0 &&
                right.compare(0, tail.size(), tail) == 0) {
                return true;
            }
        }
    }
    return false;
}

// Lays the pieces out into lines.
class Layout {
  public:
    Layout(const std::vector<Piece>& pieces, const Source& source)
        : p_(pieces), c_(source.c), source_(source) {}

    std::string Run() {
        size_t start = 0;
        for (size_t k = 0; k <= p_.size(); ++k) {
            if (k == p_.size() || p_[k].kind == Kind::LineEnd) {
                if (k < p_.size() || start < p_.size()) {
                    LogicalLine(start, k, k < p_.size() && p_[k].literalLineEnd);
                }
                // The compiler's line goes on over a splice.
                if (k == p_.size() || !p_[k].spliced) {
                    logical_.clear();
                }
                startsInLiteral_ = k < p_.size() && p_[k].literalLineEnd;
                start = k + 1;
            }
        }
        std::string out;
        for (const std::string& line : lines_) {
            out.append(line).append("\r\n");
        }
        return out.empty() ? out : out.substr(0, out.size() - 2);
    }

  private:
    bool IsContent(const Piece& p) const {
        return p.kind == Kind::Literal || p.kind == Kind::Verbatim ||
               (p.kind == Kind::Char && !IsBlank(p.text[0]));
    }

    // Appends a piece's bytes to the line, and the character it stands for to the logical line.
    void Append(std::string& line, const Piece& p) {
        line += p.text;
        if (p.kind == Kind::Verbatim) {
            logical_.clear();
        } else if (!p.silent) {
            logical_ += p.logical;
        }
    }

    void LogicalLine(size_t begin, size_t end, bool endsInLiteral) {
        std::string line;
        size_t keep = 0;  // bytes of `line` that are never trimmed: literal bytes, the header
        bool protectedLine = startsInLiteral_;
        bool removedSinceContent = false;
        bool brokeSinceContent = false;
        for (size_t k = begin; k < end; ++k) {
            const Piece& p = p_[k];
            if (p.kind != Kind::Removed) {
                if (IsContent(p)) {
                    removedSinceContent = false;
                    brokeSinceContent = false;
                }
                Append(line, p);
                if (p.kind != Kind::Char) {
                    keep = line.size();
                }
                continue;
            }
            removedSinceContent = true;
            bool contentBefore = false;
            for (char ch : line) {
                contentBefore = contentBefore || !IsBlank(ch);
            }
            bool contentAfter = false;
            bool spanInRun = false;
            size_t next = k;
            for (; next < end && p_[next].kind == Kind::Removed; ++next) {
                spanInRun = spanInRun || p_[next].spansLines;
            }
            for (size_t m = k + 1; m < end; ++m) {
                contentAfter = contentAfter || IsContent(p_[m]);
            }
            if (p.spansLines && contentBefore && contentAfter && !brokeSinceContent) {
                brokeSinceContent = true;
                const bool backslash = source_.EndsInSplice(line);
                size_t content = k + 1;
                while (!IsContent(p_[content])) {
                    ++content;
                }
                const std::string ahead = source_.Ahead(p_[content].at, 2);
                const bool hash = c_ && (ahead[0] == '#' || ahead == "%:");
                Trim(line, keep);
                if (p.inDirective || backslash || hash) {
                    line += ' ';
                    logical_ += ' ';
                } else {
                    Emit(line, protectedLine);
                    line.clear();
                    logical_.clear();
                    keep = 0;
                    protectedLine = false;
                    removedSinceContent = false;
                }
            } else if ((!spanInRun || !contentBefore) && !brokeSinceContent &&
                       (k == begin || p_[k - 1].kind != Kind::Removed) && !logical_.empty() &&
                       !IsBlank(logical_.back()) && next < end && IsContent(p_[next]) &&
                       Glues(logical_, p, source_.Ahead(p_[next].at, 3), c_)) {
                line += ' ';
                logical_ += ' ';
            }
        }
        if (removedSinceContent) {
            Trim(line, keep);
        }
        Emit(line, protectedLine || endsInLiteral);
    }

    static void Trim(std::string& line, size_t keep) {
        while (line.size() > keep && IsBlank(line.back())) {
            line.pop_back();
        }
    }

    void Emit(const std::string& line, bool protectedLine) {
        bool blank = true;
        for (char ch : line) {
            blank = blank && IsBlank(ch);
        }
        if (blank && !protectedLine && !(c_ && afterBackslash_)) {
            return;
        }
        lines_.push_back(line);
        afterBackslash_ = source_.EndsInSplice(line);
    }

    const std::vector<Piece>& p_;
    const bool c_;
    const Source& source_;
    std::vector<std::string> lines_;
    std::string logical_;  // the compiler's current line as laid out: splices undone, escapes read
    bool startsInLiteral_ = false;
    bool afterBackslash_ = false;
};

std::string Strip(const std::string& text, const StripOptions& options, bool removesLine) {
    const Source source{text, options.language == SourceLanguage::CFamily};
    return Layout(Reader(text, options, removesLine).Read(), source).Run();
}

std::string WithoutSpacesAndLineEnds(const std::string& s) {
    std::string out;
    for (char ch : s) {
        if (ch != ' ' && !IsEol(ch)) {
            out += ch;
        }
    }
    return out;
}

}  // namespace

std::string StripLineComments(const std::string& source, const StripOptions& options) {
    return Strip(source, options, true);
}

std::string StripBlockComments(const std::string& text, const StripOptions& options) {
    return Strip(text, options, false);
}

bool KeepsOrderOfInput(const std::string& input, const std::string& output) {
    return plain_model::IsSubsequence(WithoutSpacesAndLineEnds(output),
                                      WithoutSpacesAndLineEnds(input));
}

std::optional<size_t> CutsAgreeingWithOnePiece(const std::string& source,
                                               const StripOptions& options, size_t maxCuts) {
    AnsiText whole = source;
    StripCommentsInPlace(whole, options);
    size_t taken = 0;
    for (size_t cut = source.find_first_of("\r\n"); cut != std::string::npos && maxCuts > 0;
         cut = source.find_first_of("\r\n", cut + 1), --maxCuts) {
        AnsiText parts = source;
        if (span_passes::StripBothInTwo(parts, cfamily::RulesFor(options.language), options.lineEnd,
                                        cut + 1)) {
            if (parts != whole) {
                return std::nullopt;
            }
            ++taken;
        } else if (parts != source) {
            return std::nullopt;  // declined, but not left as it was
        }
    }
    return taken;
}

}  // namespace literal_model
