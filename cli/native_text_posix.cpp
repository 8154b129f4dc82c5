#include "cli/native_text.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Strict UTF-8: false on any ill-formed sequence, where a lossy decoding would name another file.
bool DecodeUtf8Strict(std::string_view bytes, std::wstring& out) {
    out.clear();
    for (size_t i = 0; i < bytes.size();) {
        const auto byte = [&](size_t at) { return static_cast<unsigned char>(bytes[at]); };
        const unsigned char lead = byte(i);
        size_t length = 1;
        char32_t cp = lead;
        char32_t minimum = 0;
        if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, cp = lead & 0x07, minimum = 0x10000;
        } else if (lead >= 0xE0) {
            length = 3, cp = lead & 0x0F, minimum = 0x800;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, cp = lead & 0x1F, minimum = 0x80;
        } else if (lead >= 0x80) {
            return false;
        }
        if (lead > 0xF4 || i + length > bytes.size()) {
            return false;
        }
        for (size_t k = 1; k < length; ++k) {
            if ((byte(i + k) & 0xC0) != 0x80) {
                return false;
            }
            cp = (cp << 6) | (byte(i + k) & 0x3F);
        }
        if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        out.push_back(static_cast<wchar_t>(cp));
        i += length;
    }
    return true;
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
