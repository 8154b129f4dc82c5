#include "cli/native_text.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "files/long_path_posix.h"
#include "files/utf8.h"

namespace fs = std::filesystem;

namespace {

NativeString KeyOf(const struct stat& info) {
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

// stat() at any depth.
bool StatOf(const fs::path& path, struct stat& info) {
    const ReachedPath at = Reach(path.native());
    return at.Reached() && fstatat(at.Folder(), at.Name(), &info, 0) == 0;
}

}  // namespace

bool EqualsAscii(const NativeString& text, std::string_view ascii) {
    return text == ascii;
}

std::string Utf8Of(const NativeString& text) {
    return text;
}

std::optional<Path> CorePathOf(const fs::path& path) {
    const std::string& bytes = path.native();
    Path wide;
    if (bytes.find('\\') != std::string::npos || !DecodeUtf8Strict(bytes, wide)) {
        return std::nullopt;
    }
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    return wide;
}

fs::path ReachablePath(const fs::path& path) {
    return path;
}

// One folder at a time from the one before it, so that no call takes a long path.
bool CreateFolderTree(const fs::path& folder, std::error_code& error) {
    error.clear();
    struct stat info;
    if (StatOf(folder, info) && S_ISDIR(info.st_mode)) {
        return true;
    }
    UniqueFd current(folder.is_absolute() ? open("/", O_PATH | O_DIRECTORY | O_CLOEXEC) : -1);
    for (const fs::path& part : folder.relative_path()) {
        if (part.empty()) {
            continue;  // a separator at the end
        }
        const int parent = current.Valid() ? current.Get() : AT_FDCWD;
        UniqueFd next;
        if (mkdirat(parent, part.c_str(), 0777) == 0 || errno == EEXIST) {
            next = UniqueFd(openat(parent, part.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
        }
        if (!next.Valid()) {
            error.assign(errno, std::generic_category());
            return false;
        }
        current = std::move(next);
    }
    return true;
}

NativeString IdentityOf(const fs::path& path, std::uintmax_t* size) {
    struct stat info;
    if (!StatOf(path, info)) {
        if (size != nullptr) {
            *size = 0;
        }
        return {};
    }
    if (size != nullptr) {
        *size = static_cast<std::uintmax_t>(info.st_size);
    }
    return KeyOf(info);
}

// Climbs by "..", which the system resolves from the folder itself, at any depth.
std::vector<NativeString> IdentitiesUpToRoot(const fs::path& folder) {
    fs::path existing = folder.empty() ? fs::path(".") : folder;
    struct stat info;
    while (!StatOf(existing, info) && errno == ENOENT && existing != ".") {
        existing = existing.has_parent_path() ? existing.parent_path() : fs::path(".");
    }
    std::vector<NativeString> identities;
    const ReachedPath at = Reach(existing.native());
    UniqueFd current(at.Reached() ? openat(at.Folder(), at.Name(), O_PATH | O_DIRECTORY | O_CLOEXEC)
                                  : -1);
    while (current.Valid() && fstat(current.Get(), &info) == 0) {
        NativeString key = KeyOf(info);
        if (!identities.empty() && identities.back() == key) {
            break;  // the root is its own parent
        }
        identities.push_back(std::move(key));
        current = UniqueFd(openat(current.Get(), "..", O_PATH | O_DIRECTORY | O_CLOEXEC));
    }
    return identities;
}

void ClearSystemError() {
    errno = 0;
}

std::string LastSystemError(const char* fallback) {
    const int error = errno;
    return error == 0 ? fallback : std::generic_category().message(error);
}
