// C#: verbatim `@"…"` strings (`""` inside), interpolated `$"…{…}…"` strings, raw `"""…"""`
// strings closed by as many quotes as opened them.
#include "processing/languages/c_like_lexer.h"
#include "processing/languages/lexers.h"

namespace {

std::optional<c_like::StringForm> StringAt(std::string_view text, size_t at) {
    c_like::StringForm form = c_like::PlainString(text, at);
    if (form.quote != '"') {
        return form;
    }
    bool verbatim = false;
    bool interpolated = false;
    for (size_t k = at; k > 0 && (text[k - 1] == '@' || text[k - 1] == '$'); --k) {
        (text[k - 1] == '@' ? verbatim : interpolated) = true;
    }
    size_t quotes = 0;
    while (at + quotes < text.size() && text[at + quotes] == '"') {
        ++quotes;
    }
    if (quotes >= 3) {
        form.quotes = static_cast<uint8_t>(std::min<size_t>(quotes, 255));
        form.contentBegin = at + quotes;
        form.escapes = false;
        form.multiLine = true;
        return form;
    }
    if (verbatim) {
        form.escapes = false;
        form.doubledQuote = true;
        form.multiLine = true;
    }
    if (interpolated) {
        form.holes = c_like::Holes::Brace;
    }
    return form;
}

const c_like::Rules kCSharp = [] {
    c_like::Rules rules;
    rules.stringAt = StringAt;
    return rules;
}();

}  // namespace

void LexCSharp(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kCSharp, text, spans);
}
