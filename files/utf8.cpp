#include "files/utf8.h"

#include <algorithm>

#include "files/byte_scan.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

char16_t* StoreCodePoint(char16_t* next, char32_t cp) {
    if (cp > 0xFFFF) {
        cp -= 0x10000;
        *next++ = static_cast<char16_t>(0xD800 + (cp >> 10));
        *next++ = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        return next;
    }
    *next++ = static_cast<char16_t>(cp);
    return next;
}

// Length of the well-formed sequence at `s` (1 to 4), or 0 when it is ill-formed.
size_t SequenceLength(std::string_view s, char32_t& cp) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    size_t length;
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, cp = lead & 0x07;
    } else {
        return 0;
    }
    if (s.size() < length) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (byte(i) & 0x3F);
    }
    const bool surrogate = cp >= 0xD800 && cp <= 0xDFFF;
    return cp < minimum || cp > 0x10FFFF || surrogate ? 0 : length;
}

// Widens through a small buffer that stays in the cache, so the output is written only once.
class WideWriter {
  public:
    explicit WideWriter(DisplayText& out) : out_(out) {}
    ~WideWriter() { Flush(); }
    void Put(char32_t cp) {
        if (used_ + 2 > kSize) {
            Flush();
        }
        used_ = static_cast<size_t>(StoreCodePoint(buffer_ + used_, cp) - buffer_);
    }
    void PutAscii(std::string_view ascii) {
        while (!ascii.empty()) {
            if (used_ == kSize) {
                Flush();
            }
            const size_t n = std::min(ascii.size(), kSize - used_);
            for (size_t k = 0; k < n; ++k) {
                buffer_[used_ + k] = static_cast<char16_t>(ascii[k]);
            }
            used_ += n;
            ascii.remove_prefix(n);
        }
    }
    void Flush() {
        out_.append(buffer_, used_);
        used_ = 0;
    }

  private:
    static constexpr size_t kSize = 4096;
    DisplayText& out_;
    char16_t buffer_[kSize];
    size_t used_ = 0;
};

}  // namespace

void DecodeUtf8Lossy(std::string_view bytes, DisplayText& out) {
    out.clear();
    out.reserve(bytes.size());  // each byte gives at most one character (or half a pair)
    WideWriter writer(out);
    size_t i = 0;
    while (i < bytes.size()) {
        // Runs of ASCII, the bulk of any source file, are widened without further checks.
        const size_t run = byte_scan::PlainAsciiRun(bytes.substr(i));
        writer.PutAscii(bytes.substr(i, run));
        i += run;
        if (i == bytes.size()) {
            break;
        }
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        char32_t cp = 0;
        const size_t length = c == 0 ? 0 : SequenceLength(bytes.substr(i), cp);
        writer.Put(length == 0 ? kReplacement : cp);
        i += length == 0 ? 1 : length;
    }
}

bool DecodeUtf8Strict(std::string_view bytes, std::wstring& out) {
    out.clear();
    for (size_t i = 0; i < bytes.size();) {
        char32_t cp = static_cast<unsigned char>(bytes[i]);
        const size_t length = cp < 0x80 ? 1 : SequenceLength(bytes.substr(i), cp);
        if (length == 0) {
            return false;
        }
        if (sizeof(wchar_t) == 2 && cp > 0xFFFF) {
            char16_t pair[2];
            StoreCodePoint(pair, cp);
            out.append({static_cast<wchar_t>(pair[0]), static_cast<wchar_t>(pair[1])});
        } else {
            out.push_back(static_cast<wchar_t>(cp));
        }
        i += length;
    }
    return true;
}

bool IsWellFormedUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        i += byte_scan::PlainAsciiRun(bytes.substr(i));
        if (i == bytes.size()) {
            break;
        }
        char32_t cp = 0;
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        const size_t length = c < 0x80 ? 1 : SequenceLength(bytes.substr(i), cp);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

DisplayText ToDisplayText(std::wstring_view text) {
    if constexpr (sizeof(wchar_t) == 2) {
        return DisplayText(text.begin(), text.end());
    }
    DisplayText out(text.size() * 2, u'\0');
    char16_t* next = out.data();
    for (const wchar_t c : text) {
        const auto cp = static_cast<char32_t>(c);
        next = StoreCodePoint(next, cp <= 0x10FFFF ? cp : kReplacement);
    }
    out.resize(static_cast<size_t>(next - out.data()));
    return out;
}

std::string EncodeUtf8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = static_cast<char32_t>(text[i]);
        if (cp >= 0xD800 && cp <= 0xDFFF) {
            // A pair where `wchar_t` is UTF-16; a surrogate on its own encodes no character.
            const char32_t low = i + 1 < text.size() ? static_cast<char32_t>(text[i + 1]) : 0;
            if (sizeof(wchar_t) == 2 && cp <= 0xDBFF && low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            } else {
                cp = 0xFFFD;
            }
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}
