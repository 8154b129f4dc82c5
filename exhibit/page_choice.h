// Which pages of the program the exhibit shows: all of them up to 60, otherwise the first 30 and
// the last 30, numbered 1 to 60.
#pragma once

#include <cstdint>

class PageChoice {
  public:
    static constexpr std::uintmax_t kShownAtEachEnd = 30;

    PageChoice(std::uintmax_t rows, std::uintmax_t rowsPerPage);

    std::uintmax_t ProgramPages() const { return programPages_; }
    std::uintmax_t ExhibitPages() const { return programPages_ - Skipped(); }
    // The exhibit's page for a page of the program (both from 1); 0 when it is left out.
    std::uintmax_t ExhibitPageOf(std::uintmax_t programPage) const;
    // The program's page shown as page `exhibitPage` of the exhibit.
    std::uintmax_t ProgramPageOf(std::uintmax_t exhibitPage) const;
    // True when the row (from 0) is on a page the exhibit shows.
    bool Shows(std::uintmax_t row) const { return ExhibitPageOf(row / rowsPerPage_ + 1) != 0; }

  private:
    std::uintmax_t Skipped() const {
        return programPages_ > 2 * kShownAtEachEnd ? programPages_ - 2 * kShownAtEachEnd : 0;
    }

    std::uintmax_t rowsPerPage_;
    std::uintmax_t programPages_;
};
