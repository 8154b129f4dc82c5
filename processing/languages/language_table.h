// The languages the program reads: how a file's language is found, and how each is read.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "files/text.h"
#include "processing/languages/comment_spans.h"
#include "processing/strip_options.h"

struct Language {
    std::string_view name;          // as `--lang` takes it
    std::string_view extensions;    // space-separated, lower case, without the dot
    std::string_view fileNames;     // space-separated whole file names
    std::string_view interpreters;  // space-separated programs of a `#!` line
    std::string_view lineComment;   // the comment forms, as shown to the user
    std::string_view blockComment;
    CommentLexer lexer;  // none: C, C++ and Java and their kin (processing/languages/cfamily.h)
    SourceLanguage family = SourceLanguage::CFamily;  // which of them
};

std::span<const Language> Languages();

// The language of that name, any case; null when there is none.
const Language* LanguageNamed(std::string_view name);

// The language of the file at `path`: by its extension (any case), else by its whole name, else,
// without an extension, by the program its `#!` first line names. Null when none fits.
const Language* LanguageOfFile(const Path& path, std::string_view text);

// Sets the options to read `language`.
void UseLanguage(const Language& language, StripOptions& options);

// Every extension of the table, lower case, in table order.
std::vector<std::string_view> KnownExtensions();
