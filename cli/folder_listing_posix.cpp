#include "cli/folder_listing.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <memory>

#include "files/long_path_posix.h"

namespace fs = std::filesystem;

namespace {

EntryKind KindOfMode(mode_t mode) {
    if (S_ISDIR(mode)) {
        return EntryKind::Folder;
    }
    return S_ISREG(mode) ? EntryKind::File : EntryKind::Other;
}

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// What `name` in `folder` is, a link told by what it leads to.
FolderEntry Examine(int folder, const char* name) {
    FolderEntry entry{name, EntryKind::Unknown, {}};
    struct stat info;
    if (fstatat(folder, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        entry.error = LastError();
    } else if (!S_ISLNK(info.st_mode)) {
        entry.kind = KindOfMode(info.st_mode);
    } else if (fstatat(folder, name, &info, 0) != 0) {
        entry.kind = EntryKind::BrokenLink;
    } else {
        const EntryKind target = KindOfMode(info.st_mode);
        entry.kind = target == EntryKind::Folder ? EntryKind::FolderLink
                     : target == EntryKind::File ? EntryKind::FileLink
                                                 : target;
    }
    return entry;
}

}  // namespace

EntryKind KindOf(const fs::path& path, std::error_code& error) {
    error.clear();
    const ReachedPath at = Reach(path.native());
    struct stat info;
    if (!at.Reached() || fstatat(at.Folder(), at.Name(), &info, 0) != 0) {
        error = LastError();
        return EntryKind::Unknown;
    }
    return KindOfMode(info.st_mode);
}

bool IsLink(const fs::path& path, std::error_code& error) {
    error.clear();
    const ReachedPath at = Reach(path.native());
    struct stat info;
    if (!at.Reached() || fstatat(at.Folder(), at.Name(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        error = LastError();
        return false;
    }
    return S_ISLNK(info.st_mode);
}

bool ListFolder(const fs::path& folder, std::vector<FolderEntry>& entries, std::error_code& error) {
    entries.clear();
    error.clear();
    const ReachedPath at = Reach(folder.native());
    const int fd =
        at.Reached() ? openat(at.Folder(), at.Name(), O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    DIR* const opened = fd >= 0 ? fdopendir(fd) : nullptr;
    if (opened == nullptr) {
        error = LastError();
        if (fd >= 0) {
            close(fd);
        }
        return false;
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(opened, closedir);
    for (errno = 0; const dirent* found = readdir(listing.get()); errno = 0) {
        const std::string_view name = found->d_name;
        if (name != "." && name != "..") {
            entries.push_back(Examine(dirfd(listing.get()), found->d_name));
        }
    }
    if (errno != 0) {
        error = LastError();
    }
    return !error;
}
