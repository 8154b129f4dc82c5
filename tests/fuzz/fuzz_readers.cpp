// The line reader and the display reader against their plain model, on arbitrary bytes.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "files/mdlPub.h"
#include "tests/line_list.h"
#include "tests/plain_model.h"

namespace {

class SilentPrompter : public Prompter {
  public:
    PromptAnswer MessagePrompt(const Prompt&) override { std::abort(); }
};

const std::string& ScratchFile() {
    static const std::string path = "/tmp/orvandel-fuzz-readers-" + std::to_string(getpid());
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    if (ReadAllLines(bytes) != plain_model::Lines(bytes)) {
        std::abort();
    }
    std::ofstream(ScratchFile(), std::ios::binary | std::ios::trunc) << bytes;
    SilentPrompter prompter;
    const Path path(ScratchFile().begin(), ScratchFile().end());
    if (mdlPub::ReadTextForDisplay(path, prompter) != plain_model::DisplayText(bytes)) {
        std::abort();
    }
    return 0;
}
