// Every language's lexer, by name; the language table maps files to them.
#pragma once
#include <string_view>

#include "processing/languages/comment_spans.h"

void LexJavaScript(std::string_view text, CommentSpans& spans);
void LexTypeScript(std::string_view text, CommentSpans& spans);
void LexCss(std::string_view text, CommentSpans& spans);

void LexPython(std::string_view text, CommentSpans& spans);
void LexShell(std::string_view text, CommentSpans& spans);
void LexSql(std::string_view text, CommentSpans& spans);
void LexHtml(std::string_view text, CommentSpans& spans);
void LexXml(std::string_view text, CommentSpans& spans);
void LexVue(std::string_view text, CommentSpans& spans);
void LexPhp(std::string_view text, CommentSpans& spans);
