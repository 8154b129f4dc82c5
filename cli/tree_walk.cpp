#include "cli/tree_walk.h"

#include <algorithm>
#include <unordered_set>

namespace fs = std::filesystem;

namespace {

class TreeWalk {
  public:
    explicit TreeWalk(const CliOptions& options) : options_(options) {
        if (options.outFolder) {
            outIdentity_ = IdentityOf(ReachablePath(*options.outFolder));
        }
    }

    SourceList Run() {
        for (const fs::path& input : options_.inputs) {
            Input(input);
        }
        return std::move(list_);
    }

  private:
    void Input(const fs::path& input) {
        const fs::path path = ReachablePath(input);
        std::error_code error;
        const fs::file_status status = fs::status(path, error);
        if (error) {
            Fail(input, error);
        } else if (fs::is_directory(status)) {
            // Where the part below the folder starts in its files' paths, with or without a
            // separator at the end of `input`.
            Folder(path, input, (input / "x").native().size() - 1);
        } else if (fs::is_regular_file(status)) {
            Take(path, input, input.native().size() - input.filename().native().size());
        } else {
            list_.errors.push_back(Utf8Of(input.native()) + ": not a regular file or folder");
        }
    }

    void Folder(const fs::path& folder, const fs::path& shown, size_t relativeStart) {
        const NativeString identity = IdentityOf(folder);
        if (!outIdentity_.empty() && identity == outIdentity_) {
            return;  // the results of this run, or of an earlier one
        }
        if (!identity.empty() && !folders_.insert(identity).second) {
            return;
        }
        std::error_code error;
        std::vector<fs::directory_entry> entries;
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            entries.push_back(*it);
        }
        if (error) {
            Fail(shown, error);
            return;
        }
        std::sort(entries.begin(), entries.end());
        for (const fs::directory_entry& entry : entries) {
            const fs::path name = entry.path().filename();
            if (entry.is_directory(error)) {
                if (!IsFolderLink(entry)) {
                    Folder(ReachablePath(entry.path()), shown / name, relativeStart);
                }
            } else if (WantedExtension(name)) {
                if (entry.is_regular_file(error)) {
                    Take(ReachablePath(entry.path()), shown / name, relativeStart);
                } else if (entry.is_symlink() && !entry.exists(error)) {
                    // A link whose file is gone: `error` tells why it cannot be read.
                    static_cast<void>(fs::status(entry.path(), error));
                    Fail(shown / name, error);
                }
            }
        }
    }

    bool WantedExtension(const fs::path& name) const {
        NativeString extension = name.extension().native();
        if (extension.size() < 2) {
            return false;
        }
        extension.erase(0, 1);
        for (auto& c : extension) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<NativeString::value_type>(c - 'A' + 'a');
            }
        }
        return std::find(options_.extensions.begin(), options_.extensions.end(), extension) !=
               options_.extensions.end();
    }

    void Take(const fs::path& path, const fs::path& shown, size_t relativeStart) {
        std::uintmax_t size = 0;
        const NativeString identity = IdentityOf(path, &size);
        if (!identity.empty() && !files_.insert(identity).second) {
            return;
        }
        list_.files.push_back({shown.native(), relativeStart, size});
        list_.identities.push_back(identity);
    }

    void Fail(const fs::path& shown, const std::error_code& error) {
        list_.errors.push_back(Utf8Of(shown.native()) + ": " + error.message());
    }

    const CliOptions& options_;
    NativeString outIdentity_;
    std::unordered_set<NativeString> folders_;
    std::unordered_set<NativeString> files_;
    SourceList list_;
};

}  // namespace

SourceList CollectSources(const CliOptions& options) {
    return TreeWalk(options).Run();
}
