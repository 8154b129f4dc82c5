// What a walk needs to know of folders and their entries. One implementation per platform: the
// Windows one reaches folders deeper than MAX_PATH.
#pragma once

#include <filesystem>
#include <system_error>
#include <vector>

#include "cli/native_text.h"

enum class EntryKind {
    File,
    FileLink,  // a symbolic link to a file
    Folder,
    FolderLink,  // a link to a folder elsewhere (a symbolic link, or a junction on Windows)
    BrokenLink,  // a link to nothing that can be examined
    Other,       // devices, sockets, pipes
    Unknown,     // the entry itself cannot be examined
};

struct FolderEntry {
    NativeString name;
    EntryKind kind;
    std::error_code error;  // why an Unknown entry cannot be examined
};

// What `path` names, following links; `error` is set when it cannot be examined.
EntryKind KindOf(const std::filesystem::path& path, std::error_code& error);

// True when `path` itself is a symbolic link; `error` is set when it cannot be examined.
bool IsLink(const std::filesystem::path& path, std::error_code& error);

// The entries of `folder`, without "." and ".."; false with `error` set when it cannot be read.
bool ListFolder(const std::filesystem::path& folder, std::vector<FolderEntry>& entries,
                std::error_code& error);
