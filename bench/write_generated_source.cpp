// Writes the benchmarks' generated C++ source (CR LF line ends) to a file, for tools outside this
// program to run on.
//   write_generated_source SIZE_MB PATH
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "bench/generated_source.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: write_generated_source SIZE_MB PATH\n");
        return 64;
    }
    const std::string source = GenerateSource(std::strtoul(argv[1], nullptr, 10) << 20);
    std::ofstream out(argv[2], std::ios::binary);
    out.write(source.data(), static_cast<std::streamsize>(source.size()));
    return out.good() ? 0 : 1;
}
