// The exhibit's TrueType reader against HarfBuzz over the fonts it uses on Linux: the same glyph
// for every character, the same advance for every glyph, and subsets that keep glyph numbers.
#include <gtest/gtest.h>
#include <hb.h>

#include "exhibit/exhibit_fonts.h"

namespace {

void ExpectSameAsHarfBuzz(const TrueTypeFont& font) {
    const std::string& data = font.Data();
    hb_blob_t* blob = hb_blob_create(data.data(), static_cast<unsigned>(data.size()),
                                     HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    hb_face_t* face = hb_face_create(blob, font.FaceIndex());
    hb_font_t* reference = hb_font_create(face);
    const unsigned unitsPerEm = hb_face_get_upem(face);
    hb_font_set_scale(reference, static_cast<int>(unitsPerEm), static_cast<int>(unitsPerEm));
    size_t differences = 0, glyphs = 0;
    for (char32_t c = 1; c < 0x30000 && differences < 5; ++c) {
        hb_codepoint_t glyph = 0;
        hb_font_get_nominal_glyph(reference, c, &glyph);
        if (font.GlyphOf(c) != glyph) {
            ADD_FAILURE() << font.PostScriptName() << " U+" << std::hex << static_cast<uint32_t>(c)
                          << ": " << font.GlyphOf(c) << " != " << glyph;
            ++differences;
        }
        if (glyph != 0) {
            ++glyphs;
            const int advance = hb_font_get_glyph_h_advance(reference, glyph);
            EXPECT_EQ(font.AdvanceOf(static_cast<uint16_t>(glyph)),
                      advance * 1000 / static_cast<int>(unitsPerEm));
        }
    }
    EXPECT_GT(glyphs, 200u) << font.PostScriptName();
    hb_font_destroy(reference);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
}

TEST(ExhibitFonts, GlyphsAndAdvancesAsHarfBuzzReadsThem) {
    ExhibitFonts fonts;
    std::string error;
    ASSERT_TRUE(LoadExhibitFonts(fonts, error)) << error;
    ExpectSameAsHarfBuzz(fonts.code);
    ExpectSameAsHarfBuzz(fonts.cjk);
}

TEST(ExhibitFonts, ASubsetKeepsTheGlyphNumbersItHolds) {
    ExhibitFonts fonts;
    std::string error;
    ASSERT_TRUE(LoadExhibitFonts(fonts, error)) << error;
    const uint16_t han = fonts.cjk.GlyphOf(U'\u6C49');
    ASSERT_NE(han, 0);
    TrueTypeFont subset;
    ASSERT_TRUE(subset.Load(SubsetFont(fonts.cjk, {0, han}), 0));
    EXPECT_EQ(subset.AdvanceOf(han), fonts.cjk.AdvanceOf(han));
    EXPECT_LT(subset.Data().size(), fonts.cjk.Data().size() / 10);
}

}  // namespace
