// orvandel-strip-check: runs orvandel-cli's passes over files for the corpus checks
// (scripts/corpus-check) and writes each result beside the others.
//
//   orvandel-strip-check [--plain] [--keep-header] [--in-two] [--lang NAME] OUTPUT_FOLDER FILE...
//
// The result for the n-th FILE (counting from 0) is OUTPUT_FOLDER/n, exactly as orvandel-cli
// writes it with the same options: the language is NAME, or follows each file's name or `#!`
// line; the passes are the literal-aware ones unless --plain is given; line ends are the source's.
// With --in-two every file is also stripped cut in two near its middle, as orvandel-cli strips a
// large C, C++ or Java file on two processors, and must give the same result.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "cli/file_job.h"
#include "processing/languages/language_table.h"

int main(int argc, char** argv) {
    CliOptions options;
    options.literals = true;
    options.jobs = 1;  // one piece
    bool inTwo = false;
    int arg = 1;
    for (; arg < argc && std::string(argv[arg]).starts_with("--"); ++arg) {
        const std::string flag = argv[arg];
        if (flag == "--plain") {
            options.literals = false;
        } else if (flag == "--keep-header") {
            options.keepHeader = true;
        } else if (flag == "--in-two") {
            inTwo = true;
        } else if (flag == "--lang" && arg + 1 < argc && LanguageNamed(argv[arg + 1])) {
            options.language = argv[++arg];
        } else {
            std::fprintf(stderr, "unknown option or language %s\n", argv[arg]);
            return 2;
        }
    }
    if (arg >= argc) {
        std::fprintf(stderr,
                     "usage: %s [--plain] [--keep-header] [--in-two] [--lang NAME] OUTPUT_FOLDER "
                     "FILE...\n",
                     argv[0]);
        return 2;
    }
    const std::string folder = argv[arg++];
    for (int index = 0; arg < argc; ++arg, ++index) {
        const std::string name = argv[arg];
        std::ifstream in(name, std::ios::binary);
        AnsiText text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            std::fprintf(stderr, "cannot read %s\n", name.c_str());
            return 1;
        }
        const Path path(name.begin(), name.end());
        AnsiText inTwoParts = inTwo ? text : AnsiText();
        const std::string_view lineEnd = StripSource(text, path, options);
        if (inTwo) {
            CliOptions cut = options;
            cut.jobs = 2;
            cut.splitFrom = 0;
            StripSource(inTwoParts, path, cut);
            if (inTwoParts != text) {
                std::fprintf(stderr, "%s: cut in two, the result differs\n", name.c_str());
                return 1;
            }
        }
        std::ofstream out(folder + "/" + std::to_string(index), std::ios::binary);
        out << text << lineEnd;
        if (!out) {
            std::fprintf(stderr, "cannot write the result for %s\n", name.c_str());
            return 1;
        }
    }
    return 0;
}
