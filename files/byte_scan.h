// Finding ASCII bytes in text: most bytes of a source are none of the few that the passes and
// readers look for, so with SSE2 (every x86-64 processor has it) sixteen are passed over at once.
#pragma once

#include <algorithm>
#include <bit>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace byte_scan {

// First position in [from, limit) holding `a` or `b`, or `limit`. The bytes of `text` beyond
// `limit` may be read, which spares a short stretch the byte-by-byte tail.
inline size_t FindEither(std::string_view text, size_t from, char a, char b, size_t limit) {
    const char* const data = text.data();
    size_t i = from;
#if defined(__SSE2__)
    const __m128i wantA = _mm_set1_epi8(a);
    const __m128i wantB = _mm_set1_epi8(b);
    for (; i < limit && i + 16 <= text.size(); i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i equal =
            _mm_or_si128(_mm_cmpeq_epi8(block, wantA), _mm_cmpeq_epi8(block, wantB));
        if (const auto found = static_cast<unsigned>(_mm_movemask_epi8(equal))) {
            return std::min(i + static_cast<size_t>(std::countr_zero(found)), limit);
        }
    }
#endif
    for (; i < limit; ++i) {
        if (data[i] == a || data[i] == b) {
            return i;
        }
    }
    return limit;
}

// First position at or after `from` holding one of `Bytes`, or the text's size.
template <char... Bytes>
inline size_t FindFirstOf(std::string_view text, size_t from) {
    const char* const data = text.data();
    size_t i = from;
#if defined(__SSE2__)
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        __m128i equal = _mm_setzero_si128();
        ((equal = _mm_or_si128(equal, _mm_cmpeq_epi8(block, _mm_set1_epi8(Bytes)))), ...);
        if (const auto found = static_cast<unsigned>(_mm_movemask_epi8(equal))) {
            return i + static_cast<size_t>(std::countr_zero(found));
        }
    }
#endif
    for (; i < text.size(); ++i) {
        if (((data[i] == Bytes) || ...)) {
            return i;
        }
    }
    return text.size();
}

// First position at or after `from` holding `a` or `b`, or the text's size.
inline size_t FindEither(std::string_view text, size_t from, char a, char b) {
    return FindEither(text, from, a, b, text.size());
}

// True when the bytes in [from, limit) are all `byte`; those beyond `limit` may be read.
inline bool AllAre(std::string_view text, size_t from, char byte, size_t limit) {
    const char* const data = text.data();
    size_t i = from;
#if defined(__SSE2__)
    const __m128i want = _mm_set1_epi8(byte);
    for (; i < limit && i + 16 <= text.size(); i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        if (const auto other =
                ~static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, want))) & 0xFFFF) {
            return i + static_cast<size_t>(std::countr_zero(other)) >= limit;
        }
    }
#endif
    for (; i < limit; ++i) {
        if (data[i] != byte) {
            return false;
        }
    }
    return true;
}

// Length of the run of ASCII bytes other than NUL at the start of `text`.
inline size_t PlainAsciiRun(std::string_view text) {
    const char* const data = text.data();
    size_t i = 0;
#if defined(__SSE2__)
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        // The sign bit marks bytes of 0x80 and above.
        const int stop = _mm_movemask_epi8(block) |
                         _mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_setzero_si128()));
        if (stop != 0) {
            return i + static_cast<size_t>(std::countr_zero(static_cast<unsigned>(stop)));
        }
    }
#endif
    while (i < text.size() && static_cast<unsigned char>(data[i] - 1) < 0x7F) {
        ++i;
    }
    return i;
}

// True when every CR in `text` is followed by an LF and every LF follows a CR.
inline bool EveryLineEndIsCrLf(std::string_view text) {
    const char* const data = text.data();
    size_t i = 0;
    bool afterCr = false;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 16 <= text.size(); i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const auto crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, cr)));
        const auto lfs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)));
        // Each LF stands one place after a CR, the first perhaps after the previous block's last.
        if ((((crs << 1) | static_cast<unsigned>(afterCr)) & 0xFFFF) != lfs) {
            return false;
        }
        afterCr = (crs >> 15) != 0;
    }
#endif
    for (; i < text.size(); ++i) {
        if ((data[i] == '\n') != afterCr) {
            return false;
        }
        afterCr = data[i] == '\r';
    }
    return !afterCr;
}

}  // namespace byte_scan
