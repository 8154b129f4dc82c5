#include "tests/temp_folder.h"

#include "files/utf8.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <set>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    root_ = fs::temp_directory_path() /
            ("orvandel-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(root_);
}

TempFolder::~TempFolder() {
#ifdef _WIN32
    // The \\?\ form reaches into folders nested deeper than MAX_PATH.
    const fs::path root = L"\\\\?\\" + root_.wstring();
#else
    const fs::path root = root_;
#endif
    std::error_code ignored;
    // Read-only files would stop the removal.
    for (auto it = fs::recursive_directory_iterator(root, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(root, ignored);
}

fs::path OsPath(const Path& path) {
#ifdef _WIN32
    return fs::path(path);
#else
    // Bytes, not wide characters: the C locale cannot convert non-ASCII names.
    std::string slashed = EncodeUtf8(path);
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    return fs::path(slashed);
#endif
}

Path TempFolder::PathOf(const std::wstring& name) const {
    return root_.wstring() + L"\\" + name;
}

Path TempFolder::Write(const std::wstring& name, const std::string& bytes) const {
    const Path path = PathOf(name);
    std::ofstream out(OsPath(path), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string ReadBytes(const Path& path) {
    std::ifstream in{OsPath(path), std::ios::binary};
    if (!in) {
        return kMissingFile;
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::wstring ListFolder(const fs::path& folder) {
    std::set<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().wstring());
    }
    std::wstring listing;
    for (const auto& name : names) {
        listing += name + L";";
    }
    return listing;
}
