// Dart and Groovy: `'''…'''` and `"""…"""` over lines, `${…}` in strings. Dart's block comments
// nest and `r'…'` is raw; Groovy's `/…/` where an operand is expected is a slashy string.
#include "processing/languages/c_like_lexer.h"
#include "processing/languages/lexers.h"

namespace {

c_like::StringForm TripleOrPlain(std::string_view text, size_t at) {
    c_like::StringForm form = c_like::PlainString(text, at);
    if (at + 2 < text.size() && text[at + 1] == form.quote && text[at + 2] == form.quote) {
        form.quotes = 3;
        form.contentBegin = at + 3;
        form.multiLine = true;
    }
    return form;
}

std::optional<c_like::StringForm> DartStringAt(std::string_view text, size_t at) {
    c_like::StringForm form = TripleOrPlain(text, at);
    if (c_like::WordBefore(text, at) == "r") {
        form.escapes = false;
    } else {
        form.holes = c_like::Holes::DollarBrace;
    }
    return form;
}

std::optional<c_like::StringForm> GroovyStringAt(std::string_view text, size_t at) {
    c_like::StringForm form = TripleOrPlain(text, at);
    if (form.quote == '"') {
        form.holes = c_like::Holes::DollarBrace;
    }
    return form;
}

const c_like::Rules kDart = [] {
    c_like::Rules rules;
    rules.nestedComments = true;
    rules.shebang = true;
    rules.stringAt = DartStringAt;
    return rules;
}();

const c_like::Rules kGroovy = [] {
    c_like::Rules rules;
    rules.shebang = true;
    rules.stringAt = GroovyStringAt;
    rules.slash = c_like::SlashLiteral::Slashy;
    return rules;
}();

}  // namespace

void LexDart(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kDart, text, spans);
}

void LexGroovy(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kGroovy, text, spans);
}
