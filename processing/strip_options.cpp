#include "processing/strip_options.h"

#include <cwctype>

SourceLanguage LanguageOf(const Path& path) {
    static constexpr std::wstring_view kJava = L".java";
    if (path.size() < kJava.size()) {
        return SourceLanguage::CFamily;
    }
    const std::wstring_view tail = std::wstring_view(path).substr(path.size() - kJava.size());
    for (size_t i = 0; i < kJava.size(); ++i) {
        if (std::towlower(static_cast<wint_t>(tail[i])) != static_cast<wint_t>(kJava[i])) {
            return SourceLanguage::CFamily;
        }
    }
    return SourceLanguage::Java;
}
