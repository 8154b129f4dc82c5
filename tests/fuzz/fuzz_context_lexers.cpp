// The lexers whose comments are not only `//` and `/* */`, on arbitrary bytes: the first byte
// picks the lexer. Each span must lie in the text, after the one before it; a comment must start
// with one of its language's markers, a line comment hold no line end, a literal hold one (but
// the text of HTML's <pre>).
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <string_view>

#include "processing/languages/lexers.h"

namespace {

struct Language {
    CommentLexer lexer;
    std::initializer_list<std::string_view> markers;
    bool oneLineLiterals = false;  // the text of <pre> is reported around comments, on one line too
};

const Language kLanguages[] = {
    {LexPython, {"#"}},
    {LexShell, {"#"}},
    {LexSql, {"--", "/*"}},
    {LexHtml, {"<!--", "//", "/*"}, true},  // and what the lexers of <script> and <style> report
    {LexXml, {"<!--"}},
    {LexVue, {"<!--", "//", "/*"}, true},
    {LexPhp, {"//", "#", "/*"}},
};

bool StartsWithMarker(std::string_view comment, const Language& language) {
    for (std::string_view marker : language.markers) {
        if (comment.starts_with(marker)) {
            return true;
        }
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const Language& language = kLanguages[data[0] % std::size(kLanguages)];
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
    CommentSpans spans;
    language.lexer(text, spans);
    size_t previousEnd = 0;
    for (const CommentSpan& span : spans) {
        const std::string_view comment = text.substr(span.begin, span.end - span.begin);
        if (span.begin < previousEnd || span.end > text.size() || span.end <= span.begin ||
            (!span.literal && !StartsWithMarker(comment, language)) ||
            (span.literal && !language.oneLineLiterals &&
             comment.find_first_of("\r\n") == std::string_view::npos) ||
            (span.line && comment.find_first_of("\r\n") != std::string_view::npos)) {
            std::abort();
        }
        previousEnd = span.end;
    }
    return 0;
}
