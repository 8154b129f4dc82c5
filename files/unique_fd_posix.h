// A file descriptor that closes itself, and reading one to its end.
#pragma once

#include <unistd.h>

#include <cerrno>
#include <string>

#include "files/unique_any.h"

struct FdTraits {
    using Type = int;
    static Type Empty() { return -1; }
    static bool Release(Type fd) { return close(fd) == 0; }
};
using UniqueFd = UniqueAny<FdTraits>;

// Appends everything left to read from `fd` to `bytes`; false when a read fails.
inline bool AppendToEnd(int fd, std::string& bytes) {
    char chunk[1 << 16];
    for (;;) {
        const ssize_t n = read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n == 0;
        }
        bytes.append(chunk, static_cast<size_t>(n));
    }
}
