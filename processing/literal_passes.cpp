#include "processing/literal_passes.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "files/byte_scan.h"
#include "processing/header_comment.h"
#include "processing/header_names.h"
#include "processing/literal_scan.h"
#include "processing/source_chars.h"

namespace literal_passes {

namespace {

using literal_scan::IsLineEnd;
using literal_scan::IsNameByte;
using literal_scan::IsSpaceOrTab;

using source_chars::EndsInSplice;
using source_chars::IsSpliceBlank;
using source_chars::SourceChars;

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
          removesLineComments_(removesLineComments),
          lineEnd_(options.lineEnd),
          chars_(text, options.language) {
        if (options.keepHeader) {
            header_ = FindHeaderComment(text, options);
        }
    }

    // Leaves the result in the text given.
    void Run() {
        i_ = ByteOrderMarkLength(t_);
        Put(t_.data(), i_, i_);
        logicalLineStart_ = tokenBound_ = OutSize();
        if (header_) {
            // Only white space stands before it: its blank lines go, its own line's indent stays.
            ScanCode(header_->begin);
            Put(t_.data() + header_->begin, header_->end - header_->begin, header_->end);
            protectedEnd_ = logicalLineStart_ = tokenBound_ = OutSize();
            i_ = header_->end;
        }
        ScanCode(n_);
        if (sourceLineStart_ < n_) {
            EndLine(false, false);
        }
        // The line end after the last line kept goes, unless that line ended the text.
        const size_t size = endsInLine_                   ? OutSize()
                            : OutSize() < lineEnd_.size() ? 0
                                                          : OutSize() - lineEnd_.size();
        if (spilled_) {
            spill_.resize(size);
            text_ = std::move(spill_);
        } else {
            text_.resize(size);
        }
    }

