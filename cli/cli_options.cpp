#include "cli/cli_options.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <thread>
#include <type_traits>

#include "processing/languages/language_table.h"

namespace {

constexpr std::string_view kUsage =
    "usage: orvandel-cli [options] PATH...\n"
    "Removes comments and blank lines from sources in the languages --list-languages shows.\n"
    "  PATH                a source file, or a folder walked recursively; - for standard\n"
    "                      input (with --lang), its result to standard output\n"
    "  -o, --out DIR       write each result under DIR, mirroring its path below its PATH\n"
    "  -i, --in-place      replace each source (atomically)\n"
    "                      (with neither, one file's result goes to standard output)\n"
    "  -s, --literals      leave comment markers inside string and character literals alone\n"
    "  -k, --keep-header   keep the file's header comment\n"
    "      --eol crlf|lf|keep   line ends of the result (default keep: the source's first)\n"
    "      --ext LIST      extensions taken from folders (default: every known one;\n"
    "                      tar.gz takes a.tar.gz)\n"
    "      --lang NAME     read every source as language NAME, whatever its name\n"
    "      --list-languages    the languages, their extensions and comment forms\n"
    "      --check         write nothing; list the files that would change; exit 1 if any\n"
    "  -j, --jobs N        files processed in parallel (default: the number of processors)\n"
    "  -q, --quiet         no progress bar, no summary\n"
    "      --version, --help\n"
    "Exit status: 0 done, 1 --check found changes, 2 some files failed, 64 bad usage,\n"
    "130 interrupted (the files begun are finished; no temporary file is left).\n";

NativeString FromAscii(std::string_view ascii) {
    return NativeString(ascii.begin(), ascii.end());
}

bool IsAscii(const NativeString& text) {
    for (const auto c : text) {
        if (static_cast<std::make_unsigned_t<NativeString::value_type>>(c) > 0x7F) {
            return false;
        }
    }
    return true;
}

std::string AsciiOf(const NativeString& text) {
    return IsAscii(text) ? std::string(text.begin(), text.end()) : std::string();
}

// The comma-separated extension list, lower case, with any leading dot dropped.
bool ParseExtensions(const NativeString& list, std::vector<NativeString>& extensions) {
    extensions.clear();
    size_t start = 0;
    for (;;) {
        const size_t comma = list.find(',', start);
        NativeString item = list.substr(start, comma - start);
        if (!item.empty() && item[0] == '.') {
            item.erase(0, 1);
        }
        if (item.empty()) {
            return false;
        }
        for (auto& c : item) {
            if (c >= 'A' && c <= 'Z') {
                c = static_cast<NativeString::value_type>(c - 'A' + 'a');
            }
        }
        extensions.push_back(item);
        if (comma == NativeString::npos) {
            return true;
        }
        start = comma + 1;
    }
}

class Parser {
  public:
    explicit Parser(const std::vector<NativeString>& arguments) : arguments_(arguments) {
        for (const auto extension : KnownExtensions()) {
            parsed_.options.extensions.push_back(FromAscii(extension));
        }
    }

    ParsedArguments Parse() {
        bool optionsEnded = false;
        while (next_ < arguments_.size() && parsed_.error.empty()) {
            const NativeString& argument = arguments_[next_++];
            if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
                parsed_.options.inputs.emplace_back(argument);
            } else if (EqualsAscii(argument, "--")) {
                optionsEnded = true;
            } else {
                Option(argument);
            }
        }
        if (parsed_.error.empty()) {
            Validate();
        }
        return parsed_;
    }

