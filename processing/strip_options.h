// How the comment passes read a source: as plain text (the default) or as the compiler would.
#pragma once

#include <string_view>

#include "files/text.h"

enum class SourceLanguage { CFamily, Java };

struct StripOptions {
    // The literal-aware passes: markers inside string and character literals, raw strings, text
    // blocks and header names are text, and removing a comment never glues two tokens together.
    bool literals = false;
    // The file's first comment, when only whitespace stands before it, is kept as it stands.
    bool keepHeader = false;
    SourceLanguage language = SourceLanguage::CFamily;
    // What the literal-aware passes end every line with (CR LF, LF or CR). A caller that wants
    // the source's own LF or CR gets it without the result first growing by a byte a line.
    std::string_view lineEnd = "\r\n";
};

// Java for a name ending in ".java" (any case); C and C++ for every other name.
SourceLanguage LanguageOf(const Path& path);
