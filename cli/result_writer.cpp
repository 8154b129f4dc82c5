#include "cli/result_writer.h"

#include <algorithm>
#include <atomic>

#include "cli/folder_listing.h"
#include "files/file_system.h"

namespace fs = std::filesystem;

namespace {

constexpr char kUnnamable[] = "the name cannot be handled (not UTF-8, or it holds a backslash)";
constexpr char kNotWritten[] = "cannot be written";

std::string Failure(const fs::path& shown, const std::string& reason) {
    return Utf8Of(shown.native()) + ": " + reason;
}

}  // namespace

ResultWriter::ResultWriter(const CliOptions& options, Console& console,
                           std::vector<NativeString> inputs)
    : options_(options), console_(console), inputs_(std::move(inputs)) {
    std::sort(inputs_.begin(), inputs_.end());
    if (options.outFolder) {
        outFolder_ = ReachablePath(*options.outFolder);
    }
    static std::atomic<unsigned> writers{0};
    generation_ = ++writers;
}

std::string ResultWriter::Write(const SourceFile& file, std::string_view text,
                                std::string_view ending) const {
    if (options_.inPlace) {
        return ReplaceSource(file, text, ending);
    }
    if (options_.outFolder) {
        return WriteUnderOutFolder(file, text, ending);
    }
    if (!console_.WriteBytes(Stream::Out, text) || !console_.WriteBytes(Stream::Out, ending)) {
        return "standard output: " + LastSystemError(kNotWritten);
    }
    return {};
}

// A fresh output tree is written without waiting for the disk: no source is at risk. An existing
// file there is replaced atomically, as the source would be, and never when it is an input.
std::string ResultWriter::WriteUnderOutFolder(const SourceFile& file, std::string_view text,
                                              std::string_view ending) const {
    const fs::path target = ReachablePath(outFolder_ / file.Relative());
    const fs::path shown = *options_.outFolder / file.Relative();
    const auto corePath = CorePathOf(target);
    if (!corePath) {
        return Failure(shown, kUnnamable);
    }
    // Files come folder by folder: each worker makes sure of a folder once for a run of its files
    // (of this writer: a folder made for an earlier one may be gone).
    thread_local unsigned folderGeneration = 0;
    thread_local fs::path folderMade;
    std::error_code error;
    if (folderGeneration != generation_ || target.parent_path() != folderMade) {
        if (!CreateFolderTree(target.parent_path(), error)) {
            return Failure(shown.parent_path(), error.message());
        }
        folderGeneration = generation_;
        folderMade = target.parent_path();
    }
    ClearSystemError();
    if (WriteNewFile(*corePath, text, ending)) {
        return {};
    }
    const std::string reason = LastSystemError(kNotWritten);
    KindOf(target, error);
    if (error) {  // nothing there: the write itself failed
        return Failure(shown, reason);
    }
    if (std::binary_search(inputs_.begin(), inputs_.end(), IdentityOf(target))) {
        return Failure(shown, "is one of the inputs; not overwritten");
    }
    ClearSystemError();
    if (!ReplaceFileContents(*corePath, text, ending)) {
        return Failure(shown, LastSystemError(kNotWritten));
    }
    return {};
}

// A link to a file has its file replaced, not the link itself.
std::string ResultWriter::ReplaceSource(const SourceFile& file, std::string_view text,
                                        std::string_view ending) const {
    std::error_code error;
    fs::path target = file.Path();
    if (IsLink(target, error)) {
        target = fs::canonical(target, error);
    }
    if (error) {
        return Failure(file.shown, error.message());
    }
    const auto corePath = CorePathOf(target);
    if (!corePath) {
        return Failure(file.shown, kUnnamable);
    }
    ClearSystemError();
    if (!ReplaceFileContents(*corePath, text, ending)) {
        return Failure(file.shown, LastSystemError("cannot be replaced (read-only?)"));
    }
    return {};
}
