// Deliberately plain versions of the comment passes and the readers, written straight from their
// rules, one character at a time: the fast versions must give exactly the same results.
#pragma once

#include <string>
#include <vector>

namespace plain_model {

std::vector<std::string> Lines(const std::string& data);
std::string DisplayText(const std::string& data);
std::string StripLineComments(const std::string& source);
std::string StripBlockComments(const std::string& text);

// True when `written` could be what a run saved for `source`: its bytes without line ends are
// the source's bytes without line ends with some removed, in the same order, and it ends in CR LF.
bool IsPlausibleOutput(const std::string& source, const std::string& written);

// True when `kept` is `from` with some bytes left out, the rest in the same order.
bool IsSubsequence(const std::string& kept, const std::string& from);

}  // namespace plain_model
