// Rust: block comments nest, strings span lines, raw strings `r#"…"#` close with as many '#'s,
// and a quote starts a character only where one closes it (`'a'`), not a lifetime (`'a`).
#include "processing/languages/c_like_lexer.h"
#include "processing/languages/lexers.h"

namespace {

// The length of the UTF-8 character whose first byte is `lead`.
size_t CharacterLength(char lead) {
    const auto u = static_cast<unsigned char>(lead);
    return u < 0xC0 ? 1 : u < 0xE0 ? 2 : u < 0xF0 ? 3 : 4;
}

std::optional<c_like::StringForm> StringAt(std::string_view text, size_t at) {
    c_like::StringForm form = c_like::PlainString(text, at);
    if (form.quote == '\'') {
        if (at + 1 >= text.size() || text[at + 1] == '\\') {
            return form;
        }
        const size_t close = at + 1 + CharacterLength(text[at + 1]);
        return close < text.size() && text[close] == '\'' ? std::optional(form) : std::nullopt;
    }
    form.multiLine = true;
    size_t hashes = 0;
    while (at - hashes > 0 && text[at - hashes - 1] == '#') {
        ++hashes;
    }
    const std::string_view prefix = c_like::WordBefore(text, at - hashes);
    if (prefix == "r" || prefix == "br" || prefix == "cr") {
        form.escapes = false;
        form.hashes = static_cast<uint16_t>(hashes);
    }
    return form;
}

const c_like::Rules kRust = [] {
    c_like::Rules rules;
    rules.nestedComments = true;
    rules.stringAt = StringAt;
    return rules;
}();

}  // namespace

void LexRust(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kRust, text, spans);
}