  private:
    // The result is written over the source bytes already read, which it never outgrows but for
    // line ends made longer (CR LF from CR or LF): before a write would reach `readFrom`, the first
    // source byte still to be read, the result moves to a buffer of its own, reserved at once for
    // the most the rest can grow to (the pages never written are never touched).
    void Put(const char* bytes, size_t count, size_t readFrom) {
        if (!spilled_ && o_ + count <= readFrom) {
            std::memmove(text_.data() + o_, bytes, count);
            o_ += count;
            return;
        }
        Spill(bytes, count, readFrom);
    }
    [[gnu::noinline]] void Spill(const char* bytes, size_t count, size_t readFrom) {
        if (!spilled_) {
            const auto rest = t_.substr(std::min(readFrom, n_));
            const auto lineEnds = std::count_if(rest.begin(), rest.end(), IsLineEnd);
            spill_.reserve(o_ + count + rest.size() + static_cast<size_t>(lineEnds) + 16);
            spill_.assign(text_.data(), o_);
            spilled_ = true;
        }
        spill_.append(bytes, count);
    }
    // Writes the lines [from, to), each ending in LF, with CR LF: the result grows a byte a line.
    void PutLinesWithCrLf(size_t from, size_t to) {
        const auto lines =
            static_cast<size_t>(std::count(t_.begin() + from, t_.begin() + to, '\n'));
        if (!spilled_ && o_ + (to - from) + lines <= to) {
            for (size_t lineEnd; from < to; from = lineEnd + 1) {
                lineEnd = byte_scan::FindEither(t_, from, '\n', '\n', to);
                Put(t_.data() + from, lineEnd - from, lineEnd);
                Put("\r\n", lineEnd + 1);
            }
            return;
        }
        Spill(t_.data(), 0, from);
        size_t out = spill_.size();
        spill_.resize(out + (to - from) + lines);
        char* const data = spill_.data();
        for (size_t lineEnd; from < to; from = lineEnd + 1) {
            lineEnd = byte_scan::FindEither(t_, from, '\n', '\n', to);
            std::memcpy(data + out, t_.data() + from, lineEnd - from);
            out += lineEnd - from;
            data[out++] = '\r';
            data[out++] = '\n';
        }
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

    // The end of the code written on the current logical line, as the compiler reads it: with
    // splices undone, and in Java escapes translated. Looks back no further than a token bound
    // or, on a long line, than the stretch that the checks of the last tokens need.
    struct LeftCode {
        std::string_view text;
        size_t tokenBound;
        size_t numberGoesOnAt;
    };
    LeftCode Left() {
        const std::string_view out = Out();
        size_t from = logicalLineStart_;
        if (out.size() - from > 256) {
            from = std::min(tokenBound_, out.size() - 256);
        }
        const auto inLeft = [&](size_t at) { return at == kNone ? kNone : at - from; };
        if (std::memchr(out.data() + from, '\\', out.size() - from) == nullptr) {
            return {out.substr(from), inLeft(tokenBound_), inLeft(numberGoesOnAt_)};
        }
        logical_.clear();
        SourceChars chars(out, language_);
        size_t bound = kNone;
        size_t goesOn = kNone;
        for (size_t k = from;;) {
            k = chars.Skip(k);
            if (bound == kNone && k >= tokenBound_) {
                bound = logical_.size();
            }
            if (goesOn == kNone && numberGoesOnAt_ != kNone && k >= numberGoesOnAt_) {
                goesOn = logical_.size();
            }
            if (k >= out.size()) {
                break;
            }
            const auto c = chars.At(k);
            logical_ += c.c;
            k = c.end;
        }
        return {logical_, bound, goesOn};
    }

    // True when the token that ends the result so far is a number, or a literal's prefix.
    bool NumberBefore() {
        const LeftCode left = Left();
        return literal_scan::NumberEndsAt(left.text, left.tokenBound, left.text.size(),
                                          left.numberGoesOnAt);
    }
    literal_scan::Prefix PrefixBefore() {
        const LeftCode left = Left();
        return literal_scan::PrefixEndsAt(left.text, left.tokenBound, left.text.size(),
                                          left.numberGoesOnAt);
    }

    // The next three characters of the source from `at`, as the compiler reads them.
    std::string_view Right(size_t at) {
        right_.clear();
        for (size_t k = at; right_.size() < 3 && !chars_.AtEnd(k);) {
            const auto c = chars_.At(k);
            right_ += c.c;
            k = c.end;
        }
        return right_;
    }

    // True when the current output line, blanks aside, ends in a backslash: a splice, which a
    // line end after it would make.
    bool LineEndsInBackslash() const {
        return cFamily_ && EndsInSplice(Out(), lineStart_, OutSize());
    }

    void ScanCode(size_t limit) {
        while (i_ < limit) {
            if (atLineStart_ && i_ == sourceLineStart_ && OutSize() == lineStart_ &&
                !lineProtected_ && !afterBackslash_) {
                PlainLines(limit);
                if (i_ >= limit) {
                    break;
                }
            }
            if (atLineStart_ && cFamily_) {
                LineStart(limit);
                if (i_ >= limit) {
                    break;
                }
            }
            // Java's escapes can stand for any of the bytes looked for.
            size_t stop = cFamily_
                              ? byte_scan::FindFirstOf<'/', '"', '\'', '\r', '\n'>(t_, i_)
                              : byte_scan::FindFirstOf<'/', '"', '\'', '\\', '\r', '\n'>(t_, i_);
            const size_t headerName = NextHeaderName();
            stop = std::min({stop, limit, headerName});
            WriteCode(i_, stop);
            i_ = stop;
            if (i_ >= limit) {
                break;
            }
            if (i_ == headerName) {
                HeaderName();
                continue;
            }
            if (IsLineEnd(t_[i_])) {
                EndCodeLine();
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
                default:
                    // A backslash, or an escape that stands for any other character.
                    WriteCode(i_, c.end);
                    i_ = c.end;
                    break;
            }
        }
    }

    // Lines holding none of the bytes that start a comment, a literal, a splice or an escape are
    // copied as they stand, or dropped when they hold only spaces and tabs: most lines of most
    // sources, which need none of the scan's work. A run of lines that keep their own line ends
    // is moved in one piece.
    void PlainLines(size_t limit) {
        size_t runFrom = i_;
        size_t k = i_;
        const bool wholeBlocks = lineEnd_ != "\r";
        while (true) {
            if (wholeBlocks) {
                k = byte_scan::PlainLinesEnd<'/', '"', '\'', '\\'>(t_, k, limit,
                                                                   lineEnd_ == "\r\n");
                if (lineEnd_ == "\r\n") {
                    // Plain lines ending in LF, each written with CR LF.
                    const size_t end =
                        byte_scan::PlainLinesEnd<'/', '"', '\'', '\\'>(t_, k, limit, false);
                    if (end != k) {
                        Put(t_.data() + runFrom, k - runFrom, k);
                        PutLinesWithCrLf(k, end);
                        runFrom = k = end;
                        continue;
                    }
                }
            }
            const size_t stop = byte_scan::FindFirstOf<'/', '"', '\'', '\\', '\r', '\n'>(t_, k);
            if (stop >= limit || !IsLineEnd(t_[stop])) {
                break;
            }
            const size_t lineEnd = source_chars::LineEndLength(t_, stop);
            const size_t next = stop + lineEnd;
            const bool blank = AllSpaceOrTab(t_.substr(k, stop - k));
            if (blank || t_.substr(stop, lineEnd) != lineEnd_) {
                const size_t runEnd = blank ? k : stop;
                Put(t_.data() + runFrom, runEnd - runFrom, runEnd);
                if (!blank) {
                    Put(lineEnd_, next);
                }
                runFrom = next;
            }
            k = next;
        }
        Put(t_.data() + runFrom, k - runFrom, k);
        if (k != i_) {
            i_ = sourceLineStart_ = k;
            StartLine();
            logicalLineStart_ = tokenBound_ = OutSize();
            numberGoesOnAt_ = kNone;
        }
    }

    // At the start of a line of C or C++: a '#' (or "%:") first, blanks and comments before it
    // aside, makes it a preprocessor directive, in which header names are copied unscanned.
    void LineStart(size_t limit) {
        size_t k = i_;
        while (k < limit && IsSpliceBlank(t_[k])) {
            ++k;
        }
        // The indent is copied with what follows it; a comment or a splice leaves the line's
        // start to what comes after it.
        if (k >= limit || IsLineEnd(t_[k]) || source_chars::SpliceLength(t_, k) != 0) {
            return;
        }
        const auto c = chars_.At(k);
        const char next = chars_.Peek(c.end);
        if (c.c == '/' && next == '*') {
            return;
        }
        atLineStart_ = false;
        if (!StartsDirective(k)) {
            return;
        }
        headerNames_ = header_names::Find(t_, chars_, c.c == '#' ? c.end : chars_.At(c.end).end);
        nextHeaderName_ = 0;
        inDirective_ = true;
    }

    // True when '#' (or "%:") stands at `k` in C or C++.
    bool StartsDirective(size_t k) {
        if (!cFamily_ || chars_.AtEnd(k)) {
            return false;
        }
        const auto c = chars_.At(k);
        return c.c == '#' || (c.c == '%' && chars_.Peek(c.end) == ':');
    }

    // Where the next header name found for this directive starts, or kNone.
    size_t NextHeaderName() {
        while (nextHeaderName_ < headerNames_.size() && headerNames_[nextHeaderName_].begin < i_) {
            ++nextHeaderName_;
        }
        return nextHeaderName_ < headerNames_.size() ? headerNames_[nextHeaderName_].begin : kNone;
    }

    void HeaderName() {
        BeforeContent(i_);
        const size_t end = headerNames_[nextHeaderName_++].end;
        size_t from = i_;
        while (true) {
            const size_t lineEnd = byte_scan::FindEither(t_, from, '\r', '\n', end);
            if (lineEnd >= end) {
                break;
            }
            from = LiteralLineEnd(from, lineEnd, true);
        }
        LiteralDone(from, end);
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
            // line of its own, or after one space in a directive, after a backslash, and before
            // a '#' that would start a directive at a line's start.
            const std::string after(Out().substr(breakAt_));
            Shorten(TrimmedEnd(breakAt_));
            breakAt_ = kNone;
            if (breakWithSpace_ || StartsDirective(at)) {
                Put(" ", at);
            } else {
                FinishLine(at);
                logicalLineStart_ = OutSize();
            }
            Put(after, at);
            // The comment is behind code now, and the positions it set have moved.
            tokenBound_ = OutSize();
            removedAt_ = kNone;
        } else if (glueAt_ == OutSize() &&
                   literal_scan::WouldGlue(glueLeft_, glueToken_, Right(at), language_)) {
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
        afterBackslash_ = LineEndsInBackslash();
        Put(lineEnd_, readFrom);
        StartLine();
    }

    void StartLine() {
        lineStart_ = protectedEnd_ = OutSize();
        lineProtected_ = false;
        removedAt_ = glueAt_ = breakAt_ = kNone;
    }

    // Ends the output line at the line end at i_ (or at the end of the text) and steps past it.
    // A line end that a splice makes part of a logical line leaves that line's tokens going on.
    void EndLine(bool inLiteral, bool spliced) {
        const size_t next = i_ >= n_ ? n_ : i_ + source_chars::LineEndLength(t_, i_);
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
        } else if (i_ >= n_) {
            endsInLine_ = true;
        } else {
            FinishLine(next);
        }
        lineProtected_ = inLiteral;
        i_ = sourceLineStart_ = next;
        if (!spliced) {
            logicalLineStart_ = tokenBound_ = OutSize();
            numberGoesOnAt_ = kNone;
        }
    }

