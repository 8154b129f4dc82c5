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

enum class FontRole { Code, Cjk };

// Loads the system's font for `role`; false with `error` saying which font is missing and how to
// install it.
bool LoadSystemFont(FontRole role, TrueTypeFont& font, std::string& family, std::string& error);

inline bool LoadExhibitFonts(ExhibitFonts& fonts, std::string& error) {
    return LoadSystemFont(FontRole::Code, fonts.code, fonts.codeFamily, error) &&
           LoadSystemFont(FontRole::Cjk, fonts.cjk, fonts.cjkFamily, error);
}

// The font cut down to `glyphs` (sorted), glyph numbers unchanged, as a standalone TrueType font;
// empty on failure.
std::string SubsetFont(const TrueTypeFont& font, const std::vector<uint16_t>& glyphs);
