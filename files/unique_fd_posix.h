// A file descriptor that closes itself.
#pragma once

#include <unistd.h>

#include "files/unique_any.h"

struct FdTraits {
    using Type = int;
    static Type Empty() { return -1; }
    static bool Release(Type fd) { return close(fd) == 0; }
};
using UniqueFd = UniqueAny<FdTraits>;