  private:
    // One option, with its value either in the same argument (--eol=lf, -j4) or in the next.
    void Option(const NativeString& argument) {
        const bool isLong = argument[1] == '-';
        const size_t split = isLong ? argument.find('=') : 2;
        const std::string name = AsciiOf(argument.substr(0, split));
        std::optional<NativeString> attached;
        if (split < argument.size()) {
            attached = argument.substr(split + (isLong ? 1 : 0));
        }
        auto& o = parsed_.options;
        const struct {
            const char* shortName;
            const char* longName;
            bool& target;
        } flags[] = {{"-i", "--in-place", o.inPlace},
                     {"-s", "--literals", o.literals},
                     {"-k", "--keep-header", o.keepHeader},
                     {"", "--check", o.check},
                     {"", "--list-languages", o.listLanguages},
                     {"-q", "--quiet", o.quiet},
                     {"-h", "--help", o.help},
                     {"", "--version", o.version}};
        for (const auto& flag : flags) {
            if (name == flag.shortName || name == flag.longName) {
                flag.target = true;
                if (attached && isLong) {
                    Fail("option " + name + " takes no value");
                } else if (attached) {
                    Option(NativeString(1, '-') + *attached);  // -qs is -q -s
                }
                return;
            }
        }
        if (name == "-o" || name == "--out") {
            if (const auto value = Value(name, attached)) {
                o.outFolder = *value;
            }
        } else if (name == "--eol") {
            if (const auto value = Value(name, attached)) {
                LineEndsOption(*value);
            }
        } else if (name == "--ext") {
            if (const auto value = Value(name, attached);
                value && !ParseExtensions(*value, o.extensions)) {
                Fail("--ext needs a comma-separated list of extensions");
            }
        } else if (name == "--lang") {
            if (const auto value = Value(name, attached)) {
                o.language = AsciiOf(*value);
                if (!LanguageNamed(o.language)) {
                    Fail("--lang: no language is called " + Utf8Of(*value) +
                         " (--list-languages shows them)");
                }
            }
        } else if (name == "-j" || name == "--jobs") {
            if (const auto value = Value(name, attached)) {
                JobsOption(*value);
            }
        } else {
            Fail("unknown option " + Utf8Of(argument));
        }
    }

    std::optional<NativeString> Value(const std::string& name,
                                      const std::optional<NativeString>& attached) {
        if (attached && !attached->empty()) {
            return attached;
        }
        if (attached || next_ >= arguments_.size()) {
            Fail("option " + name + " needs a value");
            return std::nullopt;
        }
        return arguments_[next_++];
    }

    void LineEndsOption(const NativeString& value) {
        if (EqualsAscii(value, "crlf")) {
            parsed_.options.lineEnds = LineEnds::CrLf;
        } else if (EqualsAscii(value, "lf")) {
            parsed_.options.lineEnds = LineEnds::Lf;
        } else if (EqualsAscii(value, "keep")) {
            parsed_.options.lineEnds = LineEnds::Keep;
        } else {
            Fail("--eol takes crlf, lf or keep, not " + Utf8Of(value));
        }
    }

    void JobsOption(const NativeString& value) {
        const std::string digits = AsciiOf(value);
        unsigned jobs = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), jobs);
        if (digits.empty() || error != std::errc() || end != digits.data() + digits.size() ||
            jobs < 1 || jobs > 1024) {
            Fail("--jobs takes a number from 1 to 1024, not " + Utf8Of(value));
            return;
        }
        parsed_.options.jobs = jobs;
    }

    void Validate() {
        const auto& o = parsed_.options;
        if (o.help || o.version || o.listLanguages) {
            return;
        }
        if (o.inputs.empty()) {
            Fail("no PATH given");
        } else if (std::count(o.inputs.begin(), o.inputs.end(), std::filesystem::path("-")) > 0 &&
                   !o.FromStandardInput()) {
            Fail("- (standard input) takes no other PATH");
        } else if (o.FromStandardInput() && (o.outFolder || o.inPlace || o.check)) {
            Fail(
                "- writes its result to standard output: --out, --in-place and --check do not "
                "apply");
        } else if (o.FromStandardInput() && o.language.empty()) {
            Fail("- needs --lang: standard input has no name to tell its language");
        } else if (o.outFolder && o.inPlace) {
            Fail("--out and --in-place exclude each other");
        } else if (o.ToStandardOutput() && o.inputs.size() != 1) {
            Fail("without --out or --in-place exactly one file is allowed");
        }
    }

    void Fail(std::string message) {
        if (parsed_.error.empty()) {
            parsed_.error = std::move(message);
        }
    }

    const std::vector<NativeString>& arguments_;
    size_t next_ = 0;
    ParsedArguments parsed_;
};

}  // namespace

bool CliOptions::FromStandardInput() const {
    return inputs.size() == 1 && inputs[0] == std::filesystem::path("-");
}

ParsedArguments ParseArguments(const std::vector<NativeString>& arguments) {
    return Parser(arguments).Parse();
}

std::string_view UsageText() {
    return kUsage;
}

unsigned WorkerCount(const CliOptions& options) {
    if (options.jobs != 0) {
        return options.jobs;
    }
    // Asked once: the count is read from the system (a file on Linux), and every file asks.
    static const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
    return processors;
}

size_t SplitFrom(const CliOptions& options) {
    return WorkerCount(options) > 1 ? options.splitFrom : SIZE_MAX;
}
