#include "processing/literal_scan.h"

#include "files/byte_scan.h"

namespace literal_scan {

namespace {

bool IsExponent(char c) {
    return c == 'e' || c == 'E' || c == 'p' || c == 'P';
}

// Start of the run of bytes before `end` that a number could hold, not before `from`.
size_t NumberRunStart(std::string_view text, size_t from, size_t end) {
    size_t r = end;
    while (r > from) {
        const char c = text[r - 1];
        if (IsNameByte(c) || c == '.') {
            --r;
        } else if ((c == '+' || c == '-') && r - 1 > from && IsExponent(text[r - 2])) {
            r -= 2;
        } else {
            break;
        }
    }
    return r;
}

// Multi-character operators; a space stays between two parts of one of them.
constexpr std::string_view kCOperators[] = {
    "->", "++", "--", "<<", ">>", "<=",  ">=",  "==",  "!=",  "&&",  "||",
    "+=", "-=", "*=", "/=", "%=", "&=",  "|=",  "^=",  "##",  "::",  ".*",
    "<:", ":>", "<%", "%>", "%:", "<<=", ">>=", "...", "->*", "<=>", "%:%:"};
constexpr std::string_view kJavaOperators[] = {
    "->", "++", "--", "<<", ">>", "<=", ">=", "==",  "!=",  "&&",  "||",   "+=", "-=",
    "*=", "/=", "%=", "&=", "|=", "^=", "::", "<<=", ">>=", ">>>", ">>>=", "..."};

bool SplitsOperator(std::string_view left, std::string_view right, SourceLanguage language) {
    const auto splits = [&](std::string_view op) {
        for (size_t cut = 1; cut < op.size(); ++cut) {
            if (left.ends_with(op.substr(0, cut)) && right.starts_with(op.substr(cut))) {
                return true;
            }
        }
        return false;
    };
    if (language == SourceLanguage::Java) {
        for (std::string_view op : kJavaOperators) {
            if (splits(op)) {
                return true;
            }
        }
        return false;
    }
    for (std::string_view op : kCOperators) {
        if (splits(op)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool NumberEndsAt(std::string_view text, size_t from, size_t end, size_t numberGoesOnAt) {
    const size_t start = NumberRunStart(text, from, end);
    if (start == end) {
        return false;
    }
    if (start == numberGoesOnAt) {
        return true;
    }
    // A number takes in every byte of the run after its start; a name ends at '.' or a sign.
    for (size_t k = start; k < end;) {
        if (IsDigit(text[k]) || (text[k] == '.' && k + 1 < end && IsDigit(text[k + 1]))) {
            return true;
        }
        if (IsNameByte(text[k])) {
            while (k < end && IsNameByte(text[k])) {
                ++k;
            }
        } else {
            ++k;
        }
    }
    return false;
}

Prefix PrefixEndsAt(std::string_view text, size_t from, size_t end, size_t numberGoesOnAt) {
    size_t start = end;
    while (start > from && IsNameByte(text[start - 1])) {
        --start;
    }
    const std::string_view name = text.substr(start, end - start);
    if (name.empty() || name.size() > 3 || NumberEndsAt(text, from, end, numberGoesOnAt)) {
        return Prefix::None;
    }
    if (name == "u" || name == "U" || name == "L" || name == "u8") {
        return Prefix::Encoding;
    }
    if (name == "R" || name == "LR" || name == "uR" || name == "UR" || name == "u8R") {
        return Prefix::Raw;
    }
    return Prefix::None;
}

size_t RawDelimiterLength(std::string_view text, size_t quote) {
    // Letters, digits and the punctuation of the basic character set but for the parentheses and
    // the backslash, as the compiler takes them.
    static constexpr std::string_view kPunctuation = "_.{}[]#<>%:;?*+-/^&|~!=,\"'";
    for (size_t k = quote + 1; k < text.size() && k <= quote + 17; ++k) {
        const char c = text[k];
        if (c == '(') {
            return k - quote - 1;
        }
        const bool letterOrDigit =
            IsNameByte(c) && static_cast<unsigned char>(c) < 0x80 && c != '$';
        if (!letterOrDigit && kPunctuation.find(c) == std::string_view::npos) {
            return std::string_view::npos;
        }
    }
    return std::string_view::npos;
}

size_t LineCommentEnd(std::string_view text, source_chars::SourceChars& chars, size_t from,
                      SourceLanguage language) {
    if (language == SourceLanguage::Java) {
        for (size_t k = from;; k = chars.At(k).end) {
            k = byte_scan::FindFirstOf<'\\', '\r', '\n'>(text, k);
            if (k >= text.size() || IsLineEnd(text[k]) || IsLineEnd(chars.At(k).c)) {
                return k;
            }
        }
    }
    size_t lineStart = from;
    size_t end = byte_scan::FindEither(text, from, '\r', '\n');
    while (end < text.size() && source_chars::EndsInSplice(text, lineStart, end)) {
        lineStart = end + source_chars::LineEndLength(text, end);
        end = byte_scan::FindEither(text, lineStart, '\r', '\n');
    }
    return end;
}

size_t BlockCommentEnd(std::string_view text, source_chars::SourceChars& chars, size_t from,
                       SourceLanguage language) {
    for (size_t k = from; k < text.size();) {
        k = language == SourceLanguage::Java ? byte_scan::FindFirstOf<'*', '\\'>(text, k)
                                             : byte_scan::FindFirstOf<'*'>(text, k);
        if (k >= text.size()) {
            break;
        }
        const auto star = chars.At(k);
        if (star.c == '*' && !chars.AtEnd(star.end)) {
            const auto slash = chars.At(star.end);
            if (slash.c == '/') {
                return slash.end;
            }
        }
        k = star.end;
    }
    return text.size();
}

bool WouldGlue(std::string_view left, LeftToken token, std::string_view right,
               SourceLanguage language) {
    if (left.empty() || right.empty()) {
        return false;
    }
    const char l = left.back();
    const char r = right[0];
    const bool cFamily = language == SourceLanguage::CFamily;
    if (IsNameByte(l) && IsNameByte(r)) {
        return true;
    }
    if (l == '.' && IsDigit(r)) {
        return true;
    }
    if (token.number) {
        // 1 .5, 1. x, 1e +5, and 1 '0' would become one number.
        if (r == '.' || IsNameByte(r) || ((r == '+' || r == '-') && IsExponent(l))) {
            return true;
        }
        if (cFamily && r == '\'' && right.size() > 1 && IsNameByte(right[1])) {
            return true;
        }
    }
    if (cFamily) {
        // \ u0041 would become a universal character name.
        if (l == '\\' && (r == 'u' || r == 'U' || r == 'N')) {
            return true;
        }
        // u8 "x" would become one literal, and "x" suffix a user-defined literal.
        if (token.prefix != Prefix::None &&
            (r == '"' || (r == '\'' && token.prefix == Prefix::Encoding))) {
            return true;
        }
        if ((l == '"' || l == '\'') && IsNameByte(r) && !IsDigit(r)) {
            return true;
        }
    }
    return SplitsOperator(left.substr(left.size() > 3 ? left.size() - 3 : 0), right.substr(0, 3),
                          language);
}

}  // namespace literal_scan
