#include "tests/literal_model.h"

#include <set>
#include <vector>

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

enum class Kind { Char, Literal, Removed, LineEnd, Verbatim };

struct Piece {
    Kind kind;
    std::string text = {};        // Char, Literal: one byte; Verbatim: the header
    bool spansLines = false;      // Removed
    bool inDirective = false;     // Removed
    bool leftNumber = false;      // Removed: the token before it is a number
    std::string leftName = {};    // Removed: the name before it
    bool literalLineEnd = false;  // LineEnd inside a literal
};

// Reads the source into pieces; comments of the removed kind become one piece each.
class Reader {
  public:
    Reader(const std::string& s, const StripOptions& o, bool removesLine)
        : s_(s), c_(o.language == SourceLanguage::CFamily), removesLine_(removesLine), o_(o) {}

    std::vector<Piece> Read() {
        size_t header = std::string::npos;
        size_t headerEnd = 0;
        if (o_.keepHeader) {
            FindHeader(header, headerEnd);
        }
        if (s_.rfind("\xEF\xBB\xBF", 0) == 0) {
            for (int k = 0; k < 3; ++k) {
                Add(Kind::Char, s_[i_++]);
            }
        }
        while (i_ < s_.size()) {
            if (i_ == header) {
                pieces_.push_back({Kind::Verbatim, s_.substr(header, headerEnd - header)});
                i_ = headerEnd;
                Reset();
                continue;
            }
            Step();
        }
        return pieces_;
    }

  private:
    char At(size_t k) const { return k < s_.size() ? s_[k] : '\0'; }
    bool Is(size_t k, const std::string& what) const {
        return s_.compare(k, what.size(), what) == 0;
    }
    size_t EolLength(size_t k) const { return Is(k, "\r\n") ? 2 : 1; }
    void Add(Kind kind, char c) { pieces_.push_back({kind, std::string(1, c)}); }
    void Reset() {
        token_ = Token::None;
        name_.clear();
    }
    void LineEnd(bool literal) {
        Piece p{Kind::LineEnd, s_.substr(i_, EolLength(i_))};
        p.literalLineEnd = literal;
        i_ += EolLength(i_);
        pieces_.push_back(p);
        Reset();
    }

