#include "processing/header_comment.h"

#include "files/byte_scan.h"
#include "processing/line_chars.h"
#include "processing/literal_scan.h"

namespace {

// Where the line that `from` is on ends (its CR or LF), or the text's size.
size_t LineEnd(std::string_view text, size_t from) {
    return byte_scan::FindEither(text, from, '\r', '\n');
}

}  // namespace

size_t ByteOrderMarkLength(std::string_view text) {
    return text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
}

std::optional<HeaderComment> FindHeaderComment(std::string_view text, const StripOptions& options) {
    size_t begin = ByteOrderMarkLength(text);
    while (begin < text.size() && IsWhiteSpace(text[begin])) {
        ++begin;
    }
    source_chars::SourceChars chars(text, options.language);
    if (text.substr(begin, 2) == "/*") {
        if (options.literals) {
            return HeaderComment{
                begin, literal_scan::BlockCommentEnd(text, chars, begin + 2, options.language)};
        }
        // The plain pass lets the '*' of "/*" start the "*/" as well.
        const size_t close = text.find("*/", begin + 1);
        return HeaderComment{begin, close == std::string_view::npos ? text.size() : close + 2};
    }
    if (text.substr(begin, 2) != "//") {
        return std::nullopt;
    }
    // As the passes read it: over splices in C and C++, up to an escaped line end in Java.
    const auto lineCommentEnd = [&](size_t from) {
        return options.literals ? literal_scan::LineCommentEnd(text, chars, from, options.language)
                                : LineEnd(text, from);
    };
    size_t end = lineCommentEnd(begin);
    while (end < text.size() && literal_scan::IsLineEnd(text[end])) {
        size_t next = AfterLineEnd(text, end);
        while (next < text.size() && (text[next] == ' ' || text[next] == '\t')) {
            ++next;
        }
        if (text.substr(next, 2) != "//") {
            break;
        }
        end = lineCommentEnd(next);
    }
    return HeaderComment{begin, end};
}
