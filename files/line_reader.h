// The line rule of every reader of the program: a line ends at CR, CR LF or LF.
#pragma once

#include <algorithm>
#include <string_view>

#include "files/byte_scan.h"

// Reads a file's contents line by line. A line ends at CR, CR LF or LF; the last characters form
// a line even without a line end, and an empty rest has no line.
class LineReader {
  public:
    explicit LineReader(std::string_view data) : data_(data) {}

    // Takes the next line, without its line end; false when the data is exhausted. Inline: the
    // passes call it once for every line of a file.
    bool ReadLine(std::string_view& line) {
        if (position_ >= data_.size()) {
            return false;
        }
        TakeLine(byte_scan::FindEither(data_, position_, '\r', '\n'), line);
        return true;
    }

    // As ReadLine, and `markerAt` is where `Marker` (not CR or LF) first stands in the line, or
    // the line's size; found in the same scan.
    template <char Marker>
    bool ReadLine(std::string_view& line, size_t& markerAt) {
        if (position_ >= data_.size()) {
            return false;
        }
        const size_t start = position_;
        size_t end = byte_scan::FindFirstOf<'\r', '\n', Marker>(data_, position_);
        markerAt = end - start;
        if (end < data_.size() && data_[end] == Marker) {
            end = byte_scan::FindEither(data_, end + 1, '\r', '\n');
        }
        TakeLine(end, line);
        return true;
    }

    // Where the unread data starts: just after the last line's line end.
    size_t Position() const { return std::min(position_, data_.size()); }

  private:
    void TakeLine(size_t end, std::string_view& line) {
        line = data_.substr(position_, end - position_);
        position_ = end + 1;
        if (end < data_.size() && data_[end] == '\r' && position_ < data_.size() &&
            data_[position_] == '\n') {
            ++position_;
        }
    }

    std::string_view data_;
    size_t position_ = 0;
};
