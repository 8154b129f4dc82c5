// The exhibit as a PDF: A4 text pages, the two fonts embedded as subsets with maps back to the
// characters, compressed content. Writes only what such pages need.
#pragma once

#include <string>
#include <vector>

#include "exhibit/exhibit_fonts.h"
#include "exhibit/page_layout.h"

// The PDF's bytes, identical for identical input (a creation date only from SOURCE_DATE_EPOCH);
// empty with `error` set when a font cannot be cut down. `missing` receives the characters
// neither font has.
std::string WritePdf(const DocumentText& text, const PageGeometry& geometry,
                     const ExhibitFonts& fonts, std::string& missing, std::string& error);
