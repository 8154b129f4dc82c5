// The lexers of the languages the table knows, one per language (processing/languages/lex_*.cpp).
// Each appends the comments of a text to a list of spans, in source order (comment_spans.h).
#pragma once

#include <string_view>

#include "processing/languages/comment_spans.h"

// The C-like languages, read by one configurable lexer (c_like_lexer.h). C, C++, Java,
// Objective-C, CUDA, shaders and protobuf are read by processing/languages/cfamily.h.
void LexJavaScript(std::string_view text, CommentSpans& spans);
void LexTypeScript(std::string_view text, CommentSpans& spans);
void LexTsx(std::string_view text, CommentSpans& spans);
void LexCSharp(std::string_view text, CommentSpans& spans);
void LexGo(std::string_view text, CommentSpans& spans);
void LexRust(std::string_view text, CommentSpans& spans);
void LexKotlin(std::string_view text, CommentSpans& spans);
void LexSwift(std::string_view text, CommentSpans& spans);
void LexScala(std::string_view text, CommentSpans& spans);
void LexDart(std::string_view text, CommentSpans& spans);
void LexCss(std::string_view text, CommentSpans& spans);
void LexScss(std::string_view text, CommentSpans& spans);
void LexJson(std::string_view text, CommentSpans& spans);
void LexGroovy(std::string_view text, CommentSpans& spans);

// The languages whose comments are not `//` and `/* */`.
void LexPython(std::string_view text, CommentSpans& spans);
void LexShell(std::string_view text, CommentSpans& spans);
void LexSql(std::string_view text, CommentSpans& spans);
void LexHtml(std::string_view text, CommentSpans& spans);
void LexXml(std::string_view text, CommentSpans& spans);
void LexVue(std::string_view text, CommentSpans& spans);
void LexPhp(std::string_view text, CommentSpans& spans);
