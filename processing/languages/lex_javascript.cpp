// JavaScript, TypeScript and their JSX forms: template literals hold `${…}` code, and `/` where
// an operand is expected starts a regular expression.
#include "processing/languages/c_like_lexer.h"
#include "processing/languages/lexers.h"

namespace {

std::optional<c_like::StringForm> StringAt(std::string_view text, size_t at) {
    c_like::StringForm form = c_like::PlainString(text, at);
    if (form.quote == '`') {
        form.multiLine = true;
        form.holes = c_like::Holes::DollarBrace;
    }
    return form;
}

// `/// <reference …/>` lines are directives to the compiler.
bool IsReference(std::string_view comment) {
    return comment.starts_with("/// <reference");
}

c_like::Rules Script(c_like::Jsx jsx, bool typed) {
    c_like::Rules rules;
    rules.shebang = true;
    rules.quotes = "\"'`";
    rules.stringAt = StringAt;
    rules.slash = c_like::SlashLiteral::Regex;
    rules.jsx = jsx;
    rules.directive = typed ? IsReference : nullptr;
    return rules;
}

const c_like::Rules kJavaScript = Script(c_like::Jsx::Jsx, false);
const c_like::Rules kTypeScript = Script(c_like::Jsx::None, true);
const c_like::Rules kTsx = Script(c_like::Jsx::Tsx, true);

}  // namespace

void LexJavaScript(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kJavaScript, text, spans);
}

void LexTypeScript(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kTypeScript, text, spans);
}

void LexTsx(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kTsx, text, spans);
}
