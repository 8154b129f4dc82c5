#include "processing/source_chars.h"

namespace source_chars {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(c | 0x20);
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

}  // namespace

SourceChars::Char SourceChars::Escape(size_t k) {
    // Count the backslashes just before this one, back to the last one whose answer is known.
    bool eligible = true;
    if (k == lastBackslash_) {
        eligible = lastBackslashEligible_;
    } else {
        for (size_t p = k; p > 0 && text_[p - 1] == '\\'; --p) {
            if (p - 1 == lastBackslash_) {
                eligible = lastBackslashEligible_ == ((k - lastBackslash_) % 2 == 0);
                break;
            }
            eligible = !eligible;
        }
    }
    lastBackslash_ = k;
    lastBackslashEligible_ = eligible;
    size_t digits = k + 1;
    while (eligible && digits < text_.size() && text_[digits] == 'u') {
        ++digits;
    }
    if (digits == k + 1 || digits + 4 > text_.size()) {
        return {'\\', k + 1};
    }
    unsigned value = 0;
    for (size_t d = digits; d < digits + 4; ++d) {
        const int v = HexValue(text_[d]);
        if (v < 0) {
            return {'\\', k + 1};
        }
        value = value * 16 + static_cast<unsigned>(v);
    }
    return {value < 0x80 ? static_cast<char>(value) : '\x80', digits + 4};
}

}  // namespace source_chars
