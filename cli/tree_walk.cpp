#include "cli/tree_walk.h"

#include <algorithm>
#include <unordered_set>

#include "cli/folder_listing.h"

namespace fs = std::filesystem;

namespace {

class TreeWalk {
  public:
    explicit TreeWalk(const CliOptions& options) : options_(options) {}

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
        const EntryKind kind = KindOf(path, error);
        if (error) {
            Fail(input, error);
        } else if (kind == EntryKind::Folder) {
            // Where the part below the folder starts in its files' paths, with or without a
            // separator at the end of `input`.
            Folder(path, input, (input / "x").native().size() - 1);
        } else if (kind == EntryKind::File) {
            Take(path, input, input.native().size() - input.filename().native().size());
        } else {
            list_.errors.push_back(Utf8Of(input.native()) + ": not a regular file or folder");
        }
    }

    void Folder(const fs::path& folder, const fs::path& shown, size_t relativeStart) {
        const NativeString identity = IdentityOf(folder);
        if (!identity.empty() && !folders_.insert(identity).second) {
            return;
        }
        std::error_code error;
        std::vector<FolderEntry> entries;
        if (!ListFolder(folder, entries, error)) {
            Fail(shown, error);
            return;
        }
        std::sort(entries.begin(), entries.end(),
                  [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
        for (const FolderEntry& entry : entries) {
            const fs::path path = ReachablePath(folder / entry.name);
            if (entry.kind == EntryKind::Folder) {
                Folder(path, shown / entry.name, relativeStart);
            } else if (entry.kind == EntryKind::Unknown) {
                Fail(shown / entry.name, entry.error);
            } else if (entry.kind == EntryKind::FileLink && options_.inPlace &&
                       WantedExtension(entry.name)) {
                // Its file may lie outside the folder the user named.
                list_.errors.push_back(Utf8Of((shown / entry.name).native()) +
                                       ": a link; not replaced unless named on its own");
            } else if ((entry.kind == EntryKind::File || entry.kind == EntryKind::FileLink) &&
                       WantedExtension(entry.name)) {
                Take(path, shown / entry.name, relativeStart);
            } else if (entry.kind == EntryKind::BrokenLink && WantedExtension(entry.name)) {
                // Following the link again tells why it cannot be read.
                KindOf(path, error);
                Fail(shown / entry.name, error);
            }
        }
    }

    // An extension may hold dots of its own; a name such as ".c" is all stem.
    bool WantedExtension(const NativeString& name) const {
        return std::any_of(
            options_.extensions.begin(), options_.extensions.end(), [&](const NativeString& ext) {
                const size_t dot = name.size() - std::min(name.size(), ext.size() + 1);
                return dot > 0 && name[dot] == '.' &&
                       std::equal(ext.begin(), ext.end(), name.begin() + dot + 1,
                                  [](auto wanted, auto c) {
                                      return wanted == (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
                                  });
            });
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
    std::unordered_set<NativeString> folders_;
    std::unordered_set<NativeString> files_;
    SourceList list_;
};

}  // namespace

SourceList CollectSources(const CliOptions& options) {
    return TreeWalk(options).Run();
}
