#include <windows.h>

#include "cli/folder_listing.h"

namespace fs = std::filesystem;

namespace {

std::error_code LastError() {
    return std::error_code(static_cast<int>(GetLastError()), std::system_category());
}

}  // namespace

// The Win32 calls take the long-path prefix that ReachablePath gives deep paths.
EntryKind KindOf(const fs::path& path, std::error_code& error) {
    error.clear();
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        error = LastError();
        return EntryKind::Other;
    }
    return attributes & FILE_ATTRIBUTE_DIRECTORY ? EntryKind::Folder : EntryKind::File;
}

bool IsLink(const fs::path& path, std::error_code& error) {
    return fs::is_symlink(fs::symlink_status(path, error));
}

bool ListFolder(const fs::path& folder, std::vector<FolderEntry>& entries, std::error_code& error) {
    entries.clear();
    error.clear();
    WIN32_FIND_DATAW found;
    std::wstring pattern = folder.native();
    if (pattern.empty() || (pattern.back() != L'\\' && pattern.back() != L'/')) {
        pattern += L'\\';
    }
    pattern += L'*';
    const HANDLE search =
        FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                         FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        error = LastError();
        return false;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const DWORD attributes = found.dwFileAttributes;
        const bool reparsePoint = attributes & FILE_ATTRIBUTE_REPARSE_POINT;
        EntryKind kind = EntryKind::File;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            kind = reparsePoint ? EntryKind::FolderLink : EntryKind::Folder;
        } else if (reparsePoint && found.dwReserved0 == IO_REPARSE_TAG_SYMLINK) {
            // Other reparse points on files (deduplicated, cloud) are the files themselves.
            kind = EntryKind::FileLink;
        }
        entries.push_back({name, kind, {}});
    } while (FindNextFileW(search, &found));
    const DWORD last = GetLastError();
    FindClose(search);
    if (last != ERROR_NO_MORE_FILES) {
        error = std::error_code(static_cast<int>(last), std::system_category());
        return false;
    }
    return true;
}
