// orvandel-strip-check: runs the two comment passes over files for the corpus checks
// (scripts/corpus-check) and writes each result beside the others.
//
//   orvandel-strip-check [--plain] [--keep-header] [--lang NAME] OUTPUT_FOLDER FILE...
//
// The result for the n-th FILE (counting from 0) is OUTPUT_FOLDER/n. The language is NAME, or
// follows each file's name (processing/languages/language_table.h); the passes are the
// literal-aware ones unless --plain is given.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "processing/comment_passes.h"
#include "processing/languages/language_table.h"

int main(int argc, char** argv) {
    StripOptions options;
    options.literals = true;
    const Language* forced = nullptr;
    int arg = 1;
    for (; arg < argc && std::string(argv[arg]).starts_with("--"); ++arg) {
        const std::string flag = argv[arg];
        if (flag == "--plain") {
            options.literals = false;
        } else if (flag == "--keep-header") {
            options.keepHeader = true;
        } else if (flag == "--lang" && arg + 1 < argc) {
            forced = LanguageNamed(argv[++arg]);
            if (forced == nullptr) {
                std::fprintf(stderr, "unknown language %s\n", argv[arg]);
                return 2;
            }
        } else {
            std::fprintf(stderr, "unknown option %s\n", argv[arg]);
            return 2;
        }
    }
    if (arg >= argc) {
        std::fprintf(stderr,
                     "usage: %s [--plain] [--keep-header] [--lang NAME] OUTPUT_FOLDER FILE...\n",
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
        StripOptions fileOptions = options;
        if (const Language* language =
                forced ? forced : LanguageOfFile(Path(name.begin(), name.end()), text)) {
            UseLanguage(*language, fileOptions);
        }
        StripLineCommentsInPlace(text, fileOptions);
        StripBlockCommentsInPlace(text, fileOptions);
        std::ofstream(folder + "/" + std::to_string(index), std::ios::binary) << text << "\r\n";
    }
    return 0;
}
