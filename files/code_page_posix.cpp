#include "files/code_page.h"

#include "files/utf8.h"

// POSIX file contents are UTF-8.
WideText DecodeForDisplay(std::string_view bytes) {
    return DecodeUtf8Lossy(bytes);
}
