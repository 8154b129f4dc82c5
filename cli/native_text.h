// Paths and arguments as the operating system gives them, and their forms for messages and for
// the core's file functions. One implementation per platform.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/text.h"

// An argument or a path in the system's own form: bytes on POSIX, UTF-16 on Windows.
using NativeString = std::filesystem::path::string_type;

// True when `text` is exactly the ASCII text `ascii`.
bool EqualsAscii(const NativeString& text, std::string_view ascii);

// `text` as UTF-8 for messages: on POSIX its bytes as they are, so that any name prints exactly.
std::string Utf8Of(const NativeString& text);

// The path as the core's file functions take it; nothing when they cannot name it (on POSIX, a
// name that is not UTF-8 or holds a backslash, which the core takes for a separator).
std::optional<Path> CorePathOf(const std::filesystem::path& path);

// `path` in a form the file functions reach at any depth: on Windows, a path too long for the
// plain form gets the long-path prefix.
std::filesystem::path ReachablePath(const std::filesystem::path& path);

// Creates `folder` and the folders above it that are missing; false with `error` set on failure.
bool CreateFolderTree(const std::filesystem::path& folder, std::error_code& error);

// A key that is the same for every path reaching the same file or folder; empty when the path
// cannot be examined. With `size`, also the file's size (0 when unknown), found in the same look.
NativeString IdentityOf(const std::filesystem::path& path, std::uintmax_t* size = nullptr);

// The identities of `folder` and of every folder above it up to the root, as the system reaches
// them (through links and ".."); the part of `folder` that does not exist yet is left out.
std::vector<NativeString> IdentitiesUpToRoot(const std::filesystem::path& folder);

// Forgets the last system error, so that LastSystemError tells a failure that set none.
void ClearSystemError();

// The reason the last system call failed, in English; `fallback` when none set a reason.
std::string LastSystemError(const char* fallback);
