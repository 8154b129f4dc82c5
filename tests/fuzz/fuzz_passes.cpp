// The two passes against their plain model, on arbitrary bytes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "processing/comment_passes.h"
#include "tests/plain_model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    if (StripLineCommentsFromText(text) != plain_model::StripLineComments(text) ||
        StripBlockComments(text) != plain_model::StripBlockComments(text)) {
        std::abort();
    }
    return 0;
}
