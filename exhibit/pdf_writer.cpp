#include "exhibit/pdf_writer.h"

#include <zlib.h>

#include <charconv>
#include <cstdlib>
#include <ctime>
#include <map>
#include <set>

#include "exhibit/source_lines.h"
#include "exhibit/text_decoding.h"

namespace {

std::string Number(double value) {
    char buffer[32];
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 3).ptr;
    std::string text(buffer, end);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.ends_with('.')) {
        text.pop_back();
    }
    return text;
}

std::string Hex16(unsigned value) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text(4, '0');
    for (int i = 3; i >= 0; --i, value >>= 4) {
        text[static_cast<size_t>(i)] = kDigits[value & 0xF];
    }
    return text;
}

std::string Deflate(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size,
              reinterpret_cast<const Bytef*>(data.data()), static_cast<uLong>(data.size()), 9);
    out.resize(size);
    return out;
}

std::string Stream(const std::string& dictionary, const std::string& data) {
    const std::string packed = Deflate(data);
    return "<< " + dictionary + " /Length " + std::to_string(packed.size()) +
           " /Filter /FlateDecode >>\nstream\n" + packed + "\nendstream";
}

// UTF-16BE in hexadecimal, as ToUnicode maps and text strings take it.
std::string Utf16Hex(char32_t c) {
    if (c < 0x10000) {
        return Hex16(c);
    }
    c -= 0x10000;
    return Hex16(0xD800 + (c >> 10)) + Hex16(0xDC00 + (c & 0x3FF));
}

// One embedded font: the glyphs used, what each stands for and how far it advances.
struct FontUse {
    const TrueTypeFont* font;
    std::string resource;
    std::map<uint16_t, std::pair<char32_t, int>> glyphs;  // glyph: character, advance
};

// A stretch of a row in one font, placed at a column.
struct Run {
    FontUse* use;
    int column;
    std::string glyphs;  // hexadecimal, four digits a glyph
};

class PdfBuilder {
  public:
    PdfBuilder(const PageGeometry& geometry, const ExhibitFonts& fonts)
        : geometry_(geometry), code_{&fonts.code, "F1", {}}, cjk_{&fonts.cjk, "F2", {}} {}

    // Characters that only the CJK font has, and wide ones, take the CJK font at twice the
    // column's width per em, so that every character fills whole columns of the code's grid.
    std::vector<Run> RunsOf(const std::string& text) {
        std::vector<Run> runs;
        int column = 0;
        for (size_t i = 0; i < text.size();) {
            const char32_t c = NextCodePoint(text, i);
            const int columns = ColumnsOf(c);
            uint16_t glyph = columns == 1 ? code_.font->GlyphOf(c) : 0;
            FontUse* use = &code_;
            if (glyph == 0) {
                glyph = cjk_.font->GlyphOf(c);
                use = &cjk_;
            }
            if (glyph == 0) {
                missing_.insert(c);
                use = columns == 1 ? &code_ : &cjk_;
            }
            const int advance = use == &code_ ? code_.font->AdvanceOf(glyph) : columns * 500;
            use->glyphs.emplace(glyph, std::make_pair(c, advance));
            if (runs.empty() || runs.back().use != use) {
                runs.push_back({use, column, {}});
            }
            runs.back().glyphs += Hex16(glyph);
            column += columns;
        }
        return runs;
    }

    // Shows `text` with its left edge at x, on the baseline y, code characters `size` high.
    void Show(const std::string& text, double x, double y, double size, std::string& content) {
        const double column = size * geometry_.columnWidth / geometry_.codeSize;
        for (const Run& run : RunsOf(text)) {
            const double fontSize = run.use == &code_ ? size : 2 * column;
            content += "/" + run.use->resource + " " + Number(fontSize) + " Tf 1 0 0 1 " +
                       Number(x + run.column * column) + " " + Number(y) + " Tm <" + run.glyphs +
                       "> Tj\n";
        }
    }

    double WidthOf(const std::string& text, double size) const {
        return ::WidthOf(text) * size * geometry_.columnWidth / geometry_.codeSize;
    }

    std::string PageContent(const DocumentPage& page, const std::string& footer) {
        const double left = PageGeometry::kLeft;
        const double right = PageGeometry::kWidth - PageGeometry::kRight;
        const PageGeometry& g = geometry_;
        std::string content = "BT\n";
        Show(page.header, left, g.headerBaseline, g.headerSize, content);
        Show(page.pageNumber, right - WidthOf(page.pageNumber, g.headerSize), g.headerBaseline,
             g.headerSize, content);
        for (size_t i = 0; i < page.rows.size(); ++i) {
            const double baseline = g.bodyTop - g.rowHeight * static_cast<double>(i) -
                                    (g.rowHeight + g.codeSize * 0.7) / 2;
            Show(RowText(page.rows[i], g), left, baseline, g.codeSize, content);
        }
        if (!footer.empty()) {
            const double x = (left + right - WidthOf(footer, g.codeSize)) / 2;
            Show(footer, x, g.footerBaseline, g.codeSize, content);
        }
        content += "ET\n0.5 w " + Number(left) + " " + Number(g.ruleY) + " m " + Number(right) +
                   " " + Number(g.ruleY) + " l S\n";
        return content;
    }

    FontUse& Code() { return code_; }
    FontUse& Cjk() { return cjk_; }
    const std::set<char32_t>& Missing() const { return missing_; }

  private:
    const PageGeometry& geometry_;
    FontUse code_;
    FontUse cjk_;
    std::set<char32_t> missing_;
};

