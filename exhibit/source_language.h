// Which files are sources the exhibit takes, and a source's text with its comments removed: the
// one place that knows languages.
#pragma once

#include <string>
#include <string_view>

// True when `fileName` (any case) names a source of a language whose comments can be removed.
bool IsKnownSource(std::string_view fileName);

// Removes the comments of the source `fileName` from its UTF-8 `text`, as the compiler finds them;
// the lines left are joined by CR LF.
void StripComments(std::string_view fileName, std::string& text);
