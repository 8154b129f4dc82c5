// What the documents need to know of a TrueType font: its glyphs for characters, their advance
// widths, its overall metrics and its PostScript name. Reads glyf-outline fonts, single or one
// face of a collection.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class TrueTypeFont {
  public:
    // Reads face `index` of `data` (a .ttf, or a .ttc collection); false when it is not a
    // TrueType font with glyph outlines and a Unicode character map.
    bool Load(std::string data, unsigned index);

    // The glyph for `c`, 0 when the font has none.
    uint16_t GlyphOf(char32_t c) const;
    // The glyph's advance in thousandths of the em.
    int AdvanceOf(uint16_t glyph) const;

    const std::string& Data() const { return data_; }
    unsigned FaceIndex() const { return index_; }
    const std::string& PostScriptName() const { return name_; }
    int Ascent() const { return Scale(ascent_); }
    int Descent() const { return Scale(descent_); }
    int CapHeight() const { return Scale(capHeight_); }
    int BoxLeft() const { return Scale(box_[0]); }
    int BoxBottom() const { return Scale(box_[1]); }
    int BoxRight() const { return Scale(box_[2]); }
    int BoxTop() const { return Scale(box_[3]); }

  private:
    uint32_t U32(size_t at) const;
    uint16_t U16(size_t at) const;
    int16_t S16(size_t at) const { return static_cast<int16_t>(U16(at)); }
    size_t Table(std::string_view tag, size_t& length) const;
    int Scale(int units) const { return units * 1000 / unitsPerEm_; }
    void ReadName(size_t at, size_t length);

    std::string data_;
    unsigned index_ = 0;
    std::string name_;
    size_t directory_ = 0;
    size_t hmtx_ = 0;
    size_t cmap_ = 0;  // the Unicode subtable, format 4 or 12
    int cmapFormat_ = 0;
    int unitsPerEm_ = 1000;
    int numberOfHMetrics_ = 0;
    int ascent_ = 0, descent_ = 0, capHeight_ = 0;
    int box_[4] = {};
};
