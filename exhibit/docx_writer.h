// The exhibit as a Word document: the PDF's pages, each begun by an explicit page break, every row
// one paragraph of exact height and short enough never to wrap, the fonts named.
#pragma once

#include <string>

#include "exhibit/exhibit_fonts.h"
#include "exhibit/page_layout.h"

std::string WriteDocx(const DocumentText& text, const PageGeometry& geometry,
                      const ExhibitFonts& fonts);
