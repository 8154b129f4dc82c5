// Deterministic, realistic C++ source text for benchmarks: code, `//` and `/* */` comments inline
// and on their own lines, blank lines, indentation, CR LF line ends.
#pragma once

#include <cstddef>
#include <string>

std::string GenerateSource(size_t size);
