#include "cli/exhibit_command.h"

#include <charconv>
#include <string_view>

#include "cli/cli_run.h"
#include "exhibit/exhibit_run.h"

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kUsage =
    "usage: orvandel-cli exhibit --name NAME --version VERSION [options] PATH...\n"
    "Makes the source exhibit of a software copyright application: the program's sources,\n"
    "comments and blank lines removed, as numbered pages (all of them up to 60, otherwise the\n"
    "first 30 and the last 30), a PDF with a summary beside it (the PDF's name, .txt).\n"
    "  --name NAME, --version VERSION   the software as on the form (both needed)\n"
    "  -o FILE              the PDF (default: NAME.pdf)\n"
    "  --docx FILE          also a Word document with the same pages\n"
    "  --lines-per-page N   rows on every page, 50 or more (default 50)\n"
    "  --page-format TEXT   the page number, X the page, Y the pages (default \"第 X 页\")\n"
    "  --line-numbers       number the program's lines\n"
    "  --footer TEXT        a line at the foot of every page\n"
    "  --first FILE         the file shown first (default: the program's entry)\n"
    "  --ext LIST           only these file types, e.g. c,h,java (default: every known one)\n"
    "  --exclude PATTERN    leave out what the .gitignore pattern matches (repeatable)\n"
    "  --include-tests      take test files and folders too\n"
    "  --encoding NAME      of sources that are not UTF-8 or UTF-16, e.g. GBK\n"
    "Exit status: 0 done, 2 failed, 64 bad usage.\n";

// The option's value, in UTF-8 for text and as it is for paths.
struct Reader {
    const std::vector<NativeString>& arguments;
    size_t next = 0;
    std::string error = {};

    bool Value(const std::string& option, NativeString& value) {
        if (next >= arguments.size()) {
            error = option + " needs a value";
            return false;
        }
        value = arguments[next++];
        return true;
    }
};

std::string ParseExhibitArguments(const std::vector<NativeString>& arguments,
                                  ExhibitOptions& options, bool& help) {
    Reader reader{arguments};
    NativeString value;
    while (reader.next < arguments.size()) {
        const NativeString& argument = arguments[reader.next++];
        const std::string option = Utf8Of(argument);
        if (option == "--help" || option == "-h") {
            help = true;
        } else if (option == "--line-numbers") {
            options.lineNumbers = true;
        } else if (option == "--include-tests") {
            options.includeTests = true;
        } else if (option.starts_with("-") && option != "-") {
            if (!reader.Value(option, value)) {
                return reader.error;
            }
            const std::string text = Utf8Of(value);
            if (option == "--name") {
                options.name = text;
            } else if (option == "--version") {
                options.version = text;
            } else if (option == "-o" || option == "--out") {
                options.pdf = value;
            } else if (option == "--docx") {
                options.docx = value;
            } else if (option == "--lines-per-page") {
                const auto [end, failed] =
                    std::from_chars(text.data(), text.data() + text.size(), options.linesPerPage);
                if (failed != std::errc() || end != text.data() + text.size() ||
                    options.linesPerPage < kMinimumLinesPerPage) {
                    return "--lines-per-page takes a number of 50 or more";
                }
            } else if (option == "--page-format") {
                options.pageFormat = text;
            } else if (option == "--footer") {
                options.footer = text;
            } else if (option == "--first") {
                options.first = value;
            } else if (option == "--ext") {
                options.extensions = ExtensionList(text);
            } else if (option == "--exclude") {
                options.excludes.push_back(text);
            } else if (option == "--encoding") {
                options.encoding = text;
            } else {
                return "unknown option " + option;
            }
        } else {
            options.roots.emplace_back(argument);
        }
    }
    if (help) {
        return {};
    }
    if (options.name.empty() || options.version.empty()) {
        return "--name and --version are both needed, exactly as on the application form";
    }
    if (options.roots.empty()) {
        return "no project folder given";
    }
    if (options.pdf.empty()) {
        options.pdf = fs::u8path(FileNameFor(options.name) + ".pdf");
    }
    return {};
}

}  // namespace

int RunExhibitCommand(const std::vector<NativeString>& arguments, Console& console) {
    ExhibitOptions options;
    bool help = false;
    if (const std::string error = ParseExhibitArguments(arguments, options, help); !error.empty()) {
        console.WriteText(Stream::Err, "orvandel-cli exhibit: " + error + "\n");
        console.WriteText(Stream::Err, kUsage);
        return kExitBadUsage;
    }
    if (help) {
        console.WriteText(Stream::Out, kUsage);
        return kExitDone;
    }
    const ExhibitOutcome outcome = MakeExhibit(options);
    for (const std::string& warning : outcome.warnings) {
        console.WriteText(Stream::Err, "orvandel-cli exhibit: warning: " + warning + "\n");
    }
    if (!outcome.error.empty()) {
        console.WriteText(Stream::Err, "orvandel-cli exhibit: " + outcome.error + "\n");
        return kExitSomeFailed;
    }
    std::string made;
    for (const fs::path& path : outcome.written) {
        const std::u8string shown = path.u8string();
        made += "  " + std::string(shown.begin(), shown.end()) + "\n";
    }
    console.WriteText(Stream::Out, std::to_string(outcome.files) + " files, " +
                                       std::to_string(outcome.lines) + " lines, " +
                                       std::to_string(outcome.programPages) +
                                       " pages; the exhibit has " + std::to_string(outcome.pages) +
                                       " pages:\n" + made);
    return kExitDone;
}
