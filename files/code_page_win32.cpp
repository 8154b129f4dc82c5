#include "files/code_page.h"

#include <windows.h>

#include <algorithm>

#include "files/utf8.h"

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Appends the decoding of `bytes`; false (nothing appended) when they hold an invalid sequence.
bool TryDecode(UINT codePage, std::string_view bytes, DisplayText& out) {
    if (bytes.empty()) {
        return true;
    }
    const int size = static_cast<int>(bytes.size());
    const int needed =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (needed <= 0) {
        return false;
    }
    const size_t used = out.size();
    out.resize(used + static_cast<size_t>(needed));
    // char16_t and wchar_t are the same UTF-16 unit on Windows.
    MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size,
                        reinterpret_cast<wchar_t*>(out.data() + used), needed);
    return true;
}

// Character by character, for a stretch that does not decode as a whole.
void DecodeLossy(UINT codePage, std::string_view bytes, DisplayText& out) {
    for (size_t i = 0; i < bytes.size();) {
        const bool lead = IsDBCSLeadByteEx(codePage, static_cast<BYTE>(bytes[i]));
        const size_t length = lead && i + 1 < bytes.size() ? 2 : 1;
        if (TryDecode(codePage, bytes.substr(i, length), out)) {
            i += length;
        } else {
            out.push_back(kReplacement);
            ++i;
        }
    }
}

// Lines bound the lossy fallback, so one bad byte does not slow down a whole large file.
void DecodeByLines(UINT codePage, std::string_view bytes, DisplayText& out) {
    while (!bytes.empty()) {
        const size_t end = std::min(bytes.find('\n'), bytes.size() - 1) + 1;
        const std::string_view line = bytes.substr(0, end);
        if (!TryDecode(codePage, line, out)) {
            DecodeLossy(codePage, line, out);
        }
        bytes.remove_prefix(end);
    }
}

}  // namespace

void DecodeForDisplay(std::string_view bytes, DisplayText& text) {
    const UINT codePage = GetACP();
    if (codePage == CP_UTF8) {
        DecodeUtf8Lossy(bytes, text);
        return;
    }
    constexpr size_t kPiece = 1 << 24;  // MultiByteToWideChar takes an int length
    text.clear();
    text.reserve(bytes.size());
    for (size_t done = 0; done < bytes.size();) {
        // Pieces end after an LF, so that no character is split between two of them.
        size_t end = std::min(done + kPiece, bytes.size());
        if (end < bytes.size()) {
            const size_t lf = bytes.rfind('\n', end - 1);
            end = lf != std::string_view::npos && lf >= done ? lf + 1 : end;
        }
        const std::string_view piece = bytes.substr(done, end - done);
        if (!TryDecode(codePage, piece, text)) {
            DecodeByLines(codePage, piece, text);
        }
        done = end;
    }
    std::replace(text.begin(), text.end(), u'\0', kReplacement);
}
