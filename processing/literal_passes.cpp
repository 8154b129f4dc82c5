#include "processing/literal_passes.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "files/byte_scan.h"
#include "processing/header_comment.h"
#include "processing/literal_scan.h"

namespace literal_passes {

namespace {

using literal_scan::IsLineEnd;
using literal_scan::IsNameByte;
using literal_scan::IsSpaceOrTab;

constexpr size_t kNone = std::string_view::npos;

bool AllSpaceOrTab(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsSpaceOrTab);
}

// One pass over a source: the comments of one kind go, everything else is copied, line by line.
class LiteralPass {
  public:
    LiteralPass(AnsiText& text, const StripOptions& options, bool removesLineComments)
        : text_(text),
          t_(text),
          n_(text.size()),
          language_(options.language),
          cFamily_(options.language == SourceLanguage::CFamily),
          removesLineComments_(removesLineComments) {
        if (options.keepHeader) {
            header_ = FindHeaderComment(text, options);
        }
    }

    // Leaves the result in the text given.
    void Run() {
        i_ = ByteOrderMarkLength(t_);
        Put(t_.data(), i_, i_);
        tokenBound_ = OutSize();
        if (header_) {
            // Only white space stands before it: its blank lines go, its own line's indent stays.
            ScanCode(header_->begin);
            Put(t_.data() + header_->begin, header_->end - header_->begin, header_->end);
            protectedEnd_ = tokenBound_ = OutSize();
            i_ = header_->end;
        }
        ScanCode(n_);
        if (sourceLineStart_ < n_) {
            EndLine(false);
        }
        const size_t size = OutSize() < 2 ? 0 : OutSize() - 2;
        if (spilled_) {
            spill_.resize(size);
            text_ = std::move(spill_);
        } else {
            text_.resize(size);
        }
    }

  private:
    // The result is written over the source bytes already read, which it never outgrows but for
    // line ends made CR LF from CR or LF: before a write would reach `readFrom`, the first source
    // byte still to be read, the result moves to a buffer of its own.
    void Put(const char* bytes, size_t count, size_t readFrom) {
        if (!spilled_ && o_ + count <= readFrom) {
            std::memmove(text_.data() + o_, bytes, count);
            o_ += count;
            return;
        }
        Spill(bytes, count);
    }
    [[gnu::noinline]] void Spill(const char* bytes, size_t count) {
        if (!spilled_) {
            spill_.reserve(n_ + n_ / 8 + 16);
            spill_.assign(text_.data(), o_);
            spilled_ = true;
        }
        spill_.append(bytes, count);
    }
    void Put(std::string_view bytes, size_t readFrom) { Put(bytes.data(), bytes.size(), readFrom); }

    size_t OutSize() const { return spilled_ ? spill_.size() : o_; }
    std::string_view Out() const {
        return spilled_ ? std::string_view(spill_) : std::string_view(text_.data(), o_);
    }
    void Shorten(size_t size) {
        if (spilled_) {
            spill_.resize(size);
        } else {
            o_ = size;
        }
    }

    // True when the token that ends the result so far is a number, or a literal's prefix.
    bool NumberBefore() const {
        return literal_scan::NumberEndsAt(Out(), tokenBound_, OutSize(), numberGoesOnAt_);
    }
    literal_scan::Prefix PrefixBefore() const {
        return literal_scan::PrefixEndsAt(Out(), tokenBound_, OutSize(), numberGoesOnAt_);
    }

    void ScanCode(size_t limit) {
        while (i_ < limit) {
            if (atLineStart_ && cFamily_) {
                LineStart(limit);
                if (i_ >= limit) {
                    break;
                }
            }
            const size_t stop =
                std::min(byte_scan::FindFirstOf<'/', '"', '\'', '\r', '\n'>(t_, i_), limit);
            WriteCode(i_, stop);
            i_ = stop;
            if (i_ >= limit) {
                break;
            }
            switch (t_[i_]) {
                case '\r':
                case '\n':
                    EndCodeLine();
                    break;
                case '/':
                    Slash();
                    break;
                case '"':
                    DoubleQuote();
                    break;
                default:
                    SingleQuote();
                    break;
            }
        }
    }

