#include "exhibit/text_decoding.h"

#include "files/utf8.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool DecodeUtf16(std::string_view bytes, bool bigEndian, std::string& utf8) {
    if (bytes.size() % 2 != 0) {
        return false;
    }
    const auto unit = [&](size_t i) {
        const auto high = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
        const auto low = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
        return static_cast<char32_t>(high << 8 | low);
    };
    utf8.clear();
    utf8.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t next = unit(i + 2);
            if (next >= 0xDC00 && next <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (next - 0xDC00);
                i += 2;
            }
        }
        if (c == 0 || (c >= 0xD800 && c <= 0xDFFF)) {
            return false;
        }
        AppendUtf8(c, utf8);
    }
    return true;
}

}  // namespace

void AppendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char32_t NextCodePoint(std::string_view text, size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i++]);
    if (lead < 0x80) {
        return lead;
    }
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : 1;
    char32_t c = lead & (0x3F >> extra);
    for (int k = 0; k < extra && i < text.size(); ++k) {
        c = c << 6 | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    return c;
}

bool IsUtf8(std::string_view bytes) {
    return bytes.find('\0') == std::string_view::npos && IsWellFormedUtf8(bytes);
}

bool DecodeSourceText(std::string_view bytes, const std::string& encoding, std::string& utf8) {
    if (bytes.starts_with(kUtf8Bom)) {
        bytes.remove_prefix(kUtf8Bom.size());
        if (!IsUtf8(bytes)) {
            return false;
        }
        utf8.assign(bytes);
        return true;
    }
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return DecodeUtf16(bytes.substr(2), bytes[0] == '\xFE', utf8);
    }
    if (IsUtf8(bytes)) {
        utf8.assign(bytes);
        return true;
    }
    return DecodeCodePage(bytes, encoding, utf8);
}
