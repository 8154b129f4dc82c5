#include "cli/native_text.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

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
    if (reachable.rfind(L"\\\\?\\", 0) != 0) {
        // Short now, but the walk goes deeper: give every folder the prefix up front.
        std::error_code ignored;
        const Path absolute = fs::absolute(path, ignored).native();
        if (!absolute.empty() && absolute.rfind(L"\\\\", 0) != 0) {
            reachable = L"\\\\?\\" + absolute;
        }
    }
    std::replace(reachable.begin(), reachable.end(), L'/', L'\\');
    return reachable;
}

bool IsFolderLink(const fs::directory_entry& entry) {
    const DWORD attributes = GetFileAttributesW(entry.path().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

NativeString IdentityOf(const fs::path& path) {
    std::error_code error;
    Path key = fs::absolute(path, error).lexically_normal().native();
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
