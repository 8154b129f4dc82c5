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

// From `from`, the start of a line, to the end of the run of whole lines before `limit` that each
// hold a byte other than a space or tab, hold none of `Bytes` and end in LF (or, with `crLf`, in
// CR LF). Looked at sixteen bytes at a time, each block starting at the first line not yet whole.
template <char... Bytes>
inline size_t PlainLinesEnd(std::string_view text, size_t from, size_t limit, bool crLf) {
    size_t good = from;  // the end of the last whole line found plain
#if defined(__SSE2__)
    const char* const data = text.data();
    const auto mask = [](__m128i block, char byte) {
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, _mm_set1_epi8(byte))));
    };
    bool content = false;  // the line read so far, up to k, holds a byte other than a blank
    for (size_t k = from; k + 16 <= limit;) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + k));
        const unsigned lf = mask(block, '\n');
        const unsigned cr = mask(block, '\r');
        // The plain stretch ends at a byte looked for or a line end of the other kind (a CR that
        // ends the block is looked at again with what follows it).
        unsigned stops = (mask(block, Bytes) | ...);
        stops |= crLf ? (cr & ~(lf >> 1) & 0x7FFF) | (lf & ~(cr << 1)) : cr;
        const unsigned plain = stops == 0 ? 0xFFFF : (1u << std::countr_zero(stops)) - 1;
        const unsigned blank = mask(block, ' ') | mask(block, '\t');
        const unsigned ends = lf & plain;
        // A line is blank when the run of blanks from its start (or from the block's start, for
        // a line with nothing but blanks so far) reaches its line end: adding each start to the
        // blanks carries it to the end of its run.
        const unsigned starts = ((lf << 1) & 0xFFFF) | (content ? 0u : 1u);
        const unsigned runEnds = (blank + (starts & blank)) & ~blank;
        const unsigned blankLineEnds = (runEnds | starts) & (cr | lf) & plain;
        const unsigned wholeLines =
            blankLineEnds == 0 ? ends : ends & ((1u << std::countr_zero(blankLineEnds)) - 1);
        if (wholeLines != 0) {
            good = k + static_cast<size_t>(32 - std::countl_zero(wholeLines));
        }
        if (blankLineEnds != 0 || plain != 0xFFFF) {
            break;
        }
        if (ends != 0) {
            k = good;  // the next line from its start
            content = false;
        } else {
            const bool crLast = (cr >> 15) != 0;
            content = content || (~(blank | cr) & (crLast ? 0x7FFF : 0xFFFF)) != 0;
            k += crLast ? 15 : 16;
        }
    }
#endif
    (void)text;
    (void)limit;
    (void)crLf;
    return good;
}

// How many of `byte` stand in [from, to).
inline size_t Count(std::string_view text, size_t from, size_t to, char byte) {
    const char* const data = text.data();
    size_t count = 0;
#if defined(__SSE2__)
    // Each lane counts its matches down from zero (a match is -1), for at most 255 blocks; the
    // lanes are then summed.
    const __m128i want = _mm_set1_epi8(byte);
    const auto sum = [](__m128i lanes) {
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        return static_cast<size_t>(_mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4));
    };
    while (from + 16 <= to) {
        __m128i lanes = _mm_setzero_si128();
        for (int blocks = 0; blocks < 255 && from + 16 <= to; ++blocks, from += 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(block, want));
        }
        count += sum(lanes);
    }
#endif
    for (; from < to; ++from) {
        count += data[from] == byte;
    }
    return count;
}

// Writes `c` at `out`, a CR before it when it is an LF, without a branch; returns what follows.
inline size_t PutWithCrLf(char c, char* to, size_t out) {
    to[out] = '\r';
    out += c == '\n';
    to[out] = c;
    return out + 1;
}

// Copies `count` bytes from `from` to `to`, a CR before each LF; returns the bytes written (`count`
// and one for each LF). `to` may lie inside the bytes copied where it stays before the bytes still
// to be read: at least as many places before `from` as the LFs that follow. Apart from them, `to`
// has room for 16 bytes more than it is written, which are overwritten.
inline size_t CopyWithCrLf(const char* from, size_t count, char* to) {
    size_t i = 0;
    size_t out = 0;
#if defined(__SSE2__)
    const bool apart = to >= from + count || to + 2 * count + 16 <= from;
    const __m128i lf = _mm_set1_epi8('\n');
    for (; apart && i + 32 <= count; i += 16) {
        // Each piece between LFs is written with the sixteen bytes from its start; what runs past
        // it is written over by the next.
        auto lfs = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i)), lf)));
        size_t k = 0;
        for (; lfs != 0; lfs &= lfs - 1) {
            const auto at = static_cast<size_t>(std::countr_zero(lfs));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + out),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i + k)));
            out += at - k;
            to[out++] = '\r';
            to[out++] = '\n';
            k = at + 1;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + out),
                         _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i + k)));
        out += 16 - k;
    }
    for (; i + 16 <= count; i += 16) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(block, lf)) == 0) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(to + out), block);
            out += 16;
            continue;
        }
        // The block is in a register: writing it out cannot overwrite bytes still to be read.
        alignas(16) char bytes[16];
        _mm_store_si128(reinterpret_cast<__m128i*>(bytes), block);
        for (const char c : bytes) {
            out = PutWithCrLf(c, to, out);
        }
    }
#endif
    for (; i < count; ++i) {
        out = PutWithCrLf(from[i], to, out);
    }
    return out;
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
