#include "exhibit/source_language.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "processing/comment_passes.h"

namespace {

struct KnownExtension {
    std::string_view extension;  // lower case, with the dot
    SourceLanguage language;
};

constexpr std::array kExtensions = {
    KnownExtension{".c", SourceLanguage::CFamily},
    KnownExtension{".h", SourceLanguage::CFamily},
    KnownExtension{".cc", SourceLanguage::CFamily},
    KnownExtension{".cpp", SourceLanguage::CFamily},
    KnownExtension{".cxx", SourceLanguage::CFamily},
    KnownExtension{".c++", SourceLanguage::CFamily},
    KnownExtension{".hh", SourceLanguage::CFamily},
    KnownExtension{".hpp", SourceLanguage::CFamily},
    KnownExtension{".hxx", SourceLanguage::CFamily},
    KnownExtension{".h++", SourceLanguage::CFamily},
    KnownExtension{".inl", SourceLanguage::CFamily},
    KnownExtension{".ipp", SourceLanguage::CFamily},
    KnownExtension{".m", SourceLanguage::CFamily},
    KnownExtension{".mm", SourceLanguage::CFamily},
    KnownExtension{".java", SourceLanguage::Java},
};

const KnownExtension* ExtensionOf(std::string_view fileName) {
    const size_t dot = fileName.rfind('.');
    if (dot == std::string_view::npos || fileName.size() - dot > 8) {
        return nullptr;
    }
    std::string lower(fileName.substr(dot));
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const auto found = std::find_if(kExtensions.begin(), kExtensions.end(),
                                    [&](const KnownExtension& e) { return e.extension == lower; });
    return found == kExtensions.end() ? nullptr : &*found;
}

}  // namespace

bool IsKnownSource(std::string_view fileName) {
    return ExtensionOf(fileName) != nullptr;
}

void StripComments(std::string_view fileName, std::string& text) {
    const KnownExtension* known = ExtensionOf(fileName);
    const StripOptions options{.literals = true,
                               .language = known ? known->language : SourceLanguage::CFamily};
    StripLineCommentsInPlace(text, options);
    StripBlockCommentsInPlace(text, options);
}
