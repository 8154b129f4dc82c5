#include "files/file_system.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>

#include "files/long_path_win32.h"
#include "files/unique_handle_win32.h"

namespace {

// Other programs may hold the file open for reading or writing, but a file locked against
// reading cannot be opened.
UniqueFileHandle OpenForReading(const Path& path) {
    return UniqueFileHandle(CreateFileW(LongPathForm(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

bool WriteAll(HANDLE file, std::string_view bytes) {
    constexpr size_t kChunk = 1 << 24;
    for (size_t done = 0; done < bytes.size();) {
        const DWORD size = static_cast<DWORD>(std::min(kChunk, bytes.size() - done));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, size, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

// A short name in the target's folder: lengthening the target's own name could make it longer
// than a name may be.
Path TemporaryNameBeside(const Path& target) {
    static std::atomic<unsigned> counter{0};
    return target.substr(0, target.find_last_of(L"\\/") + 1) + L".orvandel-" +
           std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++) + L".tmp";
}

// Moves the finished temporary file over the target. ReplaceFileW keeps the target's attributes
// and security; it needs an existing target, so a new file is simply moved into place.
bool MoveIntoPlace(const Path& temporary, const Path& target, bool targetExists) {
    if (!targetExists) {
        return MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    if (ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr)) {
        return true;
    }
    // This error means the old file is already gone; the new contents are complete, so finish
    // the move instead of leaving no file at all.
    return GetLastError() == ERROR_UNABLE_TO_MOVE_REPLACEMENT &&
           MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

}  // namespace

bool CanOpenForReading(const Path& path) {
    return OpenForReading(path).Valid();
}

// One thread reads: reads on a handle opened for synchronous input and output take turns.
bool ReadWholeFile(const Path& path, AnsiText& contents, size_t /*readInTwoFrom*/) {
    contents.clear();
    const UniqueFileHandle file = OpenForReading(path);
    if (!file.Valid()) {
        return false;
    }
    constexpr DWORD kChunk = 1 << 20;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0) {
        // Room for the last, empty read too, so that the buffer is never reallocated.
        contents.reserve(static_cast<size_t>(size.QuadPart) + kChunk);
    }
    for (;;) {
        const size_t used = contents.size();
        BOOL ok = TRUE;
        // Straight into the text, not zeroed first.
        contents.resize_and_overwrite(used + kChunk, [&](char* data, size_t) {
            DWORD read = 0;
            ok = ReadFile(file.Get(), data + used, kChunk, &read, nullptr);
            return used + read;
        });
        if (!ok) {
            return false;
        }
        if (contents.size() == used) {
            return true;
        }
    }
}

bool ReplaceFileContents(const Path& path, std::string_view bytes, std::string_view ending) {
    const Path target = LongPathForm(path);
    const DWORD attributes = GetFileAttributesW(target.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY))) {
        return false;
    }
    // A target another program holds open without sharing cannot be replaced. Finding out first
    // writes nothing: Wine's ReplaceFileW would leave a temporary file of its own behind.
    if (exists &&
        !UniqueFileHandle(CreateFileW(target.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr))
             .Valid()) {
        return false;
    }
    const Path temporary = TemporaryNameBeside(target);
    UniqueFileHandle file(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        return false;
    }
    const bool written = WriteAll(file.Get(), bytes) && WriteAll(file.Get(), ending) &&
                         FlushFileBuffers(file.Get()) && file.Reset();
    if (!written || !MoveIntoPlace(temporary, target, exists)) {
        file.Reset();
        DeleteFileW(temporary.c_str());
        return false;
    }
    return true;
}

bool WriteNewFile(const Path& path, std::string_view bytes, std::string_view ending) {
    const Path target = LongPathForm(path);
    UniqueFileHandle file(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        return false;
    }
    if (!WriteAll(file.Get(), bytes) || !WriteAll(file.Get(), ending) || !file.Reset()) {
        file.Reset();
        DeleteFileW(target.c_str());
        return false;
    }
    return true;
}
