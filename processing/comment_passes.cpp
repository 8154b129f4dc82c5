#include "processing/comment_passes.h"

#include <cstdint>
#include <cstring>

#include "files/file_system.h"
#include "files/mdlPub.h"

namespace {

bool IsBlank(std::string_view line) {
    return line.find_first_not_of(' ') == std::string_view::npos;
}

bool StartsWith(std::string_view text, size_t position, const char (&marker)[3]) {
    return position + 1 < text.size() && text[position] == marker[0] &&
           text[position + 1] == marker[1];
}

// True when one of the eight bytes in `word` is `byte`.
bool HasByte(uint64_t word, char byte) {
    constexpr uint64_t kOnes = 0x0101010101010101;
    constexpr uint64_t kHighs = 0x8080808080808080;
    const uint64_t zeroWhereEqual = word ^ (kOnes * static_cast<unsigned char>(byte));
    return ((zeroWhereEqual - kOnes) & ~zeroWhereEqual & kHighs) != 0;
}

// First position at or after `from` where "/*" or "*/" starts, or the text's size.
size_t FindMarker(std::string_view text, size_t from) {
    if (text.size() < 2) {
        return text.size();
    }
    const char* const data = text.data();
    const size_t last = text.size() - 1;  // a marker needs a second byte
    size_t i = from;
    while (i < last) {
        // Most of a source has neither '/' nor '*': skip it eight bytes at a time.
        uint64_t word;
        if (i + 8 <= last) {
            std::memcpy(&word, data + i, 8);
            if (!HasByte(word, '/') && !HasByte(word, '*')) {
                i += 8;
                continue;
            }
        }
        const char c = data[i];
        if ((c == '/' && data[i + 1] == '*') || (c == '*' && data[i + 1] == '/')) {
            return i;
        }
        ++i;
    }
    return text.size();
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
    mdlPub::LineRewriter lines(source);
    std::string_view line;
    while (lines.ReadLine(line)) {
        line = line.substr(0, line.find("//"));
        if (!IsBlank(line)) {
            lines.Write(line);
            lines.Write("\r\n");
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
