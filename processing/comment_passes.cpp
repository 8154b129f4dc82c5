#include "processing/comment_passes.h"

#include <cstring>

#include "files/byte_scan.h"
#include "files/file_system.h"
#include "processing/line_rewriter.h"

namespace {

bool StartsWith(std::string_view text, size_t position, const char (&marker)[3]) {
    return position + 1 < text.size() && text[position] == marker[0] &&
           text[position + 1] == marker[1];
}

// First position at or after `from` where "/*" or "*/" starts, or the text's size.
size_t FindMarker(std::string_view text, size_t from) {
    for (size_t i = byte_scan::FindEither(text, from, '/', '*'); i + 1 < text.size();
         i = byte_scan::FindEither(text, i + 1, '/', '*')) {
        if (text[i + 1] == (text[i] == '/' ? '*' : '/')) {
            return i;
        }
    }
    return text.size();
}

// Where the "//" of `line`, a part of `text`, starts, or the line's size; `slash` is where the
// line's first '/' stands. Scans may read on into the rest of `text`, which spares short lines a
// byte-by-byte tail.
size_t FindLineComment(std::string_view text, std::string_view line, size_t slash) {
    const size_t start = static_cast<size_t>(line.data() - text.data());
    const size_t end = start + line.size();
    for (size_t i = start + slash; i + 1 < end;
         i = byte_scan::FindEither(text, i + 1, '/', '/', end)) {
        if (text[i + 1] == '/') {
            return i - start;
        }
    }
    return line.size();
}

bool IsBlank(std::string_view text, std::string_view line) {
    const size_t start = static_cast<size_t>(line.data() - text.data());
    return byte_scan::AllAre(text, start, ' ', start + line.size());
}

// First position at or after `from` where "*/" starts, or the text's size.
size_t FindCommentEnd(std::string_view text, size_t from) {
    while (from < text.size()) {
        const void* star = std::memchr(text.data() + from, '*', text.size() - from);
        if (star == nullptr) {
            break;
        }
        from = static_cast<const char*>(star) - text.data();
        if (StartsWith(text, from, "*/")) {
            return from;
        }
        ++from;
    }
    return text.size();
}

}  // namespace

void StripLineCommentsInPlace(AnsiText& source) {
    // Lines are rewritten behind the one being read, so `text` still holds the source from the
    // current line on.
    const std::string_view text = source;
    LineRewriter lines(source);
    std::string_view line;
    size_t slash = 0;
    while (lines.ReadLine<'/'>(line, slash)) {
        line = line.substr(0, FindLineComment(text, line, slash));
        if (!IsBlank(text, line)) {
            lines.WriteLine(line);
        }
    }
    lines.Finish();
    if (!source.empty()) {
        source.resize(source.size() - 2);
    }
}

bool StripLineComments(const Path& path, AnsiText& text) {
    if (!ReadWholeFile(path, text)) {
        return false;
    }
    StripLineCommentsInPlace(text);
    return true;
}

std::optional<AnsiText> StripLineComments(const Path& path) {
    AnsiText text;
    if (!StripLineComments(path, text)) {
        return std::nullopt;
    }
    return text;
}

void StripBlockCommentsInPlace(AnsiText& buffer) {
    // Reads at i and writes at `out`, which never gets ahead of i.
    const std::string_view text = buffer;
    char* const result = buffer.data();
    size_t out = 0;
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        // Outside a comment: copy up to the next marker.
        const size_t marker = FindMarker(text, i);
        std::memmove(result + out, text.data() + i, marker - i);
        out += marker - i;
        i = marker;
        if (i >= n) {
            break;
        }
        if (StartsWith(text, i, "/*")) {
            // Inside a comment only "*/" matters. The '*' of "/*" may also close it ("/*/").
            i = FindCommentEnd(text, i + 1);
            if (i >= n) {
                break;
            }
        }
        // At a "*/": resume right after it, dropping the CR LF that ends the comment's line.
        i += 2;
        if (StartsWith(text, i, "\r\n")) {
            i += 2;
        }
        // The byte at the resume position is kept unless a new comment starts there.
        if (StartsWith(text, i, "/*")) {
            continue;
        }
        if (i < n) {
            result[out++] = text[i];
            ++i;
        }
    }
    buffer.resize(out);
}
