#include "cli/line_ends.h"

#include <cstring>

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
    if (lineEnd == "\r\n") {
        return;
    }
    // Both replacements are one byte: the result is written behind the reading position.
    const char replacement = lineEnd[0];
    char* const data = text.data();
    size_t out = 0;
    size_t in = 0;
    while (in < text.size()) {
        const void* found = std::memchr(data + in, '\r', text.size() - in);
        const size_t cr = found ? static_cast<const char*>(found) - data : text.size();
        std::memmove(data + out, data + in, cr - in);
        out += cr - in;
        in = cr;
        if (in == text.size()) {
            break;
        }
        const bool pair = in + 1 < text.size() && data[in + 1] == '\n';
        data[out++] = pair ? replacement : '\r';
        in += pair ? 2 : 1;
    }
    text.resize(out);
}
