// Code pages through iconv. The system's own code page on POSIX is UTF-8, which the portable half
// has tried already, so without a named encoding nothing more decodes.
#include <errno.h>
#include <iconv.h>

#include "exhibit/text_decoding.h"

bool DecodeCodePage(std::string_view bytes, const std::string& encoding, std::string& utf8) {
    if (encoding.empty()) {
        return false;
    }
    const iconv_t converter = iconv_open("UTF-8", encoding.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    utf8.resize(bytes.size() * 4 + 4);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* out = utf8.data();
    size_t outLeft = utf8.size();
    const size_t converted = iconv(converter, &in, &inLeft, &out, &outLeft);
    iconv_close(converter);
    if (converted == static_cast<size_t>(-1) || inLeft != 0) {
        return false;
    }
    utf8.resize(utf8.size() - outLeft);
    return utf8.find('\0') == std::string::npos;
}