// A tag of six capitals that names the subset, from the glyphs it holds.
std::string SubsetTag(const FontUse& use) {
    uint32_t hash = 2166136261u;
    for (const auto& [glyph, unused] : use.glyphs) {
        hash = (hash ^ glyph) * 16777619u;
    }
    std::string tag;
    for (int i = 0; i < 6; ++i, hash /= 26) {
        tag += static_cast<char>('A' + hash % 26);
    }
    return tag + "+";
}

std::string ToUnicodeMap(const FontUse& use) {
    std::string map =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    auto it = use.glyphs.begin();
    while (it != use.glyphs.end()) {
        std::string block;
        size_t count = 0;
        for (; it != use.glyphs.end() && count < 100; ++it, ++count) {
            block.append("<").append(Hex16(it->first)).append("> <");
            block.append(Utf16Hex(it->second.first)).append(">\n");
        }
        map += std::to_string(count) + " beginbfchar\n" + block + "endbfchar\n";
    }
    return map + "endcmap\nCMapName currentdict /CIDResource defineresource pop\nend\nend\n";
}

// Text for the document's information: UTF-16 with its byte order mark.
std::string TextString(const std::string& utf8) {
    std::string hex = "<FEFF";
    for (size_t i = 0; i < utf8.size();) {
        hex += Utf16Hex(NextCodePoint(utf8, i));
    }
    return hex + ">";
}

std::string CreationDate() {
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (!epoch || !*epoch) {
        return {};
    }
    const std::time_t seconds = static_cast<std::time_t>(std::strtoll(epoch, nullptr, 10));
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    char date[32];
    std::strftime(date, sizeof date, "D:%Y%m%d%H%M%SZ", &utc);
    return std::string(" /CreationDate (") + date + ")";
}

}  // namespace

std::string WritePdf(const DocumentText& text, const PageGeometry& geometry,
                     const ExhibitFonts& fonts, std::string& missing, std::string& error) {
    PdfBuilder builder(geometry, fonts);
    std::vector<std::string> contents;
    for (const DocumentPage& page : text.pages) {
        contents.push_back(builder.PageContent(page, text.footer));
    }
    // Objects: 1 catalog, 2 page tree, 3 information, five per font from 4, then per page
    // the page and its content.
    std::vector<std::string> objects = {"", "", ""};
    std::string fontResources;
    for (FontUse* use : {&builder.Code(), &builder.Cjk()}) {
        const size_t first = objects.size() + 1;
        if (use->glyphs.empty()) {
            continue;
        }
        std::vector<uint16_t> glyphs;
        std::string widths;
        for (const auto& [glyph, used] : use->glyphs) {
            glyphs.push_back(glyph);
            widths += std::to_string(glyph) + " [" + std::to_string(used.second) + "] ";
        }
        const std::string subset = SubsetFont(*use->font, glyphs);
        if (subset.empty()) {
            error = "cannot cut down the font " + use->font->PostScriptName();
            return {};
        }
        const TrueTypeFont& font = *use->font;
        const std::string name = "/" + SubsetTag(*use) + font.PostScriptName();
        const auto ref = [&](size_t offset) { return std::to_string(first + offset) + " 0 R"; };
        objects.push_back("<< /Type /Font /Subtype /Type0 /BaseFont " + name +
                          " /Encoding /Identity-H /DescendantFonts [" + ref(1) + "] /ToUnicode " +
                          ref(4) + " >>");
        objects.push_back("<< /Type /Font /Subtype /CIDFontType2 /BaseFont " + name +
                          " /CIDSystemInfo << /Registry (Adobe) /Ordering (Identity) /Supplement 0"
                          " >> /FontDescriptor " +
                          ref(2) + " /DW 1000 /W [" + widths + "] /CIDToGIDMap /Identity >>");
        objects.push_back(
            "<< /Type /FontDescriptor /FontName " + name + " /Flags 4 /FontBBox [" +
            std::to_string(font.BoxLeft()) + " " + std::to_string(font.BoxBottom()) + " " +
            std::to_string(font.BoxRight()) + " " + std::to_string(font.BoxTop()) +
            "] /ItalicAngle 0 /Ascent " + std::to_string(font.Ascent()) + " /Descent " +
            std::to_string(font.Descent()) + " /CapHeight " + std::to_string(font.CapHeight()) +
            " /StemV 80 /FontFile2 " + ref(3) + " >>");
        objects.push_back(Stream("/Length1 " + std::to_string(subset.size()), subset));
        objects.push_back(Stream("", ToUnicodeMap(*use)));
        fontResources += "/" + use->resource + " " + ref(0) + " ";
    }
    std::string kids;
    for (const std::string& content : contents) {
        const size_t page = objects.size() + 1;
        kids += std::to_string(page) + " 0 R ";
        objects.push_back("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " +
                          Number(PageGeometry::kWidth) + " " + Number(PageGeometry::kHeight) +
                          "] /Resources << /Font << " + fontResources + ">> >> /Contents " +
                          std::to_string(page + 1) + " 0 R >>");
        objects.push_back(Stream("", content));
    }
    objects[0] = "<< /Type /Catalog /Pages 2 0 R >>";
    objects[1] =
        "<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(contents.size()) + " >>";
    objects[2] = "<< /Title " + TextString(text.title) +
                 " /Producer (Orvandel " ORVANDEL_VERSION ")" + CreationDate() + " >>";

    std::string pdf = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
    std::vector<size_t> offsets;
    for (size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
    }
    const size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (const size_t offset : offsets) {
        const std::string digits = std::to_string(offset);
        pdf += std::string(10 - digits.size(), '0') + digits + " 00000 n \n";
    }
    pdf += "trailer\n<< /Size " + std::to_string(objects.size() + 1) +
           " /Root 1 0 R /Info 3 0 R >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
    for (const char32_t c : builder.Missing()) {
        AppendUtf8(c, missing);
    }
    return pdf;
}
