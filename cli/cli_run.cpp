#include "cli/cli_run.h"

#include <algorithm>
#include <atomic>
#include <numeric>
#include <thread>
#include <unordered_set>

#include "cli/cli_options.h"
#include "cli/exhibit_command.h"
#include "cli/file_job.h"
#include "cli/folder_listing.h"
#include "cli/interrupt.h"
#include "cli/progress.h"
#include "cli/result_writer.h"
#include "cli/tree_walk.h"
#include "cli/worker_pool.h"
#include "processing/languages/language_table.h"

namespace fs = std::filesystem;

namespace {

int BadUsage(Console& console, const std::string& message) {
    console.WriteText(Stream::Err, "orvandel-cli: " + message + "\n");
    console.WriteText(Stream::Err, UsageText());
    return kExitBadUsage;
}

// Mistakes only the file system shows, found before anything is written.
std::string UsageErrorOnDisk(const CliOptions& options) {
    std::error_code error;
    if (options.ToStandardOutput() &&
        KindOf(ReachablePath(options.inputs[0]), error) == EntryKind::Folder) {
        return "a folder needs --out, --in-place or --check";
    }
    // A walk cannot tell a result of this or an earlier run from a source there.
    if (options.outFolder) {
        const std::vector<NativeString> outAndAbove =
            IdentitiesUpToRoot(ReachablePath(*options.outFolder));
        for (const fs::path& input : options.inputs) {
            const NativeString identity = IdentityOf(ReachablePath(input));
            if (std::find(outAndAbove.begin(), outAndAbove.end(), identity) != outAndAbove.end()) {
                return "the output folder is an input folder or inside one; use --in-place to "
                       "replace the sources";
            }
        }
    }
    return {};
}

// Two inputs whose results would have the same name under the output folder: the later one is
// an error rather than overwriting the earlier one's result.
void DropClashingResults(SourceList& sources) {
    std::unordered_set<NativeString> taken;
    size_t kept = 0;
    for (size_t i = 0; i < sources.files.size(); ++i) {
        if (!taken.insert(sources.files[i].Relative()).second) {
            sources.errors.push_back(Utf8Of(sources.files[i].shown) +
                                     ": another input's result has the same path under the "
                                     "output folder");
            continue;
        }
        if (kept != i) {
            sources.files[kept] = std::move(sources.files[i]);
            sources.identities[kept] = std::move(sources.identities[i]);
        }
        ++kept;
    }
    sources.files.resize(kept);
    sources.identities.resize(kept);
}

// A name as one line of a list: in double quotes with C escapes when it holds a control character
// (a line break, say) or begins with a quote, so that each line is one whole name.
std::string ListedName(const std::string& name) {
    const auto control = [](unsigned char c) { return c < 0x20 || c == 0x7F; };
    if (!name.starts_with('"') && std::none_of(name.begin(), name.end(), control)) {
        return name;
    }
    std::string quoted = "\"";
    for (const unsigned char c : name) {
        const char* const escape = c == '\n'   ? "\\n"
                                   : c == '\r' ? "\\r"
                                   : c == '\t' ? "\\t"
                                               : nullptr;
        if (escape != nullptr) {
            quoted += escape;
        } else if (control(c)) {
            const char octal[] = {'\\', char('0' + (c >> 6)), char('0' + ((c >> 3) & 7)),
                                  char('0' + (c & 7))};
            quoted.append(octal, sizeof octal);
        } else {
            if (c == '"' || c == '\\') {
                quoted += '\\';
            }
            quoted += static_cast<char>(c);
        }
    }
    return quoted + '"';
}

// The table of languages: name, extensions and comment forms, in columns.
std::string LanguageList() {
    std::string list = "language     extensions                                 comments\n";
    const auto column = [&](std::string_view text, size_t width) {
        list.append(text).append(text.size() < width ? width - text.size() : 1, ' ');
    };
    for (const Language& language : Languages()) {
        column(language.name, 13);
        column(language.extensions, 43);
        list.append(language.lineComment)
            .append(language.lineComment.empty() ? "" : " ")
            .append(language.blockComment)
            .append("\n");
    }
    return list;
}

// The source from standard input, its result to standard output.
int RunStandardInput(const CliOptions& options, Console& console) {
    AnsiText text;
    if (!ReadStandardInput(text)) {
        console.WriteText(Stream::Err, "orvandel-cli: standard input cannot be read\n");
        return kExitSomeFailed;
    }
    const std::string_view lineEnd = StripSource(text, Path(), options);
    if (!console.WriteBytes(Stream::Out, text) || !console.WriteBytes(Stream::Out, lineEnd)) {
        console.WriteText(Stream::Err, "orvandel-cli: standard output cannot be written\n");
        return kExitSomeFailed;
    }
    return kExitDone;
}

int Run(const std::vector<NativeString>& arguments, Console& console) {
    if (!arguments.empty() && EqualsAscii(arguments[0], "exhibit")) {
        return RunExhibitCommand({arguments.begin() + 1, arguments.end()}, console);
    }
    const ParsedArguments parsed = ParseArguments(arguments);
    if (!parsed.error.empty()) {
        return BadUsage(console, parsed.error);
    }
    const CliOptions& options = parsed.options;
    if (options.help) {
        console.WriteText(Stream::Out, UsageText());
        return kExitDone;
    }
    if (options.version) {
        console.WriteText(Stream::Out, "orvandel-cli " ORVANDEL_VERSION "\n");
        return kExitDone;
    }
    if (options.listLanguages) {
        console.WriteText(Stream::Out, LanguageList());
        return kExitDone;
    }
    if (options.FromStandardInput()) {
        return RunStandardInput(options, console);
    }
    if (const std::string error = UsageErrorOnDisk(options); !error.empty()) {
        return BadUsage(console, error);
    }

    SourceList sources = CollectSources(options);
    if (options.outFolder) {
        DropClashingResults(sources);
    }
    RunTotals totals;
    totals.files = sources.files.size();
    const std::uintmax_t totalBytes =
        std::accumulate(sources.files.begin(), sources.files.end(), std::uintmax_t{0},
                        [](std::uintmax_t sum, const SourceFile& file) { return sum + file.size; });
    Progress progress(console, !options.quiet && !options.ToStandardOutput(), totals.files,
                      totalBytes);
    for (const std::string& error : sources.errors) {
        progress.Message(error);
    }

    // The largest files first, so that no worker is left with a big one at the end.
    std::vector<size_t> order(sources.files.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return sources.files[a].size > sources.files[b].size;
    });
    const ResultWriter writer(options, console, std::move(sources.identities));
    // Only what the end needs is kept of each file: a large tree holds many.
    std::vector<char> changed(sources.files.size(), 0);
    std::atomic<std::uintmax_t> failed{0}, bytesIn{0}, bytesOut{0}, done{0};
    const InterruptWatch interrupt;
    const unsigned workersAsked = static_cast<unsigned>(
        std::min<size_t>(WorkerCount(options), std::max<size_t>(order.size(), 1)));
    const unsigned workers = RunInParallel(order.size(), workersAsked, [&](size_t i) {
        if (interrupt.Requested()) {
            return;
        }
        const FileOutcome outcome = ProcessFile(sources.files[order[i]], options, writer);
        if (!outcome.error.empty()) {
            progress.Message(outcome.error);
            ++failed;
        } else {
            bytesIn += outcome.bytesIn;
            bytesOut += outcome.bytesOut;
        }
        changed[order[i]] = outcome.changed;
        progress.FileDone(outcome.bytesIn);
        ++done;
    });
    progress.Stop();
    if (workers < workersAsked) {
        console.WriteText(Stream::Err, "orvandel-cli: the system started only " +
                                           std::to_string(workers) + " of " +
                                           std::to_string(workersAsked) + " worker threads\n");
    }
    if (interrupt.Requested()) {
        console.WriteText(Stream::Err, "orvandel-cli: interrupted after " + std::to_string(done) +
                                           " of " + std::to_string(order.size()) + " files\n");
        return kExitInterrupted;
    }

    totals.errors = sources.errors.size() + failed;
    totals.bytesIn = bytesIn;
    totals.bytesOut = bytesOut;
    for (size_t i = 0; i < changed.size(); ++i) {
        if (changed[i]) {
            ++totals.changed;
            console.WriteText(Stream::Out, ListedName(Utf8Of(sources.files[i].shown)) + "\n");
        }
    }
    totals.seconds = progress.Seconds();
    // Where the result itself is on standard output, a log of standard error gets only errors.
    if (!options.quiet && (!options.ToStandardOutput() || console.IsTerminal(Stream::Err))) {
        console.WriteText(Stream::Err, SummaryLine(totals, options.check));
    }
    if (totals.errors > 0) {
        return kExitSomeFailed;
    }
    return totals.changed > 0 ? kExitChangesFound : kExitDone;
}

}  // namespace

// What no file's own handling caught (memory running out for a message, say) ends the run with
// a message; every worker has stopped by then, and no temporary file is left behind.
int RunCli(const std::vector<NativeString>& arguments, Console& console) {
    try {
        return Run(arguments, console);
    } catch (const std::exception& error) {
        console.WriteText(Stream::Err, std::string("orvandel-cli: ") + error.what() + "\n");
        return kExitSomeFailed;
    }
}
