#include "cli/folder_listing.h"

namespace fs = std::filesystem;

namespace {

EntryKind KindOfStatus(const fs::file_status& status) {
    if (fs::is_directory(status)) {
        return EntryKind::Folder;
    }
    return fs::is_regular_file(status) ? EntryKind::File : EntryKind::Other;
}

// What a link leads to.
EntryKind LinkKind(const fs::directory_entry& link) {
    std::error_code error;
    const EntryKind target = KindOfStatus(link.status(error));
    if (error) {
        return EntryKind::BrokenLink;
    }
    return target == EntryKind::Folder ? EntryKind::FolderLink
           : target == EntryKind::File ? EntryKind::FileLink
                                       : target;
}

}  // namespace

EntryKind KindOf(const fs::path& path, std::error_code& error) {
    return KindOfStatus(fs::status(path, error));
}

bool ListFolder(const fs::path& folder, std::vector<FolderEntry>& entries, std::error_code& error) {
    entries.clear();
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        FolderEntry entry{it->path().filename().native(), EntryKind::Unknown, {}};
        const fs::file_status own = it->symlink_status(entry.error);
        if (!entry.error) {
            entry.kind = fs::is_symlink(own) ? LinkKind(*it) : KindOfStatus(own);
        }
        entries.push_back(std::move(entry));
    }
    return !error;
}
