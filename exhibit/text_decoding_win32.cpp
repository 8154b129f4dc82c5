// Code pages through MultiByteToWideChar, strict: a byte sequence the code page does not define
// fails rather than turning into a replacement character.
#include <windows.h>

#include <cctype>
#include <charconv>
#include <string_view>

#include "exhibit/text_decoding.h"

namespace {

struct NamedCodePage {
    std::string_view name;
    UINT codePage;
};

constexpr NamedCodePage kCodePages[] = {
    {"gbk", 936},     {"gb2312", 936},  {"cp936", 936},        {"gb18030", 54936},
    {"big5", 950},    {"cp950", 950},   {"shift_jis", 932},    {"sjis", 932},
    {"cp932", 932},   {"euc-kr", 949},  {"cp949", 949},        {"windows-1252", 1252},
    {"cp1252", 1252}, {"latin1", 1252}, {"iso-8859-1", 28591}, {"utf-8", CP_UTF8},
};

// The code page `encoding` names: a name above or a number; 0 when neither.
UINT CodePageOf(const std::string& encoding) {
    if (encoding.empty()) {
        return GetACP();
    }
    std::string lower;
    for (const char c : encoding) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    for (const NamedCodePage& known : kCodePages) {
        if (known.name == lower) {
            return known.codePage;
        }
    }
    UINT number = 0;
    const auto [end, error] = std::from_chars(lower.data(), lower.data() + lower.size(), number);
    return error == std::errc() && end == lower.data() + lower.size() && IsValidCodePage(number)
               ? number
               : 0;
}

}  // namespace

bool DecodeCodePage(std::string_view bytes, const std::string& encoding, std::string& utf8) {
    const UINT codePage = CodePageOf(encoding);
    if (codePage == 0 || bytes.size() > INT_MAX / 2) {
        return false;
    }
    std::wstring wide(bytes.size(), L'\0');
    const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                           static_cast<int>(bytes.size()), wide.data(),
                                           static_cast<int>(wide.size()));
    if (length <= 0) {
        return false;
    }
    wide.resize(static_cast<size_t>(length));
    utf8.clear();
    for (size_t i = 0; i < wide.size(); ++i) {
        char32_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[++i] - 0xDC00);
        }
        if (c == 0) {
            return false;
        }
        AppendUtf8(c, utf8);
    }
    return true;
}