    // At the start of a line of C or C++: a '#' first (comments before it aside) makes it a
    // preprocessor directive, whose `#include <...>` name is copied unscanned.
    void LineStart(size_t limit) {
        size_t k = i_;
        while (k < limit && IsSpaceOrTab(t_[k])) {
            ++k;
        }
        // The indent is copied with what follows it.
        if (k >= limit || IsLineEnd(t_[k]) || t_.substr(k, 2) == "/*") {
            return;
        }
        atLineStart_ = false;
        if (t_[k] != '#') {
            return;
        }
        inDirective_ = true;
        WriteCode(i_, k + 1);
        i_ = k + 1;
        HeaderName();
    }

    void HeaderName() {
        size_t k = i_;
        while (k < n_ && IsSpaceOrTab(t_[k])) {
            ++k;
        }
        for (std::string_view name : {"include_next", "include", "import"}) {
            if (t_.substr(k, name.size()) == name &&
                (k + name.size() >= n_ || !IsNameByte(t_[k + name.size()]))) {
                k += name.size();
                while (k < n_ && IsSpaceOrTab(t_[k])) {
                    ++k;
                }
                if (k >= n_ || t_[k] != '<') {
                    return;
                }
                for (size_t close = k + 1; close < n_ && !IsLineEnd(t_[close]); ++close) {
                    if (t_[close] == '>') {
                        WriteCode(i_, close + 1);
                        i_ = close + 1;
                        tokenBound_ = OutSize();
                        return;
                    }
                }
                return;
            }
        }
    }

    // Copies code. Its first byte other than a space or tab may need the line break or the space
    // that a comment removed just before it leaves.
    void WriteCode(size_t from, size_t to) {
        if (from == to) {
            return;
        }
        if (breakAt_ != kNone || glueAt_ == OutSize()) {
            size_t k = from;
            while (k < to && IsSpaceOrTab(t_[k])) {
                ++k;
            }
            Put(t_.data() + from, k - from, k);
            if (k == to) {
                return;
            }
            BeforeContent(k);
            from = k;
        }
        Put(t_.data() + from, to - from, to);
    }

    void BeforeContent(size_t at) {
        if (breakAt_ != kNone) {
            // A comment spanning lines stood between code and code: the code after it goes on a
            // line of its own, or in a directive after one space.
            const std::string after(Out().substr(breakAt_));
            Shorten(TrimmedEnd(breakAt_));
            breakAt_ = kNone;
            if (breakWithSpace_) {
                Put(" ", at);
            } else {
                FinishLine(at);
            }
            Put(after, at);
            // The comment is behind code now, and the positions it set have moved.
            tokenBound_ = OutSize();
            removedAt_ = kNone;
        } else if (glueAt_ == OutSize() &&
                   literal_scan::WouldGlue(Out().substr(lineStart_), glueToken_, t_.substr(at, 3),
                                           language_)) {
            Put(" ", at);
        }
        glueAt_ = kNone;
    }

    // Where the line's trailing spaces and tabs start, in front of `end`; a literal's bytes stay.
    size_t TrimmedEnd(size_t end) const {
        const size_t floor = std::max(lineStart_, protectedEnd_);
        while (end > floor && IsSpaceOrTab(Out()[end - 1])) {
            --end;
        }
        return end;
    }

    void FinishLine(size_t readFrom) {
        afterBackslash_ = OutSize() > lineStart_ && Out().back() == '\\';
        Put("\r\n", readFrom);
        StartLine();
    }

    void StartLine() {
        lineStart_ = protectedEnd_ = OutSize();
        lineProtected_ = false;
        removedAt_ = glueAt_ = breakAt_ = kNone;
    }

    // Ends the output line at the line end at i_ (or at the end of the text) and steps past it.
    void EndLine(bool inLiteral) {
        const size_t next = i_ >= n_ ? n_ : i_ + (t_.substr(i_, 2) == "\r\n" ? 2 : 1);
        if (removedAt_ != kNone) {
            const size_t end = TrimmedEnd(OutSize());
            if (end <= removedAt_) {
                Shorten(end);
            }
        }
        // A blank line right after a splice stays: dropping it would splice the next line on.
        const bool literalLine = lineProtected_ || inLiteral;
        if (!literalLine && AllSpaceOrTab(Out().substr(lineStart_)) &&
            !(cFamily_ && afterBackslash_)) {
            Shorten(lineStart_);
            StartLine();
        } else {
            FinishLine(next);
        }
        lineProtected_ = inLiteral;
        i_ = sourceLineStart_ = next;
        tokenBound_ = OutSize();
        numberGoesOnAt_ = kNone;
    }

    void EndCodeLine() {
        const bool spliced = cFamily_ && i_ > 0 && t_[i_ - 1] == '\\';
        EndLine(false);
        if (!spliced) {
            inDirective_ = false;
            atLineStart_ = true;
        }
    }

