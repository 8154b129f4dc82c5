#include "exhibit/page_choice.h"

PageChoice::PageChoice(std::uintmax_t rows, std::uintmax_t rowsPerPage)
    : rowsPerPage_(rowsPerPage), programPages_((rows + rowsPerPage - 1) / rowsPerPage) {}

std::uintmax_t PageChoice::ExhibitPageOf(std::uintmax_t programPage) const {
    if (programPage <= kShownAtEachEnd || Skipped() == 0) {
        return programPage;
    }
    return programPage > kShownAtEachEnd + Skipped() ? programPage - Skipped() : 0;
}

std::uintmax_t PageChoice::ProgramPageOf(std::uintmax_t exhibitPage) const {
    return exhibitPage <= kShownAtEachEnd ? exhibitPage : exhibitPage + Skipped();
}
