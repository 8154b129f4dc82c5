#include "files/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "files/unique_fd_posix.h"
#include "files/utf8.h"

namespace {

// The program's paths use the backslash as their separator, as on Windows.
std::string OsPath(const Path& path) {
    std::string bytes = EncodeUtf8(path);
    std::replace(bytes.begin(), bytes.end(), '\\', '/');
    return bytes;
}

UniqueFd OpenRegularFileForReading(const Path& path) {
    UniqueFd fd(open(OsPath(path).c_str(), O_RDONLY | O_CLOEXEC));
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

}  // namespace

bool CanOpenForReading(const Path& path) {
    return OpenRegularFileForReading(path).Valid();
}

bool ReadWholeFile(const Path& path, AnsiText& contents) {
    contents.clear();
    UniqueFd fd = OpenRegularFileForReading(path);
    if (!fd.Valid()) {
        return false;
    }
    struct stat info;
    if (fstat(fd.Get(), &info) == 0 && info.st_size > 0) {
        contents.reserve(static_cast<size_t>(info.st_size));
    }
    char chunk[1 << 16];
    for (;;) {
        const ssize_t n = read(fd.Get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            return true;
        }
        contents.append(chunk, static_cast<size_t>(n));
    }
}

bool ReplaceFileContents(const Path& path, std::string_view bytes, std::string_view ending) {
    const std::string target = OsPath(path);
    struct stat existing;
    const bool exists = stat(target.c_str(), &existing) == 0;
    if (exists && (!S_ISREG(existing.st_mode) || (existing.st_mode & 0222) == 0)) {
        return false;
    }
    // A short name in the target's folder: lengthening the target's own name could make it longer
    // than a name may be.
    std::string temporary = target.substr(0, target.rfind('/') + 1) + ".orvandel-XXXXXX";
    UniqueFd fd(mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.Valid()) {
        return false;
    }
    const mode_t mode = exists ? existing.st_mode & 07777 : 0644;
    const bool written = WriteAll(fd.Get(), bytes) && WriteAll(fd.Get(), ending) &&
                         fchmod(fd.Get(), mode) == 0 && fsync(fd.Get()) == 0 && fd.Reset();
    if (!written || rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

bool WriteNewFile(const Path& path, std::string_view bytes, std::string_view ending) {
    const std::string target = OsPath(path);
    UniqueFd fd(open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    if (!fd.Valid()) {
        return false;
    }
    if (!WriteAll(fd.Get(), bytes) || !WriteAll(fd.Get(), ending) || !fd.Reset()) {
        unlink(target.c_str());
        return false;
    }
    return true;
}
