// The literal-aware passes against their plain model, on arbitrary bytes. The first byte picks
// the language and whether the header comment is kept.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "processing/comment_passes.h"
#include "processing/header_comment.h"
#include "tests/literal_model.h"

// A kept header comes through both passes exactly.
static bool KeepsHeader(const std::string& source, const StripOptions& options) {
    const auto header = FindHeaderComment(source, options);
    if (!header) {
        return true;
    }
    AnsiText text = source;
    StripLineCommentsInPlace(text, options);
    StripBlockCommentsInPlace(text, options);
    return text.find(source.substr(header->begin, header->end - header->begin)) !=
           std::string::npos;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    StripOptions options;
    options.literals = true;
    options.language = (data[0] & 1) != 0 ? SourceLanguage::Java : SourceLanguage::CFamily;
    options.keepHeader = (data[0] & 2) != 0;
    const std::string source(reinterpret_cast<const char*>(data) + 1, size - 1);

    AnsiText text = source;
    StripLineCommentsInPlace(text, options);
    if (text != literal_model::StripLineComments(source, options) ||
        !literal_model::KeepsOrderOfInput(source, text)) {
        std::abort();
    }
    const std::string afterLineComments = text;
    StripBlockCommentsInPlace(text, options);
    if (text != literal_model::StripBlockComments(afterLineComments, options) ||
        !literal_model::KeepsOrderOfInput(source, text)) {
        std::abort();
    }
    StripOptions plain = options;
    plain.literals = false;
    if (options.keepHeader && !(KeepsHeader(source, options) && KeepsHeader(source, plain))) {
        std::abort();
    }
    // The second pass on its own, on text the first pass did not shape.
    AnsiText raw = source;
    StripBlockCommentsInPlace(raw, options);
    if (raw != literal_model::StripBlockComments(source, options)) {
        std::abort();
    }
    return 0;
}
