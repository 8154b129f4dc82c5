// One lexer for the languages whose comments are `//` and `/* */`: what sets them apart is data
// (their string forms, whether block comments nest) and a few hooks where context decides.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "processing/languages/comment_spans.h"

namespace c_like {

// Where a string holds code: `${…}`, C#'s `{…}` (with `{{` standing for a brace), Swift's `\(…)`.
enum class Holes : uint8_t { None, DollarBrace, Brace, BackslashParen };

// A string literal's form, as its opening delimiter and prefix make it.
struct StringForm {
    size_t contentBegin = 0;  // just after the opening delimiter
    char quote = '"';
    uint8_t quotes = 1;         // how many quote characters close it
    uint16_t hashes = 0;        // and how many '#'s after them (raw strings of Rust and Swift)
    bool escapes = true;        // a backslash, and as many '#'s, escapes the next byte
    bool doubledQuote = false;  // two quotes stand for one (C# verbatim strings)
    bool multiLine = false;     // otherwise a line end ends it, closed or not
    bool longestClose = false;  // a run of more quotes than close it ends with the closing ones
    Holes holes = Holes::None;
};

// What `/` may start besides comments and division, where an operand is expected.
enum class SlashLiteral : uint8_t { None, Regex, Slashy };
enum class Jsx : uint8_t { None, Jsx, Tsx };

struct Rules {
    bool lineComments = true;  // `//` starts one (not in CSS)
    bool nestedComments = false;
    bool shebang = false;             // a first line starting "#!" is not code
    std::string_view quotes = "\"'";  // the bytes that may open a string
    // The string opened by the quote at `at`, its prefix standing before it; nothing when the
    // quote opens none (a Rust lifetime, a Scala symbol). Plain backslash strings when null.
    std::optional<StringForm> (*stringAt)(std::string_view text, size_t at) = nullptr;
    SlashLiteral slash = SlashLiteral::None;
    Jsx jsx = Jsx::None;
    bool unquotedUrls = false;  // `url(…)` holds its address as it stands (SCSS, Less)
    // True for a comment that the language's tools read as a directive, which stays.
    bool (*directive)(std::string_view comment) = nullptr;
    // Marks the spans from `first` on that stay for what stands around them.
    void (*keep)(std::string_view text, CommentSpans& spans, size_t first) = nullptr;
};

// Appends the comments of `text`, and its literals that span lines, to `spans`.
void Lex(const Rules& rules, std::string_view text, CommentSpans& spans);

// A plain string of `quote` at `at`: backslash escapes, one line.
StringForm PlainString(std::string_view text, size_t at);

// The identifier that ends just before `end`, when it is a whole word.
std::string_view WordBefore(std::string_view text, size_t end);

}  // namespace c_like
