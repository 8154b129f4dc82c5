// Kotlin and Scala: nesting block comments and `"""…"""` strings whose closing run of quotes may
// be longer than three; Kotlin's strings hold `${…}`, Scala's interpolated ones (`s"…"`) too, and a
// Scala quote starts a character only where one closes it (`'a'`), not a symbol (`'a`).
#include "processing/languages/c_like_lexer.h"
#include "processing/languages/lexers.h"

namespace {

std::optional<c_like::StringForm> TripleOrPlain(std::string_view text, size_t at, bool holes) {
    c_like::StringForm form = c_like::PlainString(text, at);
    if (form.quote == '\'') {
        return form;
    }
    if (holes) {
        form.holes = c_like::Holes::DollarBrace;
    }
    if (text.substr(at, 3) == R"(""")") {
        form.quotes = 3;
        form.contentBegin = at + 3;
        form.escapes = false;
        form.multiLine = true;
        form.longestClose = true;
    }
    return form;
}

std::optional<c_like::StringForm> KotlinStringAt(std::string_view text, size_t at) {
    return TripleOrPlain(text, at, true);
}

std::optional<c_like::StringForm> ScalaStringAt(std::string_view text, size_t at) {
    if (text[at] == '\'') {
        const bool character =
            at + 2 < text.size() && (text[at + 1] == '\\' || text[at + 2] == '\'' ||
                                     static_cast<unsigned char>(text[at + 1]) >= 0x80);
        if (!character) {
            return std::nullopt;
        }
    }
    return TripleOrPlain(text, at, !c_like::WordBefore(text, at).empty());
}

c_like::Rules Rules(std::optional<c_like::StringForm> (*stringAt)(std::string_view, size_t)) {
    c_like::Rules rules;
    rules.nestedComments = true;
    rules.stringAt = stringAt;
    return rules;
}

const c_like::Rules kKotlin = Rules(KotlinStringAt);
const c_like::Rules kScala = Rules(ScalaStringAt);

}  // namespace

void LexKotlin(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kKotlin, text, spans);
}

void LexScala(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kScala, text, spans);
}
