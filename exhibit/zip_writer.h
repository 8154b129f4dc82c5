// A zip archive of a few parts, as a Word document is packaged: each part deflated, with fixed
// dates so the same parts give the same bytes.
#pragma once

#include <string>
#include <string_view>

class ZipWriter {
  public:
    void Add(std::string_view name, std::string_view data);
    // The archive; the writer is spent.
    std::string Finish();

  private:
    std::string archive_;
    std::string directory_;
    unsigned entries_ = 0;
};
