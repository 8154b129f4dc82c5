// Go: raw strings in backquotes span lines; directives (`//go:`, `//line`, `// +build`, cgo's
// `//export`) and the cgo preamble just above `import "C"` are read by the tools and stay.
#include <algorithm>

#include "processing/languages/c_like_lexer.h"
#include "processing/languages/lexers.h"

namespace {

std::optional<c_like::StringForm> StringAt(std::string_view text, size_t at) {
    c_like::StringForm form = c_like::PlainString(text, at);
    if (form.quote == '`') {
        form.escapes = false;
        form.multiLine = true;
    }
    return form;
}

bool IsDirective(std::string_view comment) {
    if (comment.size() < 3 ||
        std::string_view("gl +e").find(comment[2]) == std::string_view::npos) {
        return false;
    }
    for (std::string_view prefix :
         {"//go:", "//line ", "/*line ", "// +build", "//export ", "//extern "}) {
        if (comment.starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

bool OnlyBlank(std::string_view text, bool oneLineEnd) {
    int lineEnds = 0;
    for (char c : text) {
        if (c == '\n') {
            ++lineEnds;
        } else if (c != ' ' && c != '\t' && c != '\r') {
            return false;
        }
    }
    return !oneLineEnd || lineEnds <= 1;
}

// The comments that end just above an `import "C"`, with no blank line between them.
void KeepCgoPreamble(std::string_view text, CommentSpans& spans, size_t first) {
    for (size_t last = first; last < spans.size(); ++last) {
        size_t after = spans[last].end;
        while (after < text.size() && (text[after] == ' ' || text[after] == '\t' ||
                                       text[after] == '\r' || text[after] == '\n')) {
            ++after;
        }
        if (spans[last].literal || !text.substr(after).starts_with("import \"C\"") ||
            !OnlyBlank(text.substr(spans[last].end, after - spans[last].end), true)) {
            continue;
        }
        // The preamble: this comment and those just above it.
        for (size_t k = last + 1; k > first; --k) {
            CommentSpan& span = spans[k - 1];
            if (k - 1 < last &&
                (span.literal ||
                 !OnlyBlank(text.substr(span.end, spans[k].begin - span.end), true))) {
                break;
            }
            span.literal = true;  // kept as it stands
        }
    }
}

const c_like::Rules kGo = [] {
    c_like::Rules rules;
    rules.quotes = "\"'`";
    rules.stringAt = StringAt;
    rules.directive = IsDirective;
    rules.keep = KeepCgoPreamble;
    return rules;
}();

}  // namespace

void LexGo(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kGo, text, spans);
}
