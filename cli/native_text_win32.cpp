#include "cli/native_text.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <vector>

#include "files/long_path_win32.h"
#include "files/utf8.h"

namespace fs = std::filesystem;

bool EqualsAscii(const NativeString& text, std::string_view ascii) {
    return std::equal(text.begin(), text.end(), ascii.begin(), ascii.end(),
                      [](wchar_t a, char b) { return a == static_cast<unsigned char>(b); });
}

std::string Utf8Of(const NativeString& text) {
    return EncodeUtf8(text);
}

std::optional<Path> CorePathOf(const fs::path& path) {
    return path.native();
}

fs::path ReachablePath(const fs::path& path) {
    Path reachable = LongPathForm(path.native());
    if (reachable.rfind(L"\\\\?\\", 0) == 0) {
        // The prefix switches off the conversion of forward slashes.
        std::replace(reachable.begin(), reachable.end(), L'/', L'\\');
    }
    return reachable;
}

// By hand: the standard library's version takes the long-path prefix for a network name.
bool CreateFolderTree(const fs::path& folder, std::error_code& error) {
    std::vector<Path> missing;
    for (Path current = ReachablePath(folder).native();
         !current.empty() && GetFileAttributesW(current.c_str()) == INVALID_FILE_ATTRIBUTES;) {
        missing.push_back(current);
        const size_t separator = current.find_last_of(L"\\/");
        if (separator == Path::npos || separator == 0 || current[separator - 1] == L':' ||
            current[separator - 1] == L'?') {
            break;
        }
        current.resize(separator);
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        if (!CreateDirectoryW(it->c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
            error = std::error_code(static_cast<int>(GetLastError()), std::system_category());
            return false;
        }
    }
    return true;
}

NativeString IdentityOf(const fs::path& path, std::uintmax_t* size) {
    if (size != nullptr) {
        WIN32_FILE_ATTRIBUTE_DATA data;
        *size = GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)
                    ? (std::uintmax_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow
                    : 0;
    }
    // The same key with and without the long-path prefix.
    const Path plain = PlainPathForm(path.native());
    std::error_code error;
    Path key = fs::absolute(plain, error).lexically_normal().native();
    if (error) {
        return {};
    }
    // File names on Windows compare without case.
    std::transform(key.begin(), key.end(), key.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    return key;
}

void ClearSystemError() {
    SetLastError(ERROR_SUCCESS);
}

std::string LastSystemError(const char* fallback) {
    const DWORD error = GetLastError();
    if (error == ERROR_SUCCESS) {
        return fallback;
    }
    wchar_t* text = nullptr;
    const DWORD flags =
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    // English, as command-line tools write; any language where the system has no English text.
    DWORD length =
        FormatMessageW(flags, nullptr, error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                       reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    if (length == 0) {
        length =
            FormatMessageW(flags, nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    }
    std::wstring message(text == nullptr ? L"" : text, length);
    LocalFree(text);
    message.erase(message.find_last_not_of(L"\r\n. ") + 1);
    return message.empty() ? "error " + std::to_string(error) : EncodeUtf8(message);
}