    void EndCodeLine() {
        // Only a backslash in the source ends an output line in C or C++.
        const bool spliced = LineEndsInBackslash();
        EndLine(false, spliced);
        if (!spliced) {
            inDirective_ = false;
            atLineStart_ = true;
            headerNames_.clear();
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
            EndLine(false, false);
            from = i_;
        }
        i_ = end;
        tokenBound_ = OutSize();
        numberGoesOnAt_ = kNone;
    }

    void Slash(size_t after) {
        const char next = chars_.Peek(after);
        if (next == '/') {
            LineComment();
        } else if (next == '*') {
            BlockComment(chars_.At(after).end);
        } else {
            WriteCode(i_, after);
            i_ = after;
        }
    }

    // True when the comment ending at `end` ends its line, blanks aside, and the code before it on
    // the line ends in a backslash: without the comment the line would be spliced to the next.
    bool KeptForItsBackslash(size_t end) const {
        if (!LineEndsInBackslash()) {
            return false;
        }
        while (end < n_ && IsSpliceBlank(t_[end])) {
            ++end;
        }
        return end >= n_ || IsLineEnd(t_[end]);
    }

    void LineComment() {
        const size_t end = literal_scan::LineCommentEnd(t_, chars_, i_, language_);
        if (!removesLineComments_ || KeptForItsBackslash(end)) {
            CopyKept(end);
            return;
        }
        removedAt_ = tokenBound_ = OutSize();
        i_ = end;
        numberGoesOnAt_ = kNone;
    }

