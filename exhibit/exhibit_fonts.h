// The two fonts of an exhibit, as the system has them: a monospaced one for code and a CJK one
// for Chinese text. One implementation per platform.
#pragma once

#include <string>
#include <vector>

#include "exhibit/truetype_font.h"

struct ExhibitFonts {
    TrueTypeFont code;
    TrueTypeFont cjk;
    std::string codeFamily;  // the family names a word processor finds them by
    std::string cjkFamily;
};

// Loads both fonts; false with `error` saying which font is missing and how to install it.
bool LoadExhibitFonts(ExhibitFonts& fonts, std::string& error);

// The font cut down to `glyphs` (sorted), glyph numbers unchanged, as a standalone TrueType font;
// empty on failure.
std::string SubsetFont(const TrueTypeFont& font, const std::vector<uint16_t>& glyphs);
