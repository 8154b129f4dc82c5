// Paths of any length for the W file functions.
#pragma once

#include "files/text.h"

// `path` made absolute against the current folder, as the file functions read it; empty when
// Windows cannot tell.
Path FullPathOf(const Path& path);

// `path` as the file functions should get it: unchanged when it is short, otherwise made absolute
// and given the \\?\ prefix, which lifts the MAX_PATH limit.
Path LongPathForm(const Path& path);

// `path` without the \\?\ (or \\?\UNC\) prefix of the long form, for what does not take it.
Path PlainPathForm(const Path& path);
