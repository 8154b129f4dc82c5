// Swift: nesting block comments, `\(…)` in strings, `"""…"""` over lines, and raw strings
// `#"…"#` closed, escaped (`\#n`, `\#(…)`) by as many '#'s.
#include "processing/languages/c_like_lexer.h"
#include "processing/languages/lexers.h"

namespace {

std::optional<c_like::StringForm> StringAt(std::string_view text, size_t at) {
    c_like::StringForm form = c_like::PlainString(text, at);
    size_t hashes = 0;
    while (at - hashes > 0 && text[at - hashes - 1] == '#') {
        ++hashes;
    }
    if (text.substr(at, 3) == R"(""")") {
        form.quotes = 3;
        form.contentBegin = at + 3;
        form.multiLine = true;
    }
    form.hashes = static_cast<uint16_t>(hashes);
    form.holes = c_like::Holes::BackslashParen;
    return form;
}

const c_like::Rules kSwift = [] {
    c_like::Rules rules;
    rules.nestedComments = true;
    rules.quotes = "\"";
    rules.stringAt = StringAt;
    return rules;
}();

}  // namespace

void LexSwift(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kSwift, text, spans);
}
