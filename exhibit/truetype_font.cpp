#include "exhibit/truetype_font.h"

#include <algorithm>

uint32_t TrueTypeFont::U32(size_t at) const {
    return static_cast<uint32_t>(U16(at)) << 16 | U16(at + 2);
}

uint16_t TrueTypeFont::U16(size_t at) const {
    if (at + 2 > data_.size()) {
        return 0;
    }
    return static_cast<uint16_t>(static_cast<unsigned char>(data_[at]) << 8 |
                                 static_cast<unsigned char>(data_[at + 1]));
}

// The offset of table `tag` in the face's directory, 0 when missing or out of the data.
size_t TrueTypeFont::Table(std::string_view tag, size_t& length) const {
    const uint16_t tables = U16(directory_ + 4);
    for (uint16_t i = 0; i < tables; ++i) {
        const size_t record = directory_ + 12 + 16 * i;
        if (record + 16 <= data_.size() && std::string_view(data_).substr(record, 4) == tag) {
            const size_t offset = U32(record + 8);
            length = U32(record + 12);
            return offset + length <= data_.size() ? offset : 0;
        }
    }
    length = 0;
    return 0;
}

// Name 6, the PostScript name, from the Windows (UTF-16) or Macintosh (ASCII) record.
void TrueTypeFont::ReadName(size_t at, size_t length) {
    const size_t count = U16(at + 2), strings = at + U16(at + 4);
    for (size_t i = 0; i < count && 6 + 12 * (i + 1) <= length; ++i) {
        const size_t record = at + 6 + 12 * i;
        if (U16(record + 6) != 6) {
            continue;
        }
        const uint16_t platform = U16(record);
        const size_t size = U16(record + 8), offset = strings + U16(record + 10);
        std::string name;
        for (size_t k = 0; k < size && offset + k < data_.size(); k += platform == 3 ? 2 : 1) {
            const char c = platform == 3 ? static_cast<char>(U16(offset + k)) : data_[offset + k];
            if (c > ' ' && c < 0x7F && c != '[' && c != ']' && c != '(' && c != ')' && c != '/' &&
                c != '<' && c != '>' && c != '{' && c != '}' && c != '%') {
                name += c;
            }
        }
        if (!name.empty()) {
            name_ = name;
            return;
        }
    }
}

bool TrueTypeFont::Load(std::string data, unsigned index) {
    data_ = std::move(data);
    index_ = index;
    directory_ = 0;
    if (data_.starts_with("ttcf")) {
        if (index >= U32(8)) {
            return false;
        }
        directory_ = U32(12 + 4 * index);
    } else if (index != 0) {
        return false;
    }
    if (U32(directory_) != 0x00010000 && std::string_view(data_).substr(directory_, 4) != "true") {
        return false;  // CFF outlines ("OTTO") or not a font at all
    }
    size_t length = 0, glyf = 0;
    const size_t head = Table("head", length);
    const size_t hhea = Table("hhea", length);
    hmtx_ = Table("hmtx", length);
    Table("glyf", glyf);
    if (head == 0 || hhea == 0 || hmtx_ == 0 || glyf == 0) {
        return false;
    }
    unitsPerEm_ = std::max<int>(16, U16(head + 18));
    for (int k = 0; k < 4; ++k) {
        box_[k] = S16(head + 36 + 2 * k);
    }
    ascent_ = S16(hhea + 4);
    descent_ = S16(hhea + 6);
    numberOfHMetrics_ = U16(hhea + 34);
    capHeight_ = ascent_;
    if (const size_t os2 = Table("OS/2", length); os2 != 0 && U16(os2) >= 2 && length >= 90) {
        capHeight_ = S16(os2 + 88);
    }
    name_ = "Font";
    if (const size_t name = Table("name", length); name != 0) {
        ReadName(name, length);
    }
    const size_t cmap = Table("cmap", length);
    if (cmap == 0) {
        return false;
    }
    // The full-repertoire subtable (format 12) when there is one, else the BMP one (format 4).
    for (uint16_t i = 0, count = U16(cmap + 2); i < count; ++i) {
        const size_t record = cmap + 4 + 8 * i;
        const uint16_t platform = U16(record), encoding = U16(record + 2);
        const size_t subtable = cmap + U32(record + 4);
        const uint16_t format = U16(subtable);
        const bool unicode = platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10));
        if (unicode && (format == 12 || (format == 4 && cmapFormat_ != 12))) {
            cmap_ = subtable;
            cmapFormat_ = format;
        }
    }
    return cmapFormat_ != 0 && numberOfHMetrics_ > 0;
}

uint16_t TrueTypeFont::GlyphOf(char32_t c) const {
    if (cmapFormat_ == 12) {
        size_t low = 0, high = U32(cmap_ + 12);
        while (low < high) {
            const size_t middle = (low + high) / 2, group = cmap_ + 16 + 12 * middle;
            if (c < U32(group)) {
                high = middle;
            } else if (c > U32(group + 4)) {
                low = middle + 1;
            } else {
                return static_cast<uint16_t>(U32(group + 8) + (c - U32(group)));
            }
        }
        return 0;
    }
    if (c > 0xFFFF) {
        return 0;
    }
    const size_t segments = U16(cmap_ + 6) / 2;
    const size_t ends = cmap_ + 14, starts = ends + 2 * segments + 2;
    const size_t deltas = starts + 2 * segments, ranges = deltas + 2 * segments;
    size_t low = 0, high = segments;
    while (low < high) {
        const size_t middle = (low + high) / 2;
        if (U16(ends + 2 * middle) < c) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    if (low == segments || U16(starts + 2 * low) > c) {
        return 0;
    }
    const uint16_t delta = U16(deltas + 2 * low), range = U16(ranges + 2 * low);
    if (range == 0) {
        return static_cast<uint16_t>(c + delta);
    }
    const size_t at = ranges + 2 * low + range + 2 * (c - U16(starts + 2 * low));
    const uint16_t glyph = U16(at);
    return glyph == 0 ? 0 : static_cast<uint16_t>(glyph + delta);
}

int TrueTypeFont::AdvanceOf(uint16_t glyph) const {
    const int metric = std::min<int>(glyph, numberOfHMetrics_ - 1);
    return Scale(U16(hmtx_ + 4 * metric));
}
