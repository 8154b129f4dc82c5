// Throughput of the lexers whose comments are not only `//` and `/* */`, and of the passes they
// read, over the real code of each language this machine holds (what Debian installs): each file
// is lexed on its own, as the run does, and the figure is bytes of source a second.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "processing/comment_passes.h"
#include "processing/languages/language_table.h"
#include "processing/languages/lexers.h"

namespace fs = std::filesystem;

namespace {

// At most this much source is read for a language.
constexpr size_t kCorpusLimit = 48 << 20;

struct Corpus {
    std::vector<const char*> roots;
    std::vector<const char*> extensions;  // empty: any file whose first line is `#!…sh`
};

bool HasExtension(const fs::path& path, const Corpus& corpus) {
    for (const char* extension : corpus.extensions) {
        if (path.extension() == extension) {
            return true;
        }
    }
    return false;
}

bool IsShellScript(const std::string& text) {
    const std::string first = text.substr(0, text.find('\n'));
    return first.starts_with("#!") && (first.ends_with("/sh") || first.ends_with("bash"));
}

std::vector<std::string> Load(const Corpus& corpus) {
    std::vector<std::string> files;
    size_t total = 0;
    for (const char* root : corpus.roots) {
        std::error_code error;
        for (fs::recursive_directory_iterator it(root, error), end; it != end && !error;
             it.increment(error)) {
            if (total >= kCorpusLimit || !it->is_regular_file(error) || it->is_symlink(error)) {
                continue;
            }
            const bool byName = !corpus.extensions.empty();
            if (byName && !HasExtension(it->path(), corpus)) {
                continue;
            }
            std::ifstream in(it->path(), std::ios::binary);
            std::string text((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
            if (byName || IsShellScript(text)) {
                total += text.size();
                files.push_back(std::move(text));
            }
        }
    }
    return files;
}

// Each corpus is read once: a benchmark's function runs several times, and reading the shell
// scripts means looking at every file under /usr and /etc.
const std::vector<std::string>& Loaded(const Corpus& corpus) {
    static std::map<const Corpus*, std::vector<std::string>> loaded;
    auto found = loaded.find(&corpus);
    if (found == loaded.end()) {
        found = loaded.emplace(&corpus, Load(corpus)).first;
    }
    return found->second;
}

void Lex(benchmark::State& state, CommentLexer lexer, const Corpus& corpus) {
    const std::vector<std::string>& files = Loaded(corpus);
    size_t bytes = 0;
    for (const std::string& file : files) {
        bytes += file.size();
    }
    CommentSpans spans;
    for (auto _ : state) {
        for (const std::string& file : files) {
            spans.clear();
            lexer(file, spans);
            benchmark::DoNotOptimize(spans.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["files"] = static_cast<double>(files.size());
    state.counters["input_MB"] = static_cast<double>(bytes) / (1 << 20);
}

// One pass over every file, each on a fresh copy (the copy is timed too, a few percent of the
// pass); the `/* */` pass sees what the `//` pass left and is counted on the source.
void Pass(benchmark::State& state, const char* language, const Corpus& corpus, bool blockPass) {
    StripOptions options;
    options.literals = true;
    UseLanguage(*LanguageNamed(language), options);
    std::vector<std::string> inputs = Loaded(corpus);
    size_t bytes = 0;
    for (std::string& input : inputs) {
        bytes += input.size();
        if (blockPass) {
            StripLineCommentsInPlace(input, options);
        }
    }
    AnsiText text;
    for (auto _ : state) {
        for (const std::string& input : inputs) {
            text.assign(input);
            if (blockPass) {
                StripBlockCommentsInPlace(text, options);
            } else {
                StripLineCommentsInPlace(text, options);
            }
            benchmark::DoNotOptimize(text.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

const Corpus kPython{{"/usr/lib/python3.11", "/usr/lib/python3/dist-packages"}, {".py"}};
const Corpus kShell{{"/usr/bin", "/usr/sbin", "/usr/lib", "/usr/share", "/etc"}, {}};
const Corpus kSql{{"/usr/share", "/usr/lib"}, {".sql"}};
const Corpus kHtml{{"/usr/share"}, {".html", ".htm"}};
const Corpus kXml{{"/usr/share"}, {".xml", ".svg"}};
const Corpus kPhp{{"/usr/share/php"}, {".php"}};

BENCHMARK_CAPTURE(Lex, python, LexPython, kPython)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Lex, shell, LexShell, kShell)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Lex, sql, LexSql, kSql)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Lex, html, LexHtml, kHtml)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Lex, xml, LexXml, kXml)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Lex, php, LexPhp, kPhp)->Unit(benchmark::kMillisecond);

BENCHMARK_CAPTURE(Pass, line_python, "python", kPython, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Pass, block_python, "python", kPython, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Pass, line_shell, "shell", kShell, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Pass, block_shell, "shell", kShell, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Pass, line_sql, "sql", kSql, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Pass, block_sql, "sql", kSql, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Pass, line_html, "html", kHtml, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Pass, block_html, "html", kHtml, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Pass, line_xml, "xml", kXml, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Pass, block_xml, "xml", kXml, true)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Pass, line_php, "php", kPhp, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Pass, block_php, "php", kPhp, true)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
