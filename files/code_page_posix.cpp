#include "files/code_page.h"

#include "files/utf8.h"

// POSIX file contents are UTF-8.
void DecodeForDisplay(std::string_view bytes, DisplayText& shown) {
    DecodeUtf8Lossy(bytes, shown);
}