    void BlockComment(size_t from) {
        const size_t end = literal_scan::BlockCommentEnd(t_, chars_, from, language_);
        if (removesLineComments_ || KeptForItsBackslash(end)) {
            CopyKept(end);
            return;
        }
        // A comment spanning lines after code on its line leaves a line break; any other comment
        // (also one after a splice) may have to leave a space.
        const bool spansLines = byte_scan::FindEither(t_, i_, '\r', '\n', end) < end;
        if (spansLines && (breakAt_ != kNone || !AllSpaceOrTab(Out().substr(lineStart_)))) {
            if (breakAt_ == kNone) {
                breakAt_ = OutSize();
                breakWithSpace_ = inDirective_ || LineEndsInBackslash();
            }
            glueAt_ = kNone;
        } else if (breakAt_ == kNone && glueAt_ != OutSize()) {
            const LeftCode left = Left();
            if (!left.text.empty() && !IsSpaceOrTab(left.text.back())) {
                glueAt_ = OutSize();
                glueLeft_ = left.text.substr(left.text.size() > 3 ? left.text.size() - 3 : 0);
                glueToken_.number = literal_scan::NumberEndsAt(
                    left.text, left.tokenBound, left.text.size(), left.numberGoesOnAt);
                glueToken_.prefix =
                    cFamily_ ? literal_scan::PrefixEndsAt(left.text, left.tokenBound,
                                                          left.text.size(), left.numberGoesOnAt)
                             : literal_scan::Prefix::None;
            }
        }
        removedAt_ = tokenBound_ = OutSize();
        i_ = end;
        numberGoesOnAt_ = kNone;
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
        if (PrefixBefore() == literal_scan::Prefix::Raw) {
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
        if (cFamily_ && IsNameByte(chars_.Peek(after)) && NumberBefore()) {
            WriteCode(i_, after);
            i_ = after;
            tokenBound_ = numberGoesOnAt_ = OutSize();
            return;
        }
        Quoted<'\''>(after);
    }

    void LiteralDone(size_t from, size_t end) {
        Put(t_.data() + from, end - from, end);
        protectedEnd_ = tokenBound_ = OutSize();
        i_ = end;
        numberGoesOnAt_ = kNone;
    }

    // A literal's line end: the line is kept as it stands, and so is the next one.
    size_t LiteralLineEnd(size_t from, size_t lineEnd, bool spliced) {
        Put(t_.data() + from, lineEnd - from, lineEnd);
        i_ = lineEnd;
        EndLine(true, spliced);
        return i_;
    }

    // A string or character literal with backslash escapes, from just after its opening quote.
    // In C and C++ a splice continues it, also between an escape's backslash and the character it
    // escapes. Without a splice the literal ends, closed or not, at its line's end (in Java also
    // at an escaped one).
    template <char kQuote>
    void Quoted(size_t after) {
        BeforeContent(i_);
        size_t from = i_;
        size_t k = after;
        bool escaping = false;
        while (true) {
            if (!escaping) {
                k = byte_scan::FindFirstOf<kQuote, '\\', '\r', '\n'>(t_, k);
            }
            if (k >= n_) {
                LiteralDone(from, n_);
                return;
            }
            if (cFamily_ && source_chars::SpliceLength(t_, k) != 0) {
                from = k = LiteralLineEnd(from, byte_scan::FindEither(t_, k, '\r', '\n'), true);
                continue;
            }
            const auto c =
                IsLineEnd(t_[k]) || cFamily_ ? SourceChars::Char{t_[k], k + 1} : chars_.At(k);
            if (IsLineEnd(c.c)) {
                LiteralDone(from, k);
                return;
            }
            if (escaping) {
                escaping = false;
            } else if (c.c == '\\') {
                escaping = true;
            } else if (c.c == kQuote) {
                LiteralDone(from, c.end);
                return;
            }
            k = c.end;
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
                from = k = LiteralLineEnd(from, k, false);
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
            from = k = LiteralLineEnd(from, k, false);
        }
    }

    // A Java text block, """ to """, with backslash escapes, from just after its opening quotes.
    void TextBlock(size_t after) {
        BeforeContent(i_);
        size_t from = i_;
        size_t k = after;
        while (true) {
            k = byte_scan::FindFirstOf<'"', '\\', '\r', '\n'>(t_, k);
            if (k >= n_) {
                LiteralDone(from, n_);
                return;
            }
            if (IsLineEnd(t_[k])) {
                from = k = LiteralLineEnd(from, k, false);
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
                LiteralDone(from, chars_.At(chars_.At(k).end).end);
                return;
            }
        }
    }

    AnsiText& text_;
    const std::string_view t_;  // the source, over the result's bytes up to the last byte read
    const size_t n_;
    const SourceLanguage language_;
    const bool cFamily_;
    const bool removesLineComments_;
    const std::string_view lineEnd_;
    SourceChars chars_;
    std::optional<HeaderComment> header_;

    size_t o_ = 0;             // the result's size while it is written over the source
    bool endsInLine_ = false;  // the text's last line is kept and has no line end
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
    std::string glueLeft_;  // the last characters before it
    literal_scan::LeftToken glueToken_;
    size_t breakAt_ = kNone;
    bool breakWithSpace_ = false;
    // Where the source is in its tokens and lines.
    // In the result: tokens before this (a literal's or comment's end) are done.
    size_t tokenBound_ = 0;
    size_t numberGoesOnAt_ = kNone;
    size_t logicalLineStart_ = 0;  // where the logical line that splices continue starts
    std::string logical_;          // Left()'s text, when it has to be translated
    std::string right_;            // Right()'s text
    // The current directive's header names, [begin, end) in the source, and the next one's index.
    std::vector<header_names::Span> headerNames_;
    size_t nextHeaderName_ = 0;
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
