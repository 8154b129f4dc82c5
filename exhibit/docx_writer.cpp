#include "exhibit/docx_writer.h"

#include <cmath>

#include "exhibit/zip_writer.h"

namespace {

constexpr std::string_view kContentTypes =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
    R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
    R"(<Default Extension="xml" ContentType="application/xml"/>)"
    R"(<Override PartName="/word/document.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"/>)"
    R"(<Override PartName="/word/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.styles+xml"/>)"
    R"(<Override PartName="/word/footer1.xml" ContentType="application/vnd.openxmlformats-officedocument.wordprocessingml.footer+xml"/>)"
    R"(</Types>)";

constexpr std::string_view kPackageRelations =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="word/document.xml"/>)"
    R"(</Relationships>)";

constexpr std::string_view kDocumentRelations =
    R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)"
    "\n"
    R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
    R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
    R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/footer" Target="footer1.xml"/>)"
    R"(</Relationships>)";

constexpr std::string_view kNamespace =
    R"( xmlns:w="http://schemas.openxmlformats.org/wordprocessingml/2006/main")"
    R"( xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships")";

int Twips(double points) {
    return static_cast<int>(std::lround(points * 20));
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string Run(const std::string& text) {
    return R"(<w:r><w:t xml:space="preserve">)" + Escaped(text) + "</w:t></w:r>";
}

// Every paragraph: no space around it, an exact height, never split or moved by Word's rules.
std::string Styles(const PageGeometry& g, const ExhibitFonts& fonts) {
    return std::string(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)") +
           "\n<w:styles" + std::string(kNamespace) +
           "><w:docDefaults><w:rPrDefault><w:rPr><w:rFonts w:ascii=\"" + fonts.codeFamily +
           "\" w:hAnsi=\"" + fonts.codeFamily + "\" w:cs=\"" + fonts.codeFamily +
           "\" w:eastAsia=\"" + fonts.cjkFamily + "\"/><w:sz w:val=\"" +
           std::to_string(static_cast<int>(g.codeSize * 2)) + "\"/><w:szCs w:val=\"" +
           std::to_string(static_cast<int>(g.codeSize * 2)) +
           "\"/></w:rPr></w:rPrDefault><w:pPrDefault><w:pPr><w:widowControl w:val=\"0\"/>"
           "<w:snapToGrid w:val=\"0\"/><w:autoSpaceDE w:val=\"0\"/><w:autoSpaceDN w:val=\"0\"/>"
           "<w:spacing w:before=\"0\" w:after=\"0\" w:line=\"" +
           std::to_string(Twips(g.rowHeight)) +
           "\" w:lineRule=\"exact\"/></w:pPr></w:pPrDefault></w:docDefaults></w:styles>";
}

}  // namespace

std::string WriteDocx(const DocumentText& text, const PageGeometry& g, const ExhibitFonts& fonts) {
    const double textWidth = PageGeometry::kWidth - PageGeometry::kLeft - PageGeometry::kRight;
    // The header's line and its rule take the room above the first row, as in the PDF.
    const double headerHeight = PageGeometry::kHeight - PageGeometry::kTop - g.bodyTop - 2;
    const std::string headerSize = std::to_string(static_cast<int>(g.headerSize * 2));
    std::string body;
    for (size_t p = 0; p < text.pages.size(); ++p) {
        const DocumentPage& page = text.pages[p];
        body += "<w:p><w:pPr>" + std::string(p > 0 ? "<w:pageBreakBefore/>" : "") +
                "<w:pBdr><w:bottom w:val=\"single\" w:sz=\"4\" w:space=\"1\" w:color=\"000000\"/>"
                "</w:pBdr><w:tabs><w:tab w:val=\"right\" w:pos=\"" +
                std::to_string(Twips(textWidth)) + "\"/></w:tabs><w:spacing w:line=\"" +
                std::to_string(Twips(headerHeight)) +
                "\" w:lineRule=\"exact\"/><w:rPr><w:sz w:val=\"" + headerSize +
                "\"/></w:rPr></w:pPr><w:r><w:rPr><w:sz w:val=\"" + headerSize +
                "\"/></w:rPr><w:t xml:space=\"preserve\">" + Escaped(page.header) +
                "</w:t><w:tab/><w:t xml:space=\"preserve\">" + Escaped(page.pageNumber) +
                "</w:t></w:r></w:p>";
        for (const PageRow& row : page.rows) {
            body += "<w:p>" + Run(RowText(row, g)) + "</w:p>";
        }
    }
    // A bottom margin well below the last row: the rows never run over onto another page.
    constexpr double kBottom = 28.35;
    body +=
        "<w:sectPr><w:footerReference w:type=\"default\" r:id=\"rId2\"/>"
        "<w:pgSz w:w=\"11906\" w:h=\"16838\"/><w:pgMar w:top=\"" +
        std::to_string(Twips(PageGeometry::kTop)) + "\" w:right=\"" +
        std::to_string(Twips(PageGeometry::kRight)) + "\" w:bottom=\"" +
        std::to_string(Twips(kBottom)) + "\" w:left=\"" +
        std::to_string(Twips(PageGeometry::kLeft)) + "\" w:header=\"0\" w:footer=\"" +
        std::to_string(Twips(kBottom / 2)) + "\" w:gutter=\"0\"/></w:sectPr>";
    const std::string document =
        std::string(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)") +
        "\n<w:document" + std::string(kNamespace) + "><w:body>" + body + "</w:body></w:document>";
    const std::string footer =
        std::string(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)") + "\n<w:ftr" +
        std::string(kNamespace) + "><w:p><w:pPr><w:jc w:val=\"center\"/></w:pPr>" +
        (text.footer.empty() ? "" : Run(text.footer)) + "</w:p></w:ftr>";
    ZipWriter zip;
    zip.Add("[Content_Types].xml", kContentTypes);
    zip.Add("_rels/.rels", kPackageRelations);
    zip.Add("word/_rels/document.xml.rels", kDocumentRelations);
    zip.Add("word/document.xml", document);
    zip.Add("word/styles.xml", Styles(g, fonts));
    zip.Add("word/footer1.xml", footer);
    return zip.Finish();
}