    // Copies a comment that this pass keeps; its line ends end output lines.
    void CopyKept(size_t end) {
        BeforeContent(i_);
        size_t from = i_;
        while (true) {
            const size_t lineEnd = byte_scan::FindEither(t_, from, '\r', '\n', end);
            Put(t_.data() + from, lineEnd - from, lineEnd);
            if (lineEnd >= end) {
                break;
            }
            i_ = lineEnd;
            EndLine(false);
            from = i_;
        }
        i_ = end;
        tokenBound_ = OutSize();
        numberGoesOnAt_ = kNone;
    }

    void Slash() {
        if (i_ + 1 < n_ && t_[i_ + 1] == '/') {
            LineComment();
        } else if (i_ + 1 < n_ && t_[i_ + 1] == '*') {
            BlockComment();
        } else {
            WriteCode(i_, i_ + 1);
            ++i_;
        }
    }

    void LineComment() {
        size_t end = byte_scan::FindEither(t_, i_, '\r', '\n');
        while (cFamily_ && end < n_ && t_[end - 1] == '\\') {
            end =
                byte_scan::FindEither(t_, end + (t_.substr(end, 2) == "\r\n" ? 2 : 1), '\r', '\n');
        }
        if (!removesLineComments_) {
            CopyKept(end);
            return;
        }
        removedAt_ = tokenBound_ = OutSize();
        i_ = end;
        numberGoesOnAt_ = kNone;
    }

    void BlockComment() {
        const size_t close = t_.find("*/", i_ + 2);
        const size_t end = close == kNone ? n_ : close + 2;
        if (removesLineComments_) {
            CopyKept(end);
            return;
        }
        const bool spansLines = byte_scan::FindEither(t_, i_, '\r', '\n', end) < end;
        if (spansLines) {
            if (breakAt_ == kNone && !AllSpaceOrTab(Out().substr(lineStart_))) {
                breakAt_ = OutSize();
                breakWithSpace_ = inDirective_;
            }
            glueAt_ = kNone;
        } else if (breakAt_ == kNone && glueAt_ != OutSize() && OutSize() > lineStart_ &&
                   !IsSpaceOrTab(Out().back())) {
            glueAt_ = OutSize();
            glueToken_.number = NumberBefore();
            glueToken_.prefix = cFamily_ ? PrefixBefore() : literal_scan::Prefix::None;
        }
        removedAt_ = tokenBound_ = OutSize();
        i_ = end;
        numberGoesOnAt_ = kNone;
    }

    void DoubleQuote() {
        if (!cFamily_) {
            if (t_.substr(i_, 3) == R"(""")") {
                TextBlock();
            } else {
                Quoted<'"'>();
            }
            return;
        }
        if (PrefixBefore() == literal_scan::Prefix::Raw) {
            const size_t delimiter = literal_scan::RawDelimiterLength(t_, i_);
            if (delimiter != kNone) {
                RawString(delimiter);
            } else {
                UpToNextQuote();
            }
            return;
        }
        Quoted<'"'>();
    }

    void SingleQuote() {
        // A digit separator: 1'000, 0x1'F.
        if (cFamily_ && i_ + 1 < n_ && IsNameByte(t_[i_ + 1]) && NumberBefore()) {
            WriteCode(i_, i_ + 1);
            ++i_;
            tokenBound_ = numberGoesOnAt_ = OutSize();
            return;
        }
        Quoted<'\''>();
    }

    void LiteralDone(size_t from, size_t end) {
        Put(t_.data() + from, end - from, end);
        protectedEnd_ = tokenBound_ = OutSize();
        i_ = end;
        numberGoesOnAt_ = kNone;
    }

    // A literal's line end: the line is kept as it stands, and so is the next one.
    size_t LiteralLineEnd(size_t from, size_t lineEnd) {
        Put(t_.data() + from, lineEnd - from, lineEnd);
        i_ = lineEnd;
        EndLine(true);
        return i_;
    }

