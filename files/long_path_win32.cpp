#include "files/long_path_win32.h"

#include <windows.h>

namespace {

// Short enough that a temporary name beside it still fits under MAX_PATH.
constexpr size_t kShortPathLimit = MAX_PATH - 40;

}  // namespace

Path FullPathOf(const Path& path) {
    // GetFullPathNameW accepts long paths and does the normalising (doubled separators, forward
    // slashes, "." and "..") that the \\?\ form switches off.
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return Path();
    }
    Path full(needed, L'\0');
    const DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    full.resize(length < needed ? length : 0);
    return full;
}

Path LongPathForm(const Path& path) {
    if (path.size() < kShortPathLimit || path.rfind(L"\\\\?\\", 0) == 0) {
        return path;
    }
    const Path full = FullPathOf(path);
    if (full.empty()) {
        return path;
    }
    if (full.rfind(L"\\\\", 0) == 0) {
        return L"\\\\?\\UNC\\" + full.substr(2);
    }
    return L"\\\\?\\" + full;
}

Path PlainPathForm(const Path& path) {
    if (path.starts_with(L"\\\\?\\UNC\\")) {
        return L"\\\\" + path.substr(8);
    }
    return path.starts_with(L"\\\\?\\") ? path.substr(4) : path;
}
