#include "processing/languages/language_table.h"

#include <algorithm>
#include <cctype>
#include <cwctype>

#include "processing/languages/lexers.h"

namespace {

constexpr Language kLanguages[] = {
    {"c", "c h", "", "", "//", "/* */", nullptr},
    {"c++", "cc cpp cxx c++ hh hpp hxx h++ inl ipp tcc", "", "", "//", "/* */", nullptr},
    {"java", "java", "", "", "//", "/* */", nullptr, SourceLanguage::Java},
    {"objective-c", "m mm", "", "", "//", "/* */", nullptr},
    {"cuda", "cu cuh", "", "", "//", "/* */", nullptr},
    {"shader", "glsl vert frag hlsl", "", "", "//", "/* */", nullptr},
    {"protobuf", "proto", "", "", "//", "/* */", nullptr},
    {"javascript", "js mjs cjs jsx", "", "node nodejs", "//", "/* */", LexJavaScript},
    {"typescript", "ts mts cts", "", "ts-node deno", "//", "/* */", LexTypeScript},
    {"tsx", "tsx", "", "", "//", "/* */", LexTsx},
    {"c#", "cs csx", "", "", "//", "/* */", LexCSharp},
    {"go", "go", "", "", "//", "/* */", LexGo},
    {"rust", "rs", "", "", "//", "/* */ (nesting)", LexRust},
    {"kotlin", "kt kts", "", "kotlin", "//", "/* */ (nesting)", LexKotlin},
    {"swift", "swift", "", "swift", "//", "/* */ (nesting)", LexSwift},
    {"scala", "scala sc", "", "scala", "//", "/* */ (nesting)", LexScala},
    {"dart", "dart", "", "dart", "//", "/* */ (nesting)", LexDart},
    {"groovy", "groovy gradle", "Jenkinsfile", "groovy", "//", "/* */", LexGroovy},
    {"css", "css", "", "", "", "/* */", LexCss},
    {"scss", "scss", "", "", "//", "/* */", LexScss},
    {"less", "less", "", "", "//", "/* */", LexScss},
    {"json", "json jsonc json5", "", "", "//", "/* */", LexJson},
#if __has_include("processing/languages/more_languages.inc")
#include "processing/languages/more_languages.inc"
#endif
};

// Calls `each` with every space-separated word of `list` until it returns true.
template <typename Each>
bool AnyWord(std::string_view list, Each each) {
    while (!list.empty()) {
        const size_t space = list.find(' ');
        if (each(list.substr(0, space))) {
            return true;
        }
        list = space == std::string_view::npos ? std::string_view() : list.substr(space + 1);
    }
    return false;
}

bool EqualsAsciiIgnoringCase(std::wstring_view wide, std::string_view ascii) {
    return wide.size() == ascii.size() &&
           std::equal(wide.begin(), wide.end(), ascii.begin(), [](wchar_t w, char a) {
               return std::towlower(static_cast<wint_t>(w)) == static_cast<wint_t>(a);
           });
}

// The program a `#!` line runs: its last path part, or the one `env` is given, without a
// version (`python3.11` is `python`).
std::string_view Interpreter(std::string_view text) {
    if (!text.starts_with("#!")) {
        return {};
    }
    std::string_view line = text.substr(2, text.find_first_of("\r\n") - 2);
    std::string_view program;
    AnyWord(line, [&](std::string_view word) {
        if (word.empty() || word.starts_with('-') || word.find('=') != std::string_view::npos) {
            return false;
        }
        program = word.substr(word.find_last_of('/') + 1);
        return program != "env";
    });
    return program.substr(0, program.find_last_not_of("0123456789.") + 1);
}

}  // namespace

std::span<const Language> Languages() {
    return kLanguages;
}

const Language* LanguageNamed(std::string_view name) {
    for (const Language& language : kLanguages) {
        if (std::equal(name.begin(), name.end(), language.name.begin(), language.name.end(),
                       [](char a, char b) { return std::tolower(a) == b; })) {
            return &language;
        }
    }
    return nullptr;
}

const Language* LanguageOfFile(const Path& path, std::string_view text) {
    const std::wstring_view name = std::wstring_view(path).substr(path.find_last_of(L"\\/") + 1);
    const size_t dot = name.rfind(L'.');
    if (dot != std::wstring_view::npos && dot > 0) {
        const std::wstring_view extension = name.substr(dot + 1);
        for (const Language& language : kLanguages) {
            if (AnyWord(language.extensions, [&](std::string_view known) {
                    return EqualsAsciiIgnoringCase(extension, known);
                })) {
                return &language;
            }
        }
    }
    for (const Language& language : kLanguages) {
        if (AnyWord(language.fileNames, [&](std::string_view known) {
                return name == std::wstring(known.begin(), known.end());
            })) {
            return &language;
        }
    }
    // An unknown extension (`which.debianutils`, `tool.in`) says nothing: the `#!` line decides.
    const std::string_view program = Interpreter(text);
    if (program.empty()) {
        return nullptr;
    }
    for (const Language& language : kLanguages) {
        if (AnyWord(language.interpreters,
                    [&](std::string_view known) { return program == known; })) {
            return &language;
        }
    }
    return nullptr;
}

void UseLanguage(const Language& language, StripOptions& options) {
    options.language = language.family;
    options.lexer = language.lexer;
    options.slashComments =
        language.lineComment == "//" && language.blockComment.starts_with("/* */");
}

std::vector<std::string_view> KnownExtensions() {
    std::vector<std::string_view> extensions;
    for (const Language& language : kLanguages) {
        AnyWord(language.extensions, [&](std::string_view extension) {
            extensions.push_back(extension);
            return false;
        });
    }
    return extensions;
}
