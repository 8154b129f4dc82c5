#include "files/long_path_posix.h"

#include <cerrno>
#include <climits>

ReachedPath Reach(std::string_view path) {
    ReachedPath reached;
    if (path.size() < PATH_MAX) {
        reached.name_ = path;
        return reached;
    }
    while (path.ends_with('/')) {
        path.remove_suffix(1);  // a folder's own name ends it
    }
    const size_t slash = path.rfind('/');
    reached.name_ = path.substr(slash + 1);
    // Each part ends at a separator and is short enough to open from the folder before it.
    for (std::string_view rest = path.substr(0, slash + 1); !rest.empty();) {
        const size_t end = rest.size() < PATH_MAX ? rest.size() : rest.rfind('/', PATH_MAX - 2) + 1;
        if (end == 0) {  // a single name longer than any path
            errno = ENAMETOOLONG;
            reached.reached_ = false;
            return reached;
        }
        const std::string part(rest.substr(0, end));
        UniqueFd next(openat(reached.Folder(), part.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        if (!next.Valid()) {
            reached.reached_ = false;
            return reached;
        }
        reached.folder_ = std::move(next);
        rest.remove_prefix(end);
    }
    return reached;
}
