#include "cli/native_text.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "files/long_path_win32.h"
#include "files/unique_handle_win32.h"
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

namespace {

// Opens a file or folder for its attributes only, following links.
UniqueFileHandle OpenForIdentity(const Path& path) {
    return UniqueFileHandle(
        CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

// Cuts the last name off `path`, keeping the backslash of a drive's root.
void CutLastName(Path& path) {
    path.resize(std::min(path.size(), path.find_last_of(L"\\/")));
    if (!path.empty() && path.back() == L':') {
        path += L'\\';
    }
}

}  // namespace

// The volume and the file's index on it: the same through a short name, a junction, a substituted
// drive or a hard link, as the device and inode are on POSIX.
NativeString IdentityOf(const fs::path& path, std::uintmax_t* size) {
    if (size != nullptr) {
        *size = 0;
    }
    const UniqueFileHandle file = OpenForIdentity(path.native());
    BY_HANDLE_FILE_INFORMATION info;
    if (!file.Valid() || !GetFileInformationByHandle(file.Get(), &info)) {
        return {};
    }
    if (size != nullptr) {
        *size = (std::uintmax_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow;
    }
    return std::to_wstring(info.dwVolumeSerialNumber) + L":" +
           std::to_wstring((std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow);
}

// Windows takes ".." by the name, so the climb goes up the path the system ended at.
std::vector<NativeString> IdentitiesUpToRoot(const fs::path& folder) {
    std::error_code error;
    Path existing = ReachablePath(fs::absolute(folder, error)).native();
    UniqueFileHandle handle;
    while (!(handle = OpenForIdentity(existing)).Valid()) {
        const DWORD why = GetLastError();
        const size_t length = existing.size();
        CutLastName(existing);
        if ((why != ERROR_FILE_NOT_FOUND && why != ERROR_PATH_NOT_FOUND) ||
            existing.size() == length) {
            return {};
        }
    }
    Path real(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetFinalPathNameByHandleW(
                handle.Get(), real.data(), static_cast<DWORD>(real.size()), 0)) >= real.size()) {
        real.resize(length);
    }
    real.resize(length);
    std::vector<NativeString> identities;
    for (NativeString key; !real.empty() && !(key = IdentityOf(real)).empty(); CutLastName(real)) {
        if (!identities.empty() && identities.back() == key) {
            break;  // the root is its own parent
        }
        identities.push_back(std::move(key));
    }
    return identities;
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
