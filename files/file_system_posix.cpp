#include "files/file_system.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <exception>
#include <optional>
#include <random>
#include <thread>
#include <utility>

#include "files/long_path_posix.h"
#include "files/utf8.h"

namespace {

// The program's paths use the backslash as their separator, as on Windows.
std::string OsPath(const Path& path) {
    std::string bytes = EncodeUtf8(path);
    std::replace(bytes.begin(), bytes.end(), '\\', '/');
    return bytes;
}

UniqueFd OpenRegularFileForReading(const Path& path) {
    const ReachedPath at = Reach(OsPath(path));
    UniqueFd fd(at.Reached() ? openat(at.Folder(), at.Name(), O_RDONLY | O_CLOEXEC) : -1);
    struct stat info;
    if (fd.Valid() && (fstat(fd.Get(), &info) != 0 || S_ISDIR(info.st_mode))) {
        fd.Reset();
    }
    return fd;
}

bool WriteAll(int fd, std::string_view bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<size_t>(n);
    }
    return true;
}

// Creates a fresh ".orvandel-XXXXXX" in `folder`, as mkostemp does for a path, with its name in
// `name`. A name too long for one path is no obstacle: the folder is open.
UniqueFd CreateTemporary(int folder, std::string& name) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = ".orvandel-";
        for (int i = 0; i < 6; ++i) {
            name += kLetters[random() % (sizeof kLetters - 1)];
        }
        UniqueFd fd(openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
        if (fd.Valid() || errno != EEXIST) {
            return fd;
        }
    }
    return UniqueFd();
}

// A large buffer is filled sooner in pages of 2 MiB than in thousands of 4 KiB ones; where the
// system has no such pages, this does nothing.
void AskForLargePages(char* buffer, size_t size) {
#if defined(MADV_HUGEPAGE)
    constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
    const uintptr_t begin =
        (reinterpret_cast<uintptr_t>(buffer) + kLargePage - 1) & ~(kLargePage - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(buffer) + size) & ~(kLargePage - 1);
    if (end > begin) {
        madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
    }
#else
    (void)buffer;
    (void)size;
#endif
}

// Reads up to `count` bytes from `offset` on into `buffer`; returns how many it read, fewer at the
// file's end or when a read fails (`failed` set).
size_t ReadAt(int fd, char* buffer, size_t count, size_t offset, bool& failed) {
    size_t done = 0;
    while (done < count) {
        const ssize_t n = pread(fd, buffer + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            failed = n < 0;
            break;
        }
        done += static_cast<size_t>(n);
    }
    return done;
}

// Reads the first `size` bytes of the file, its halves at once: most of a large read's time goes
// to filling fresh pages, which two processors do in half the time. Returns how many bytes from
// the start it read.
size_t ReadInTwo(int fd, char* buffer, size_t size, bool& failed) {
    const size_t half = size / 2;
    size_t secondRead = 0;
    bool secondFailed = false;
    std::optional<std::thread> second;
    try {
        second.emplace(
            [&] { secondRead = ReadAt(fd, buffer + half, size - half, half, secondFailed); });
    } catch (const std::exception&) {
        // No thread to be had (nor the memory for one): one half after the other. Nothing may
        // leave this function by an exception, as it fills a string being resized.
        return ReadAt(fd, buffer, size, 0, failed);
    }
    const size_t firstRead = ReadAt(fd, buffer, half, 0, failed);
    second->join();
    if (firstRead < half) {
        return firstRead;
    }
    failed = secondFailed;
    return half + secondRead;
}

}  // namespace

bool CanOpenForReading(const Path& path) {
    return OpenRegularFileForReading(path).Valid();
}

bool ReadWholeFile(const Path& path, AnsiText& contents, size_t readInTwoFrom) {
    contents.clear();
    UniqueFd fd = OpenRegularFileForReading(path);
    if (!fd.Valid()) {
        return false;
    }
    struct stat info;
    if (fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
        return AppendToEnd(fd.Get(), contents);  // a device or a pipe: no size to read up to
    }
    const size_t size = static_cast<size_t>(info.st_size);
    contents.reserve(size);
    AskForLargePages(contents.data(), contents.capacity());
    bool failed = false;
    // Straight into the text, not zeroed first.
    contents.resize_and_overwrite(size, [&](char* data, size_t) {
        return size >= readInTwoFrom ? ReadInTwo(fd.Get(), data, size, failed)
                                     : ReadAt(fd.Get(), data, size, 0, failed);
    });
    // The file may have grown since it was measured.
    return !failed && lseek(fd.Get(), static_cast<off_t>(contents.size()), SEEK_SET) >= 0 &&
           AppendToEnd(fd.Get(), contents);
}

bool ReplaceFileContents(const Path& path, std::string_view bytes, std::string_view ending) {
    const ReachedPath target = Reach(OsPath(path));
    if (!target.Reached()) {
        return false;
    }
    struct stat existing;
    const bool exists = fstatat(target.Folder(), target.Name(), &existing, 0) == 0;
    if (exists && (!S_ISREG(existing.st_mode) || (existing.st_mode & 0222) == 0)) {
        return false;
    }
    // A short name in the target's folder: lengthening the target's own name could make it longer
    // than a name may be.
    std::string temporary;
    UniqueFd fd = CreateTemporary(target.Folder(), temporary);
    if (!fd.Valid()) {
        return false;
    }
    const mode_t mode = exists ? existing.st_mode & 07777 : 0644;
    const bool written = WriteAll(fd.Get(), bytes) && WriteAll(fd.Get(), ending) &&
                         fchmod(fd.Get(), mode) == 0 && fsync(fd.Get()) == 0 && fd.Reset();
    if (!written ||
        renameat(target.Folder(), temporary.c_str(), target.Folder(), target.Name()) != 0) {
        unlinkat(target.Folder(), temporary.c_str(), 0);
        return false;
    }
    return true;
}

bool WriteNewFile(const Path& path, std::string_view bytes, std::string_view ending) {
    const ReachedPath target = Reach(OsPath(path));
    UniqueFd fd(target.Reached() ? openat(target.Folder(), target.Name(),
                                          O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666)
                                 : -1);
    if (!fd.Valid()) {
        return false;
    }
    if (!WriteAll(fd.Get(), bytes) || !WriteAll(fd.Get(), ending) || !fd.Reset()) {
        unlinkat(target.Folder(), target.Name(), 0);
        return false;
    }
    return true;
}
