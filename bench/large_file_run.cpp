// One whole headless run on a generated file of SIZE_MB megabytes (default 500): its time and the
// process's peak memory, as a multiple of the file size.
//   large_file_run [SIZE_MB]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bench/generated_source.h"
#include "tests/fake_host.h"
#include "processing/processing_run.h"

namespace {

Path Widen(const std::string& ascii) {
    return Path(ascii.begin(), ascii.end());
}

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
    const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 500;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "orvandel-large";
    std::filesystem::create_directories(folder / "out");
    size_t size = 0;
    {
        const std::string source = GenerateSource(megabytes << 20);
        size = source.size();
        std::ofstream(folder / "source.cpp", std::ios::binary) << source;
    }
    // The generated text is gone; what the process holds from here on is the run's.
    const long before = PeakKilobytes();
    FakeHost host(Widen(folder.string() + "\\source.cpp"), Widen(folder.string() + "\\out\\"));
    host.KeepOnlyCounts();
    const auto start = std::chrono::steady_clock::now();
    ProcessingRun(host);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const bool saved = std::filesystem::exists(folder / "out" / "source.cpp");
    std::printf(
        "%zu MB source: run %.1f ms, saved %s, peak resident %.2f GB = %.1f x the file "
        "(peak before the run %.2f GB)\n",
        megabytes, seconds * 1000, saved ? "yes" : "NO", PeakKilobytes() / 1048576.0,
        PeakKilobytes() * 1024.0 / static_cast<double>(size), before / 1048576.0);
    std::filesystem::remove_all(folder);
    return saved ? 0 : 1;
}
