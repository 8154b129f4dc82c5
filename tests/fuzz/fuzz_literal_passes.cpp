// The literal-aware passes against their plain model, on arbitrary bytes. The first byte picks
// the language, whether the header comment is kept and the line end the passes write: its two low
// bits C or Java and the header, the third LF line ends, the others, when not zero, one of the
// languages read by a lexer of their own. These have no model: their lexer's spans must be ordered
// and within the text, the result must keep the source's order, and the passes must leave nothing
// for a second run to remove. In every language both kinds removed in one sweep must leave what
// the two passes leave; in C and Java also when the text is cut in two and its parts stripped
// apart.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "processing/comment_passes.h"
#include "processing/header_comment.h"
#include "processing/languages/language_table.h"
#include "tests/literal_model.h"

// A kept header comes through both passes exactly.
static bool KeepsHeader(const std::string& source, const StripOptions& options) {
    const auto header = FindHeaderComment(source, options);
    if (!header) {
        return true;
    }
    AnsiText text = source;
    StripLineCommentsInPlace(text, options);
    StripBlockCommentsInPlace(text, options);
    return text.find(source.substr(header->begin, header->end - header->begin)) !=
           std::string::npos;
}

static AnsiText BothPasses(std::string_view source, const StripOptions& options) {
    AnsiText text(source);
    StripLineCommentsInPlace(text, options);
    StripBlockCommentsInPlace(text, options);
    return text;
}

// Both kinds removed in one sweep leave what the two passes, one after the other, leave.
static bool OneSweepIsBothPasses(std::string_view source, const StripOptions& options) {
    AnsiText once(source);
    StripCommentsInPlace(once, options);
    return once == BothPasses(source, options);
}

static void CheckLexedLanguage(const std::string& source, StripOptions options) {
    CommentSpans spans;
    options.lexer(source, spans);
    size_t end = 0;
    for (const CommentSpan& span : spans) {
        if (span.begin < end || span.end < span.begin || span.end > source.size()) {
            std::abort();
        }
        end = span.end;
    }
    const AnsiText once = BothPasses(source, options);
    // A literal left open at the text's end takes the text's last line end as its own, so a
    // second run keeps one line end fewer there, as the C family's passes do.
    const bool openAtEnd =
        !spans.empty() && spans.back().literal && spans.back().end == source.size();
    if (!literal_model::KeepsOrderOfInput(source, once) ||
        (!openAtEnd && BothPasses(once, options) != once) ||
        !OneSweepIsBothPasses(source, options)) {
        std::abort();
    }
}

// Lines, blanks aside, ending in a backslash: each is spliced to the next one.
static size_t SplicedLines(const std::string& text) {
    size_t count = 0;
    for (size_t end = 0; (end = text.find_first_of("\r\n", end)) != std::string::npos; ++end) {
        size_t k = end;
        while (k > 0 && (text[k - 1] == ' ' || text[k - 1] == '\t' || text[k - 1] == '\f' ||
                         text[k - 1] == '\v')) {
            --k;
        }
        count += k > 0 && text[k - 1] == '\\';
    }
    return count;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    StripOptions options;
    options.literals = true;
    if (const size_t choice = data[0] >> 3; choice != 0) {
        static const std::vector<const Language*> lexed = [] {
            std::vector<const Language*> languages;
            for (const Language& language : Languages()) {
                if (language.lexer) {
                    languages.push_back(&language);
                }
            }
            return languages;
        }();
        UseLanguage(*lexed[(choice - 1) % lexed.size()], options);
        options.keepHeader = (data[0] & 2) != 0;
        CheckLexedLanguage(std::string(reinterpret_cast<const char*>(data) + 1, size - 1), options);
        return 0;
    }
    options.language = (data[0] & 1) != 0 ? SourceLanguage::Java : SourceLanguage::CFamily;
    options.keepHeader = (data[0] & 2) != 0;
    const std::string source(reinterpret_cast<const char*>(data) + 1, size - 1);

    AnsiText text = source;
    StripLineCommentsInPlace(text, options);
    if (text != literal_model::StripLineComments(source, options) ||
        !literal_model::KeepsOrderOfInput(source, text)) {
        std::abort();
    }
    const std::string afterLineComments = text;
    StripBlockCommentsInPlace(text, options);
    if (text != literal_model::StripBlockComments(afterLineComments, options) ||
        !literal_model::KeepsOrderOfInput(source, text)) {
        std::abort();
    }
    StripOptions plain = options;
    plain.literals = false;
    if (options.keepHeader && !(KeepsHeader(source, options) && KeepsHeader(source, plain))) {
        std::abort();
    }
    // In C and C++ no line may end in a backslash that its source line did not end in.
    if (options.language == SourceLanguage::CFamily &&
        SplicedLines(text + "\n") > SplicedLines(source + "\n")) {
        std::abort();
    }
    // The line end asked for is the one every line gets.
    if ((data[0] & 4) != 0 && !options.keepHeader) {
        StripOptions lf = options;
        lf.lineEnd = "\n";
        AnsiText withLf = source;
        StripLineCommentsInPlace(withLf, lf);
        StripBlockCommentsInPlace(withLf, lf);
        std::string expected;
        for (char c : text) {
            if (c != '\r') {
                expected += c;
            }
        }
        if (withLf != expected) {
            std::abort();
        }
    }
    if (!OneSweepIsBothPasses(source, options) ||
        (!options.keepHeader && !literal_model::CutsAgreeingWithOnePiece(source, options, 8))) {
        std::abort();
    }
    // The second pass on its own, on text the first pass did not shape.
    AnsiText raw = source;
    StripBlockCommentsInPlace(raw, options);
    if (raw != literal_model::StripBlockComments(source, options)) {
        std::abort();
    }
    return 0;
}
