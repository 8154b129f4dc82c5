// The two passes with options: the plain ones, the literal-aware ones, and either keeping the
// file's header comment.
#include "files/byte_scan.h"
#include "files/file_system.h"
#include "processing/comment_passes.h"
#include "processing/header_comment.h"
#include "processing/languages/cfamily.h"
#include "processing/languages/span_passes.h"

namespace {

// The plain `//` pass around a header comment: the lines before it (white space only) and after
// the line it ends on are passed as usual, and the rest of that line is cut at its "//".
void StripLineCommentsKeepingHeader(AnsiText& text, const HeaderComment& header) {
    const std::string_view source = text;
    const size_t lastLineBreak = source.find_last_of("\r\n", header.begin);
    const size_t headerLine = lastLineBreak == std::string_view::npos ? 0 : lastLineBreak + 1;
    const size_t lineEnd = byte_scan::FindEither(source, header.end, '\r', '\n');
    const std::string_view rest = source.substr(header.end, lineEnd - header.end);
    const size_t nextLine = lineEnd + (source.substr(lineEnd, 2) == "\r\n" ? 2 : 1);

    AnsiText result = StripLineCommentsFromText(source.substr(0, headerLine));
    if (!result.empty()) {
        result += "\r\n";
    }
    result.append(source.substr(headerLine, header.end - headerLine));
    result.append(rest.substr(0, rest.find("//")));
    if (nextLine < source.size()) {
        const AnsiText after = StripLineCommentsFromText(source.substr(nextLine));
        if (!after.empty()) {
            result.append("\r\n").append(after);
        }
    }
    text = std::move(result);
}

bool ReadByLexer(const StripOptions& options) {
    return options.lexer && (options.literals || !options.slashComments);
}

// The literal-aware passes, or a lexer's for a language whose comments the plain ones do not know:
// one engine, with the rules of the language's family.
bool StripBySpans(AnsiText& text, const StripOptions& options, span_passes::Kind kind) {
    if (ReadByLexer(options)) {
        span_passes::Strip(text, span_passes::LexedRules(options.lexer), kind, options);
    } else if (options.literals) {
        span_passes::Strip(text, cfamily::RulesFor(options.language), kind, options);
    } else {
        return false;
    }
    return true;
}

}  // namespace

void StripLineCommentsInPlace(AnsiText& text, const StripOptions& options) {
    if (StripBySpans(text, options, span_passes::Kind::Line)) {
        return;
    }
    const auto header = options.keepHeader ? FindHeaderComment(text, options) : std::nullopt;
    if (header) {
        StripLineCommentsKeepingHeader(text, *header);
    } else {
        StripLineCommentsInPlace(text);
    }
}

void StripBlockCommentsInPlace(AnsiText& text, const StripOptions& options) {
    if (StripBySpans(text, options, span_passes::Kind::Block)) {
        return;
    }
    const auto header = options.keepHeader ? FindHeaderComment(text, options) : std::nullopt;
    if (!header) {
        StripBlockCommentsInPlace(text);
        return;
    }
    // Everything up to the header's end stays; the pass starts afresh just after it.
    AnsiText rest = text.substr(header->end);
    StripBlockCommentsInPlace(rest);
    text.resize(header->end);
    text += rest;
}

bool EndsLinesAsTold(const StripOptions& options) {
    return !options.keepHeader && (options.literals || ReadByLexer(options));
}

void StripCommentsInPlace(AnsiText& text, const StripOptions& options) {
    // A kept header is found by each pass in its own input: there the passes run one by one.
    if (options.keepHeader || !StripBySpans(text, options, span_passes::Kind::Both)) {
        StripLineCommentsInPlace(text, options);
        StripBlockCommentsInPlace(text, options);
    }
}

bool StripLineComments(const Path& path, AnsiText& text, const StripOptions& options) {
    if (!ReadWholeFile(path, text)) {
        return false;
    }
    StripLineCommentsInPlace(text, options);
    return true;
}
