// The system's fonts through GDI, cut down by the font-subsetting service Windows provides.
#include <windows.h>
#include <fontsub.h>

#include <cstdlib>
#include <string_view>

#include "exhibit/exhibit_fonts.h"
#include "files/unique_handle_win32.h"
#include "files/utf8.h"

namespace {

struct FontKind {
    const char* what;
    const wchar_t* faces[4];  // in order of preference; nullptr ends the list early
};

// Fonts with TrueType (glyf) outlines; the DejaVu and WenQuanYi faces are what Wine finds.
constexpr FontKind kCodeFont = {"a monospaced TrueType font (Consolas)",
                                {L"Consolas", L"Courier New", L"DejaVu Sans Mono", nullptr}};
constexpr FontKind kCjkFont = {"a Chinese TrueType font (NSimSun or Microsoft YaHei)",
                               {L"NSimSun", L"Microsoft YaHei", L"SimSun", L"WenQuanYi Micro Hei"}};

constexpr DWORD Tag(const char (&tag)[5]) {
    return static_cast<DWORD>(tag[0]) | static_cast<DWORD>(tag[1]) << 8 |
           static_cast<DWORD>(tag[2]) << 16 | static_cast<DWORD>(tag[3]) << 24;
}

struct DcTraits {
    using Type = HDC;
    static Type Empty() { return nullptr; }
    static bool Release(Type dc) { return DeleteDC(dc) != FALSE; }
};
using UniqueDc = UniqueAny<DcTraits>;

std::string FontData(HDC dc, DWORD table, DWORD offset, DWORD size) {
    std::string data(size, '\0');
    return GetFontData(dc, table, offset, data.data(), size) == size ? data : std::string();
}

uint32_t U32(std::string_view data, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4 && at + i < data.size(); ++i) {
        value = value << 8 | static_cast<unsigned char>(data[at + i]);
    }
    return value;
}

// The font `face` names, when GDI has it under that very name (not a substitute); the whole
// collection for a face of one, with the face's index.
bool LoadFace(const wchar_t* face, TrueTypeFont& font) {
    LOGFONTW wanted{};
    wanted.lfHeight = -1000;
    wanted.lfCharSet = DEFAULT_CHARSET;
    wanted.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    wcsncpy_s(wanted.lfFaceName, face, _TRUNCATE);
    const Font handle(CreateFontIndirectW(&wanted));
    const UniqueDc dc(CreateCompatibleDC(nullptr));
    if (!handle.Valid() || !dc.Valid()) {
        return false;
    }
    SelectObject(dc.Get(), handle.Get());
    wchar_t chosen[LF_FACESIZE] = {};
    GetTextFaceW(dc.Get(), LF_FACESIZE, chosen);
    if (_wcsicmp(chosen, face) != 0) {
        return false;
    }
    const DWORD collectionSize = GetFontData(dc.Get(), Tag("ttcf"), 0, nullptr, 0);
    if (collectionSize == GDI_ERROR) {
        const DWORD size = GetFontData(dc.Get(), 0, 0, nullptr, 0);
        return size != GDI_ERROR && font.Load(FontData(dc.Get(), 0, 0, size), 0);
    }
    // The selected face's own table directory tells which face of the collection it is.
    const std::string data = FontData(dc.Get(), Tag("ttcf"), 0, collectionSize);
    const std::string directory = FontData(dc.Get(), 0, 0, 12);
    for (uint32_t i = 0, faces = U32(data, 8); i < faces && directory.size() == 12; ++i) {
        const size_t at = U32(data, 12 + 4 * i);
        if (std::string_view(data).substr(at, 12) == directory) {
            const size_t tables = (static_cast<unsigned char>(directory[4]) << 8) |
                                  static_cast<unsigned char>(directory[5]);
            if (FontData(dc.Get(), 0, 0, static_cast<DWORD>(12 + 16 * tables)) ==
                std::string_view(data).substr(at, 12 + 16 * tables)) {
                return font.Load(data, i);
            }
        }
    }
    return false;
}

bool LoadOne(const FontKind& kind, TrueTypeFont& font, std::string& family, std::string& error) {
    for (const wchar_t* face : kind.faces) {
        if (face && LoadFace(face, font)) {
            family = EncodeUtf8(face);
            return true;
        }
    }
    error = std::string("cannot find ") + kind.what +
            " among the installed fonts; install one of them (Windows includes them)";
    return false;
}

void* Allocate(size_t size) {
    return std::malloc(size);
}
void* Reallocate(void* memory, size_t size) {
    return std::realloc(memory, size);
}
void Free(void* memory) {
    std::free(memory);
}

}  // namespace

bool LoadSystemFont(FontRole role, TrueTypeFont& font, std::string& family, std::string& error) {
    return LoadOne(role == FontRole::Code ? kCodeFont : kCjkFont, font, family, error);
}

std::string SubsetFont(const TrueTypeFont& font, const std::vector<uint16_t>& glyphs) {
    const std::string& data = font.Data();
    const bool collection = data.starts_with("ttcf");
    unsigned char* subset = nullptr;
    ULONG size = 0, written = 0;
    // TTFCFP_SUBSET keeps every glyph's number: the document names glyphs by them.
    const ULONG failed = CreateFontPackage(
        reinterpret_cast<const unsigned char*>(data.data()), static_cast<ULONG>(data.size()),
        &subset, &size, &written,
        TTFCFP_FLAGS_SUBSET | TTFCFP_FLAGS_GLYPHLIST | (collection ? TTFCFP_FLAGS_TTC : 0),
        static_cast<unsigned short>(font.FaceIndex()), TTFCFP_SUBSET, 0, TTFCFP_DONT_CARE,
        TTFCFP_DONT_CARE, glyphs.data(), static_cast<unsigned short>(glyphs.size()), Allocate,
        Reallocate, Free, nullptr);
    std::string result;
    if (failed == 0 && subset != nullptr) {
        result.assign(reinterpret_cast<const char*>(subset), written);
    }
    Free(subset);
    return result;
}
