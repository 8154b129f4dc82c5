// The order in which the exhibit shows a program: its entry first, then the rest as listed.
#pragma once

#include <string_view>
#include <vector>

// How surely the source `shown` (its path), with comments removed, is the program's entry:
// 0 not at all; higher wins.
int EntryScore(std::string_view shown, std::string_view text);

// The index of the file to show first: `first` when given (matched against the shown paths'
// ends), otherwise the highest entry score, the shallowest path on a tie, the earliest after
// that. -1 when `first` names none of them.
int EntryIndex(const std::vector<std::string_view>& shown, const std::vector<int>& scores,
               std::string_view first);
