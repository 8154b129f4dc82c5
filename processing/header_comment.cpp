#include "processing/header_comment.h"

#include "files/byte_scan.h"

namespace {

bool IsWhiteSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// Where the line that `from` is on ends (its CR or LF), or the text's size.
size_t LineEnd(std::string_view text, size_t from) {
    return byte_scan::FindEither(text, from, '\r', '\n');
}

size_t AfterLineEnd(std::string_view text, size_t end) {
    if (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n') {
        return end + 2;
    }
    return end + 1;
}

// The end of the `//` comment starting at `from`: its line's end, or with splices a later one's.
size_t LineCommentEnd(std::string_view text, size_t from, bool splices) {
    size_t end = LineEnd(text, from);
    while (splices && end < text.size() && text[end - 1] == '\\') {
        end = LineEnd(text, AfterLineEnd(text, end));
    }
    return end;
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
    if (text.substr(begin, 2) == "/*") {
        // The plain pass lets the '*' of "/*" start the "*/" as well.
        const size_t close = text.find("*/", begin + (options.literals ? 2 : 1));
        return HeaderComment{begin, close == std::string_view::npos ? text.size() : close + 2};
    }
    if (text.substr(begin, 2) != "//") {
        return std::nullopt;
    }
    const bool splices = options.literals && options.language == SourceLanguage::CFamily;
    size_t end = LineCommentEnd(text, begin, splices);
    while (end < text.size()) {
        size_t next = AfterLineEnd(text, end);
        while (next < text.size() && (text[next] == ' ' || text[next] == '\t')) {
            ++next;
        }
        if (text.substr(next, 2) != "//") {
            break;
        }
        end = LineCommentEnd(text, next, splices);
    }
    return HeaderComment{begin, end};
}
