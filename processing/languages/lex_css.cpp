// Style sheets and JSON: strings with backslash escapes. CSS knows only `/* */`; SCSS and Less add
// `//`, so their unquoted `url(…)` keeps its address as it stands.
#include "processing/languages/c_like_lexer.h"
#include "processing/languages/lexers.h"

namespace {

const c_like::Rules kCss = [] {
    c_like::Rules rules;
    rules.lineComments = false;
    return rules;
}();

const c_like::Rules kScss = [] {
    c_like::Rules rules;
    rules.unquotedUrls = true;
    return rules;
}();

const c_like::Rules kJson;

}  // namespace

void LexCss(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kCss, text, spans);
}

void LexScss(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kScss, text, spans);
}

void LexJson(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kJson, text, spans);
}
