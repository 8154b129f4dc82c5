// Fonts from Debian's packages, cut down by HarfBuzz's subsetter.
#include <hb-subset.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "exhibit/exhibit_fonts.h"

namespace {

struct FontChoice {
    const char* path;  // below the font folder
    unsigned face;
    const char* family;
};

struct FontKind {
    const char* what;
    const char* package;
    FontChoice choices[3];
};

// Glyph-outline (glyf) fonts only: the PDF embeds TrueType outlines.
constexpr FontKind kCodeFont = {
    "the monospaced font DejaVu Sans Mono",
    "fonts-dejavu-core",
    {{"truetype/dejavu/DejaVuSansMono.ttf", 0, "DejaVu Sans Mono"},
     {"truetype/liberation/LiberationMono-Regular.ttf", 0, "Liberation Mono"},
     {"truetype/noto/NotoSansMono-Regular.ttf", 0, "Noto Sans Mono"}}};
constexpr FontKind kCjkFont = {
    "the CJK font WenQuanYi Micro Hei",
    "fonts-wqy-microhei",
    {{"truetype/wqy/wqy-microhei.ttc", 0, "WenQuanYi Micro Hei"},
     {"truetype/arphic/uming.ttc", 0, "AR PL UMing CN"},
     {"truetype/droid/DroidSansFallbackFull.ttf", 0, "Droid Sans Fallback"}}};

// The folder the fonts are looked for in; ORVANDEL_FONT_DIR replaces the system's.
std::filesystem::path FontFolder() {
    const char* folder = std::getenv("ORVANDEL_FONT_DIR");
    return folder && *folder ? folder : "/usr/share/fonts";
}

bool LoadOne(const FontKind& kind, TrueTypeFont& font, std::string& family, std::string& error) {
    const std::filesystem::path folder = FontFolder();
    for (const FontChoice& choice : kind.choices) {
        std::ifstream in(folder / choice.path, std::ios::binary);
        std::ostringstream data;
        if (in && data << in.rdbuf() && font.Load(data.str(), choice.face)) {
            family = choice.family;
            return true;
        }
    }
    error = std::string("cannot find ") + kind.what + " (" + kind.choices[0].path + " under " +
            folder.string() + "); install it with: apt-get install " + kind.package;
    return false;
}

template <typename T, void (*Destroy)(T*)>
struct HbDeleter {
    void operator()(T* object) const { Destroy(object); }
};
using Blob = std::unique_ptr<hb_blob_t, HbDeleter<hb_blob_t, hb_blob_destroy>>;
using Face = std::unique_ptr<hb_face_t, HbDeleter<hb_face_t, hb_face_destroy>>;
using Input =
    std::unique_ptr<hb_subset_input_t, HbDeleter<hb_subset_input_t, hb_subset_input_destroy>>;

}  // namespace

bool LoadSystemFont(FontRole role, TrueTypeFont& font, std::string& family, std::string& error) {
    return LoadOne(role == FontRole::Code ? kCodeFont : kCjkFont, font, family, error);
}

std::string SubsetFont(const TrueTypeFont& font, const std::vector<uint16_t>& glyphs) {
    const std::string& data = font.Data();
    const Blob blob(hb_blob_create(data.data(), static_cast<unsigned>(data.size()),
                                   HB_MEMORY_MODE_READONLY, nullptr, nullptr));
    const Face face(hb_face_create(blob.get(), font.FaceIndex()));
    const Input input(hb_subset_input_create_or_fail());
    if (!input) {
        return {};
    }
    hb_set_t* keep = hb_subset_input_glyph_set(input.get());
    for (const uint16_t glyph : glyphs) {
        hb_set_add(keep, glyph);
    }
    // The document names glyphs by their numbers in the whole font.
    hb_subset_input_set_flags(input.get(), HB_SUBSET_FLAGS_RETAIN_GIDS);
    const Face subset(hb_subset_or_fail(face.get(), input.get()));
    if (!subset) {
        return {};
    }
    const Blob bytes(hb_face_reference_blob(subset.get()));
    unsigned length = 0;
    const char* start = hb_blob_get_data(bytes.get(), &length);
    return std::string(start, length);
}
