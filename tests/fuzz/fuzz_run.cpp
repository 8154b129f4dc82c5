// The whole run on arbitrary bytes: it ends, and what it saves is the source with comments, blank
// lines and line ends removed and CR LF line ends added, nothing more and nothing reordered.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "processing/processing_run.h"
#include "tests/plain_model.h"

namespace {

class AnsweringHost : public ProcessingHost {
  public:
    AnsweringHost(Path source, Path folder)
        : source_(std::move(source)), folder_(std::move(folder)) {}
    WideText Text1() override { return source_; }
    WideText Text2() override { return folder_; }
    void SetCommand1Enabled(bool) override {}
    WindowHandle Handle() override { return nullptr; }
    PromptAnswer MessagePrompt(const Prompt& prompt) override {
        ++prompts;
        return prompt.buttons == PromptButtons::YesNo ? PromptAnswer::No : PromptAnswer::Ok;
    }
    int prompts = 0;

  private:
    Path source_;
    Path folder_;
};

Path Widen(const std::string& ascii) {
    return Path(ascii.begin(), ascii.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = "/tmp/orvandel-fuzz-run-" + std::to_string(getpid());
    std::filesystem::create_directories(folder + "/out");
    const std::string source(reinterpret_cast<const char*>(data), size);
    std::ofstream(folder + "/src.c", std::ios::binary | std::ios::trunc) << source;

    AnsweringHost host(Widen(folder + "\\src.c"), Widen(folder + "\\out\\"));
    ProcessingRun(host, nullptr);

    std::ifstream in(folder + "/out/src.c", std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string expected =
        plain_model::StripBlockComments(plain_model::StripLineComments(source)) + "\r\n";
    if (host.prompts != 4 || written != expected ||
        !plain_model::IsPlausibleOutput(source, written)) {
        std::abort();
    }
    return 0;
}
