#include "cli/line_ends.h"

#include <cstring>

#include "files/byte_scan.h"

namespace {

// CR LF for each lone CR or LF: the text grows, so it is filled from its end.
void WidenToCrLf(AnsiText& text) {
    size_t lone = 0;
    for (size_t i = byte_scan::FindEither(text, 0, '\r', '\n'); i < text.size();
         i = byte_scan::FindEither(text, i + 1, '\r', '\n')) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
        } else {
            ++lone;
        }
    }
    size_t in = text.size();
    text.resize(in + lone);
    char* const data = text.data();
    for (size_t out = text.size(); in > 0;) {
        const char c = data[--in];
        if (c != '\r' && c != '\n') {
            data[--out] = c;
            continue;
        }
        data[--out] = '\n';
        data[--out] = '\r';
        if (c == '\n' && in > 0 && data[in - 1] == '\r') {
            --in;
        }
    }
}

// One byte for each line end: the result is written behind the reading position.
void NarrowTo(AnsiText& text, char lineEnd) {
    char* const data = text.data();
    size_t out = 0;
    size_t in = 0;
    while (in < text.size()) {
        const size_t end = byte_scan::FindEither(text, in, '\r', '\n');
        std::memmove(data + out, data + in, end - in);
        out += end - in;
        if (end == text.size()) {
            break;
        }
        in = end + (data[end] == '\r' && end + 1 < text.size() && data[end + 1] == '\n' ? 2 : 1);
        data[out++] = lineEnd;
    }
    text.resize(out);
}

}  // namespace

std::string_view ChosenLineEnd(LineEnds mode, std::string_view source) {
    if (mode == LineEnds::Lf) {
        return "\n";
    }
    if (mode == LineEnds::CrLf) {
        return "\r\n";
    }
    const size_t end = source.find_first_of("\r\n");
    if (end == std::string_view::npos || source.compare(end, 2, "\r\n") == 0) {
        return "\r\n";
    }
    return source[end] == '\n' ? "\n" : "\r";
}

void ConvertLineEnds(AnsiText& text, std::string_view lineEnd) {
    if (lineEnd != "\r\n") {
        NarrowTo(text, lineEnd[0]);
    } else if (!byte_scan::EveryLineEndIsCrLf(text)) {
        WidenToCrLf(text);
    }
}
