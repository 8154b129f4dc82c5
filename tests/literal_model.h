// A deliberately plain version of the literal-aware passes, written straight from their rules one
// character at a time: first the source is read into pieces (code and literal characters, removed
// comments, line ends), then the pieces are laid out into lines. The fast passes must agree.
#pragma once

#include <optional>
#include <string>

#include "processing/strip_options.h"

namespace literal_model {

std::string StripLineComments(const std::string& source, const StripOptions& options);
std::string StripBlockComments(const std::string& text, const StripOptions& options);

// True when `output`, without its line ends and spaces, is `input` without its line ends and
// spaces with some bytes left out: nothing new, nothing moved.
bool KeepsOrderOfInput(const std::string& input, const std::string& output);

// The C family's text cut in two at each of its first `maxCuts` line starts, both kinds removed
// from the parts apart: how many cuts were taken, each giving the one-piece result; none when one
// gave anything else.
std::optional<size_t> CutsAgreeingWithOnePiece(const std::string& source,
                                               const StripOptions& options, size_t maxCuts);

}  // namespace literal_model
