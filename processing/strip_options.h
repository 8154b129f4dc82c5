// How the comment passes read a source: as plain text (the default) or as the compiler would.
#pragma once

#include <string_view>

#include "files/text.h"
#include "processing/languages/comment_spans.h"

enum class SourceLanguage { CFamily, Java };

struct StripOptions {
    // The literal-aware passes: markers inside string and character literals, raw strings, text
    // blocks and header names are text, and removing a comment never glues two tokens together.
    bool literals = false;
    // The file's first comment, when only whitespace stands before it, is kept as it stands.
    bool keepHeader = false;
    SourceLanguage language = SourceLanguage::CFamily;
    // A language read by a lexer of its own (processing/languages/language_table.h); none for C,
    // C++, Java and their kin. It reads the literal-aware passes, and the plain ones too unless
    // its comments are `//` and `/* */`, which the plain passes know.
    CommentLexer lexer = nullptr;
    bool slashComments = true;
    // What the literal-aware passes end every line with (CR LF, LF or CR). A caller that wants
    // the source's own LF or CR gets it without the result first growing by a byte a line.
    std::string_view lineEnd = "\r\n";
    // Removing both kinds at once, a C, C++ or Java text of this many bytes or more is stripped in
    // two parts at once, the second on a thread of its own.
    size_t splitFrom = static_cast<size_t>(-1);
};