    void FindHeader(size_t& begin, size_t& end) {
        size_t k = s_.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
        while (k < s_.size() &&
               (IsBlank(s_[k]) || IsEol(s_[k]) || s_[k] == '\f' || s_[k] == '\v')) {
            ++k;
        }
        if (Is(k, "/*")) {
            begin = k;
            const size_t close = s_.find("*/", k + (o_.literals ? 2 : 1));
            end = close == std::string::npos ? s_.size() : close + 2;
        } else if (Is(k, "//")) {
            begin = k;
            while (true) {
                while (k < s_.size() && !IsEol(s_[k])) {
                    ++k;
                    if (k < s_.size() && IsEol(s_[k]) && c_ && o_.literals && s_[k - 1] == '\\') {
                        k += EolLength(k);
                    }
                }
                end = k;
                if (k >= s_.size()) {
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
            const bool spliced = c_ && i_ > 0 && s_[i_ - 1] == '\\';
            LineEnd(false);
            if (!spliced) {
                lineStart_ = true;
                directive_ = false;
            }
            return;
        }
        if (Is(i_, "//") || Is(i_, "/*")) {
            lineStart_ = lineStart_ && Is(i_, "/*");
            Comment(Is(i_, "//"));
            return;
        }
        if (c_ && lineStart_ && !IsBlank(ch)) {
            lineStart_ = false;
            if (ch == '#') {
                directive_ = true;
                Code();
                HeaderName();
                return;
            }
        }
        if (ch == '"') {
            if (!c_ && Is(i_, "\"\"\"")) {
                TextBlock();
            } else if (c_ && token_ == Token::Name && RawPrefix()) {
                if (Delimiter() != std::string::npos) {
                    RawString(Delimiter());
                } else {
                    ToNextQuote();
                }
            } else {
                Quoted('"');
            }
            return;
        }
        if (ch == '\'') {
            if (c_ && token_ == Token::Number && IsName(At(i_ + 1))) {
                Add(Kind::Char, ch);
                ++i_;
                return;
            }
            Quoted('\'');
            return;
        }
        Code();
    }

    // One code character, and what token it leaves us in.
    void Code() {
        const char ch = s_[i_];
        const char before = i_ > 0 ? s_[i_ - 1] : '\0';
        const bool exponentSign =
            (ch == '+' || ch == '-') && std::string("eEpP").find(before) != std::string::npos;
        if (token_ == Token::Number && (IsName(ch) || ch == '.' || exponentSign)) {
            // stays a number
        } else if (token_ == Token::Name && IsName(ch)) {
            name_ += ch;
        } else if (IsDigit(ch) || (ch == '.' && IsDigit(At(i_ + 1)))) {
            token_ = Token::Number;
        } else if (IsName(ch)) {
            token_ = Token::Name;
            name_ = std::string(1, ch);
        } else {
            Reset();
        }
        Add(Kind::Char, ch);
        ++i_;
    }

    void HeaderName() {
        size_t k = i_;
        while (IsBlank(At(k))) {
            ++k;
        }
        for (const std::string name : {"include_next", "include", "import"}) {
            if (!Is(k, name) || IsName(At(k + name.size()))) {
                continue;
            }
            k += name.size();
            while (IsBlank(At(k))) {
                ++k;
            }
            if (At(k) != '<') {
                return;
            }
            size_t close = k + 1;
            while (close < s_.size() && !IsEol(s_[close]) && s_[close] != '>') {
                ++close;
            }
            if (At(close) == '>') {
                while (i_ <= close) {
                    Add(Kind::Char, s_[i_++]);
                }
                Reset();
            }
            return;
        }
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
        Add(Kind::Literal, s_[i_++]);
        while (i_ < s_.size()) {
            const char ch = s_[i_];
            LiteralChar();
            if (ch == '"') {
                break;
            }
        }
        Reset();
    }

    void Comment(bool line) {
        Piece removed{Kind::Removed, ""};
        removed.inDirective = directive_;
        removed.leftNumber = token_ == Token::Number;
        removed.leftName = token_ == Token::Name ? name_ : "";
        const bool kept = line != removesLine_;
        size_t end;
        if (line) {
            end = i_;
            while (end < s_.size() && !(IsEol(s_[end]) && !(c_ && s_[end - 1] == '\\'))) {
                end += IsEol(s_[end]) ? EolLength(end) : 1;
            }
        } else {
            const size_t close = s_.find("*/", i_ + 2);
            end = close == std::string::npos ? s_.size() : close + 2;
        }
        if (kept) {
            while (i_ < end) {
                if (IsEol(s_[i_])) {
                    LineEnd(false);
                } else {
                    Add(Kind::Char, s_[i_++]);
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
            LineEnd(true);
        } else {
            Add(Kind::Literal, s_[i_++]);
        }
    }

    bool SpliceAt(size_t k) const { return c_ && At(k) == '\\' && IsEol(At(k + 1)); }

    void Quoted(char quote) {
        Add(Kind::Literal, s_[i_++]);
        bool escaped = false;
        while (i_ < s_.size()) {
            if (SpliceAt(i_)) {
                Add(Kind::Literal, s_[i_++]);
                LineEnd(true);
                continue;
            }
            const char ch = s_[i_];
            if (IsEol(ch)) {
                break;
            }
            Add(Kind::Literal, ch);
            ++i_;
            if (escaped) {
                escaped = false;
            } else if (ch == '\\') {
                escaped = true;
            } else if (ch == quote) {
                break;
            }
        }
        Reset();
    }

    void RawString(size_t delimiterLength) {
        std::string close(1, ')');
        close.append(s_, i_ + 1, delimiterLength).push_back('"');
        for (size_t k = 0; k < delimiterLength + 2; ++k) {
            Add(Kind::Literal, s_[i_++]);
        }
        while (i_ < s_.size() && !Is(i_, close)) {
            LiteralChar();
        }
        for (size_t k = 0; k < close.size() && i_ < s_.size(); ++k) {
            Add(Kind::Literal, s_[i_++]);
        }
        Reset();
    }

    void TextBlock() {
        for (int k = 0; k < 3; ++k) {
            Add(Kind::Literal, s_[i_++]);
        }
        while (i_ < s_.size()) {
            if (Is(i_, "\"\"\"")) {
                for (int k = 0; k < 3; ++k) {
                    Add(Kind::Literal, s_[i_++]);
                }
                break;
            }
            if (s_[i_] == '\\' && i_ + 1 < s_.size() && !IsEol(s_[i_ + 1])) {
                Add(Kind::Literal, s_[i_++]);
            }
            LiteralChar();
        }
        Reset();
    }

    enum class Token { None, Name, Number };
    const std::string& s_;
    const bool c_;
    const bool removesLine_;
    const StripOptions o_;
    std::vector<Piece> pieces_;
    size_t i_ = 0;
    Token token_ = Token::None;
    std::string name_;
    bool lineStart_ = true;
    bool directive_ = false;
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
    Layout(const std::vector<Piece>& pieces, bool c) : p_(pieces), c_(c) {}

    std::string Run() {
        size_t start = 0;
        for (size_t k = 0; k <= p_.size(); ++k) {
            if (k == p_.size() || p_[k].kind == Kind::LineEnd) {
                if (k < p_.size() || start < p_.size()) {
                    LogicalLine(start, k, k < p_.size() && p_[k].literalLineEnd);
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

    // The source bytes from piece k on, up to three, for the glue check.
    std::string Following(size_t k, size_t end) const {
        std::string text;
        for (; k < end && text.size() < 3 && p_[k].kind != Kind::Removed; ++k) {
            text += p_[k].text;
        }
        return text;
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
                line += p.text;
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
                Trim(line, keep);
                if (p.inDirective) {
                    line += ' ';
                } else {
                    Emit(line, protectedLine);
                    line.clear();
                    keep = 0;
                    protectedLine = false;
                    removedSinceContent = false;
                }
            } else if (!spanInRun && !brokeSinceContent &&
                       (k == begin || p_[k - 1].kind != Kind::Removed) && !line.empty() &&
                       !IsBlank(line.back()) && next < end && IsContent(p_[next]) &&
                       Glues(line, p, Following(next, end), c_)) {
                line += ' ';
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
        afterBackslash_ = !line.empty() && line.back() == '\\';
    }

    const std::vector<Piece>& p_;
    const bool c_;
    std::vector<std::string> lines_;
    bool startsInLiteral_ = false;
    bool afterBackslash_ = false;
};

std::string Strip(const std::string& text, const StripOptions& options, bool removesLine) {
    const bool c = options.language == SourceLanguage::CFamily;
    return Layout(Reader(text, options, removesLine).Read(), c).Run();
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

}  // namespace literal_model
