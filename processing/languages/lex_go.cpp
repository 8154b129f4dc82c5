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
    // Found by its rarer part: a search for "import" would stop at every 'i'.
    for (size_t quoted = text.find("\"C\""); quoted != std::string_view::npos;
         quoted = text.find("\"C\"", quoted + 1)) {
        if (quoted < 7 || text.substr(quoted - 7, 7) != "import ") {
            continue;
        }
        const size_t at = quoted - 7;
        size_t after = at;
        for (size_t k = spans.size(); k > first; --k) {
            CommentSpan& span = spans[k - 1];
            if (span.end > at) {
                continue;
            }
            if (span.literal || !OnlyBlank(text.substr(span.end, after - span.end), true)) {
                break;
            }
            after = span.begin;
            span.literal = true;  // kept as it stands
        }
    }
}

void KeepDirectives(std::string_view text, CommentSpans& spans, size_t first) {
    KeepCgoPreamble(text, spans, first);
    std::erase_if(spans, [&, index = size_t{0}](const CommentSpan& span) mutable {
        return index++ >= first && !span.literal &&
               IsDirective(text.substr(span.begin, span.end - span.begin));
    });
}

const c_like::Rules kGo = [] {
    c_like::Rules rules;
    rules.quotes = "\"'`";
    rules.stringAt = StringAt;
    rules.keep = KeepDirectives;
    return rules;
}();

}  // namespace

void LexGo(std::string_view text, CommentSpans& spans) {
    c_like::Lex(kGo, text, spans);
}
