// orvandel-lex-check: runs one language's lexer over files for the corpus checks
// (scripts/corpus-check) and writes each file without the comments it reported.
//
//   orvandel-lex-check LANGUAGE OUTPUT_FOLDER FILE...
//
// The result for the n-th FILE (counting from 0) is OUTPUT_FOLDER/n. A line comment is taken
// out (a space stays where code follows it on its line, as PHP's `?>`); a block comment leaves
// its line ends, or one space where it held none. In markup a comment leaves nothing: a line end
// or a space there would be text.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "processing/languages/lexers.h"

namespace {

struct Language {
    std::string_view name;
    CommentLexer lexer;
    bool markup;
};

constexpr Language kLanguages[] = {
    {"python", LexPython, false}, {"shell", LexShell, false}, {"sql", LexSql, false},
    {"html", LexHtml, true},      {"xml", LexXml, true},      {"vue", LexVue, true},
    {"php", LexPhp, false},
};

std::string WithoutComments(const std::string& text, const CommentSpans& spans, bool markup) {
    std::string out;
    size_t kept = 0;
    for (const CommentSpan& span : spans) {
        if (span.literal) {
            continue;  // stays as it is
        }
        out.append(text, kept, span.begin - kept);
        std::string lineEnds;
        for (size_t i = span.begin; i < span.end; ++i) {
            if (text[i] == '\n' || text[i] == '\r') {
                lineEnds += text[i];
            }
        }
        const bool endsLine =
            span.end == text.size() || text[span.end] == '\n' || text[span.end] == '\r';
        out += markup ? "" : !lineEnds.empty() || (span.line && endsLine) ? lineEnds : " ";
        kept = span.end;
    }
    out.append(text, kept);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s LANGUAGE OUTPUT_FOLDER FILE...\n", argv[0]);
        return 2;
    }
    const Language* language = nullptr;
    for (const Language& candidate : kLanguages) {
        if (candidate.name == argv[1]) {
            language = &candidate;
        }
    }
    if (language == nullptr) {
        std::fprintf(stderr, "unknown language %s\n", argv[1]);
        return 2;
    }
    const std::string folder = argv[2];
    for (int arg = 3; arg < argc; ++arg) {
        std::ifstream in(argv[arg], std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "cannot read %s\n", argv[arg]);
            return 1;
        }
        CommentSpans spans;
        language->lexer(text, spans);
        std::ofstream out(folder + "/" + std::to_string(arg - 3), std::ios::binary);
        out << WithoutComments(text, spans, language->markup);
        if (!out) {
            std::fprintf(stderr, "cannot write the result for %s\n", argv[arg]);
            return 1;
        }
    }
    return 0;
}
