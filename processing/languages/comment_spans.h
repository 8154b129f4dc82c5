// What a language's lexer reports: where its comments stand, and its literals that span lines,
// in source order.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

struct CommentSpan {
    size_t begin = 0;            // the comment's first byte (its opening marker)
    size_t end = 0;              // one past its last byte; a line comment ends before its line end
    bool line = false;           // a line comment (`//`, `#`, `--`); otherwise a block comment
    bool actsAsLineEnd = false;  // removing it leaves a line end between code on both its sides
    // Not a comment: a literal (string, template, here-document) that holds a line end. It stays,
    // and so do its lines, blank ones too.
    bool literal = false;
    // What the C family's rules read (processing/languages/cfamily.h): the comment stands in a
    // preprocessor directive, and what the token just before it is (a number, a literal prefix).
    bool inDirective = false;
    uint8_t tokenBefore = 0;
    // Removing it leaves a space after the code before it on its line, which stays at the line's
    // end (PHP: `<<<ID` must not end a line, where it would open a heredoc).
    bool keepsSpace = false;
};
using CommentSpans = std::vector<CommentSpan>;

// A language's lexer: appends the comments of `text` to `spans`. Text that must stay (`#!` lines,
// Go directives, `/*! */` in MySQL, TypeScript `/// <reference` lines) is simply not reported.
using CommentLexer = void (*)(std::string_view text, CommentSpans& spans);
