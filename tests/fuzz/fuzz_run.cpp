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
#include "tests/fake_host.h"
#include "tests/plain_model.h"

namespace {

Path Widen(const std::string& ascii) {
    return Path(ascii.begin(), ascii.end());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string folder = "/tmp/orvandel-fuzz-run-" + std::to_string(getpid());
    std::filesystem::create_directories(folder + "/out");
    const std::string source(reinterpret_cast<const char*>(data), size);
    std::ofstream(folder + "/src.c", std::ios::binary | std::ios::trunc) << source;

    FakeHost host(Widen(folder + "\\src.c"), Widen(folder + "\\out\\"));
    ProcessingRun(host);

    std::ifstream in(folder + "/out/src.c", std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string expected =
        plain_model::StripBlockComments(plain_model::StripLineComments(source)) + "\r\n";
    if (host.Prompts().size() != 4 || written != expected ||
        !plain_model::IsPlausibleOutput(source, written)) {
        std::abort();
    }
    return 0;
}
