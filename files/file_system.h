// The file system as the helpers need it; one implementation per platform.
#pragma once

#include <cstdint>
#include <string_view>

#include "files/text.h"

// True when `path` names a file that can be opened for reading now.
bool CanOpenForReading(const Path& path);

// Reads the whole file into `contents`. On failure returns false, with `contents` holding
// whatever was read before the failure. A file of `readInTwoFrom` bytes or more is read with two
// threads where that is quicker (Linux).
bool ReadWholeFile(const Path& path, AnsiText& contents, size_t readInTwoFrom = SIZE_MAX);

// Writes `bytes` and then `ending` to `path` so that the file is either fully replaced or left as
// it was: the bytes go to a temporary file in the same folder, which is flushed and then moved over
// the target. Fails (false) on a read-only target, a target that is a folder, or a missing folder.
bool ReplaceFileContents(const Path& path, std::string_view bytes, std::string_view ending = {});

// Creates `path`, which must not exist yet, holding `bytes` and then `ending`, without waiting for
// the disk: for fresh output, where no existing file is at risk. A failed write removes what it
// created. False when the file exists already, as for any other failure.
bool WriteNewFile(const Path& path, std::string_view bytes, std::string_view ending = {});
