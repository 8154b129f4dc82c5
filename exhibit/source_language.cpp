#include "exhibit/source_language.h"

#include "files/utf8.h"
#include "processing/comment_passes.h"
#include "processing/languages/language_table.h"

namespace {

// The language of the file by its name; data formats are no part of a program's source.
const Language* LanguageOfName(std::string_view fileName, std::string_view text) {
    std::wstring path;
    if (!DecodeUtf8Strict(fileName, path)) {
        return nullptr;
    }
    const Language* language = LanguageOfFile(path, text);
    return language != nullptr && language->name != "json" ? language : nullptr;
}

}  // namespace

bool IsKnownSource(std::string_view fileName) {
    return LanguageOfName(fileName, {}) != nullptr;
}

void StripComments(std::string_view fileName, std::string& text) {
    StripOptions options{.literals = true};
    if (const Language* language = LanguageOfName(fileName, text)) {
        UseLanguage(*language, options);
    }
    StripLineCommentsInPlace(text, options);
    StripBlockCommentsInPlace(text, options);
}
