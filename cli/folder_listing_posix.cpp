#include "cli/folder_listing.h"

namespace fs = std::filesystem;

namespace {

EntryKind KindOfStatus(const fs::file_status& status) {
    if (fs::is_directory(status)) {
        return EntryKind::Folder;
    }
    return fs::is_regular_file(status) ? EntryKind::File : EntryKind::Other;
}

}  // namespace

EntryKind KindOf(const fs::path& path, std::error_code& error) {
    return KindOfStatus(fs::status(path, error));
}

bool ListFolder(const fs::path& folder, std::vector<FolderEntry>& entries, std::error_code& error) {
    entries.clear();
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code ignored;
        EntryKind kind = KindOfStatus(it->status(ignored));
        if (it->is_symlink(ignored)) {
            kind = ignored                     ? EntryKind::BrokenLink
                   : kind == EntryKind::Folder ? EntryKind::FolderLink
                                               : kind;
        }
        entries.push_back({it->path().filename().native(), kind});
    }
    return !error;
}
