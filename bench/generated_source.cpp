#include "bench/generated_source.h"

#include <random>

namespace {

const char* const kCode[] = {
    "    int count = static_cast<int>(items.size());",
    "    for (size_t i = 0; i < buffer.size(); ++i) {",
    "        total += buffer[i] * weights[i % weights.size()];",
    "    }",
    "    if (result.empty() && !options.quiet) {",
    "        std::cerr << \"nothing to do for \" << name << '\\n';",
    "    return std::make_unique<Parser>(tokens, diagnostics);",
    "class TokenStream : public Stream<Token> {",
    "public:",
    "    explicit TokenStream(std::string_view text) : text_(text) {}",
    "};",
    "#include <vector>",
    "namespace compiler::frontend {",
    "    const auto it = std::find_if(begin, end, [&](const Node& n) { return n.id == id; });",
    "    value = (value << 5) ^ (value >> 27) ^ static_cast<unsigned char>(c);",
    "template <typename T> T Clamp(T v, T lo, T hi) { return v < lo ? lo : hi < v ? hi : v; }",
};

const char* const kLineComments[] = {
    "// Walk the list once; the caller owns the nodes.",
    "// TODO: merge with the fast path once the cache lands",
    "/// Returns the number of bytes consumed.",
    "//",
};

const char* const kBlockComments[] = {
    "/* fast path */",
    "/* see below */",
    "/*\r\n * Parses one declaration and everything it owns.\r\n * Errors are collected, not "
    "thrown.\r\n */",
    "/** @brief Hash of the token text. */",
};

}  // namespace

std::string GenerateSource(size_t size) {
    std::mt19937 random(20261208);
    std::string text;
    text.reserve(size + 256);
    const auto pick = [&](const auto& list) {
        return list[random() % (sizeof(list) / sizeof(list[0]))];
    };
    while (text.size() < size) {
        const unsigned roll = random() % 100;
        if (roll < 55) {
            text += pick(kCode);
        } else if (roll < 67) {
            text += std::string(4 * (random() % 3), ' ') + pick(kLineComments);
        } else if (roll < 77) {
            text += pick(kCode);
            text += "  ";
            text += pick(kLineComments);
        } else if (roll < 83) {
            text += pick(kBlockComments);
        } else if (roll < 90) {
            text += "    call(";
            text += pick(kBlockComments);
            text += " arg);";
        } else {
            text += roll < 95 ? "" : "    ";
        }
        text += "\r\n";
    }
    return text;
}