    // A string or character literal with backslash escapes. In C and C++ a backslash at a line's
    // end splices the next line on, also between an escape's backslash and the byte it escapes.
    // Without a splice the literal ends, closed or not, at its line's end.
    template <char kQuote>
    void Quoted() {
        BeforeContent(i_);
        size_t from = i_;
        size_t k = i_ + 1;
        bool escaping = false;
        while (true) {
            if (!escaping) {
                k = byte_scan::FindFirstOf<kQuote, '\\', '\r', '\n'>(t_, k);
            }
            if (k >= n_) {
                LiteralDone(from, n_);
                return;
            }
            const char c = t_[k];
            if (cFamily_ && c == '\\' && k + 1 < n_ && IsLineEnd(t_[k + 1])) {
                from = k = LiteralLineEnd(from, k + 1);
                continue;
            }
            if (escaping) {
                escaping = false;
                if (!IsLineEnd(c)) {
                    ++k;
                    continue;
                }
            } else if (c == '\\') {
                escaping = true;
                ++k;
                continue;
            } else if (c == kQuote) {
                LiteralDone(from, k + 1);
                return;
            }
            LiteralDone(from, k);
            return;
        }
    }

    void RawString(size_t delimiterLength) {
        BeforeContent(i_);
        // A copy: the result is written over the source.
        const std::string delimiter(t_.substr(i_ + 1, delimiterLength));
        size_t from = i_;
        size_t k = i_ + 2 + delimiterLength;
        while (true) {
            k = byte_scan::FindFirstOf<')', '\r', '\n'>(t_, k);
            if (k >= n_) {
                LiteralDone(from, n_);
                return;
            }
            if (t_[k] != ')') {
                from = k = LiteralLineEnd(from, k);
                continue;
            }
            const size_t quote = k + 1 + delimiterLength;
            if (quote < n_ && t_[quote] == '"' && t_.substr(k + 1, delimiterLength) == delimiter) {
                LiteralDone(from, quote + 1);
                return;
            }
            ++k;
        }
    }

    // A raw string prefix and '"' without a valid delimiter: a literal up to the next '"'.
    void UpToNextQuote() {
        BeforeContent(i_);
        size_t from = i_;
        size_t k = i_ + 1;
        while (true) {
            k = byte_scan::FindFirstOf<'"', '\r', '\n'>(t_, k);
            if (k >= n_ || t_[k] == '"') {
                LiteralDone(from, std::min(k + 1, n_));
                return;
            }
            from = k = LiteralLineEnd(from, k);
        }
    }

    // A Java text block, """ to """, with backslash escapes.
    void TextBlock() {
        BeforeContent(i_);
        size_t from = i_;
        size_t k = i_ + 3;
        while (true) {
            k = byte_scan::FindFirstOf<'"', '\\', '\r', '\n'>(t_, k);
            if (k >= n_) {
                LiteralDone(from, n_);
                return;
            }
            const char c = t_[k];
            if (c == '\\') {
                k += k + 1 < n_ && !IsLineEnd(t_[k + 1]) ? 2 : 1;
            } else if (c == '"') {
                if (t_.substr(k, 3) == R"(""")") {
                    LiteralDone(from, k + 3);
                    return;
                }
                ++k;
            } else {
                from = k = LiteralLineEnd(from, k);
            }
        }
    }

    AnsiText& text_;
    const std::string_view t_;  // the source, over the result's bytes up to the last byte read
    const size_t n_;
    const SourceLanguage language_;
    const bool cFamily_;
    const bool removesLineComments_;
    std::optional<HeaderComment> header_;

    size_t o_ = 0;  // the result's size while it is written over the source
    AnsiText spill_;
    bool spilled_ = false;
    size_t i_ = 0;                // the next source byte
    size_t sourceLineStart_ = 0;  // where the current source line starts
    // The current output line.
    size_t lineStart_ = 0;
    size_t protectedEnd_ = 0;      // just after the last literal byte on it
    bool lineProtected_ = false;   // it holds a literal's line end or starts inside a literal
    bool afterBackslash_ = false;  // the line before it ends in a backslash
    size_t removedAt_ = kNone;     // where the last comment removed from it stood
    // A comment removed between two bytes: a space may have to go at glueAt_, or a line break
    // at breakAt_.
    size_t glueAt_ = kNone;
    literal_scan::LeftToken glueToken_;
    size_t breakAt_ = kNone;
    bool breakWithSpace_ = false;
    // Where the source is in its tokens and lines.
    // In the result: tokens before this (a literal's or comment's end) are done.
    size_t tokenBound_ = 0;
    size_t numberGoesOnAt_ = kNone;
    bool atLineStart_ = true;
    bool inDirective_ = false;
};

}  // namespace

void StripLineComments(AnsiText& text, const StripOptions& options) {
    LiteralPass(text, options, true).Run();
}

void StripBlockComments(AnsiText& text, const StripOptions& options) {
    LiteralPass(text, options, false).Run();
}

}  // namespace literal_passes
