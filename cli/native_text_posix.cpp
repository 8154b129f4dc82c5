#include "cli/native_text.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "files/utf8.h"

namespace fs = std::filesystem;

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

bool CreateFolderTree(const fs::path& folder, std::error_code& error) {
    fs::create_directories(folder, error);
    return !error;
}

NativeString IdentityOf(const fs::path& path, std::uintmax_t* size) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        if (size != nullptr) {
            *size = 0;
        }
        return {};
    }
    if (size != nullptr) {
        *size = static_cast<std::uintmax_t>(info.st_size);
    }
    return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
}

void ClearSystemError() {
    errno = 0;
}

std::string LastSystemError(const char* fallback) {
    const int error = errno;
    return error == 0 ? fallback : std::generic_category().message(error);
}
