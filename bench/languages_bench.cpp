// Throughput of each literal-aware pass for each family of languages read by a lexer, on
// generated text of 16 MiB made of that language's typical lines.
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "processing/comment_passes.h"
#include "processing/languages/language_table.h"

namespace {

struct Family {
    const char* language;
    std::vector<const char*> lines;
};

// Lines of code, comments and literals, in the proportions of ordinary sources; each family also
// has the constructs its lexer works hardest on.
const std::vector<const char*> kCommon = {
    "    // a comment on its own line, as most of them are\n",
    "/* a block comment\n   over two lines */\n",
    "\n",
    "    result = compute(first, second) + offset * 2; // after code\n",
    "    if (value > limit) { return value - limit; }\n",
    "    call(\"a string with // and /* inside\", 'c', other);\n",
};

const Family kFamilies[] = {
    {"javascript",
     {"const re = /[/]+\\/\\//g, half = total / 2;\n",
      "const text = `total ${items.map((i) => i.price).join(', ')} // not a comment`;\n",
      "return <div className=\"row\">{/* comment */}text // kept</div>;\n"}},
    {"typescript",
     {"function pick<T extends object>(value: T, keys: Array<keyof T>): Partial<T> {\n",
      "const text = `total ${count / 2} units`;\n"}},
    {"go",
     {"\tquery := `SELECT * FROM t /* raw */ WHERE a = 1`\n", "//go:noinline\n", "\tr := '\"'\n"}},
    {"rust",
     {"    let raw = r#\"a \"raw\" // string\"#;\n", "fn longest<'a>(x: &'a str) -> &'a str {\n",
      "/* outer /* nested */ still comment */\n"}},
    {"c#",
     {"    var path = @\"C:\\dir\\\"\"file\"\"\";\n",
      "    var text = $\"{name} has {count / 2} items // kept\";\n"}},
    {"kotlin",
     {"    val text = \"${user.name} said \\\"hi\\\"\" // comment\n",
      "    val block = \"\"\"\n        raw ${value} text\n    \"\"\"\n"}},
    {"swift",
     {"    let text = \"\\(user.name) said // hi\"\n",
      "    let raw = #\"raw \\(not) \"quoted\" text\"#\n"}},
    {"css",
     {"a.button:hover { background: url(//cdn.example.org/x.png); color: #fff; }\n",
      "@media (max-width: 600px) { .grid { display: block; } }\n"}},
    {"json", {"  \"url\": \"http://example.org/a//b\", \"count\": 12, \"list\": [1, 2, 3],\n"}},
};

std::string Generate(const Family& family, size_t size) {
    std::vector<const char*> lines = kCommon;
    lines.insert(lines.end(), family.lines.begin(), family.lines.end());
    std::mt19937 random(20261208);
    std::string text;
    while (text.size() < size) {
        text += lines[random() % lines.size()];
    }
    return text;
}

// One pass, on a fresh copy of its input made outside the timing; the `/* */` pass sees what the
// `//` pass left, and its throughput is counted on the source, as for the C passes.
void BM_Language(benchmark::State& state, const Family& family, bool blockPass) {
    const std::string source = Generate(family, 16 << 20);
    StripOptions options;
    options.literals = true;
    UseLanguage(*LanguageNamed(family.language), options);
    AnsiText input = source;
    if (blockPass) {
        StripLineCommentsInPlace(input, options);
    }
    AnsiText text;
    for (auto _ : state) {
        state.PauseTiming();
        text.assign(input);
        state.ResumeTiming();
        if (blockPass) {
            StripBlockCommentsInPlace(text, options);
        } else {
            StripLineCommentsInPlace(text, options);
        }
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * source.size()));
}

const bool kRegistered = [] {
    for (const Family& family : kFamilies) {
        for (const bool blockPass : {false, true}) {
            const std::string name =
                std::string(blockPass ? "BM_BlockPass/" : "BM_LinePass/") + family.language;
            benchmark::RegisterBenchmark(name.c_str(), BM_Language, family, blockPass)
                ->Unit(benchmark::kMillisecond);
        }
    }
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
