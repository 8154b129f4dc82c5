// The passes' machinery: rewriting a text line by line in its own buffer.
#pragma once

#include <string_view>

#include "files/line_reader.h"
#include "files/text.h"

// Turns a text into a new one, line by line, in the text's own buffer: the new text is written
// over the lines already read for as long as it stays behind them (always, when it is no longer
// than what it replaces line by line); only when it would overtake them does it move to a buffer
// of its own. Large files thus need no second buffer of their size.
class LineRewriter {
  public:
    explicit LineRewriter(AnsiText& text) : text_(text), reader_(text) {}
    bool ReadLine(std::string_view& line) { return reader_.ReadLine(line); }
    template <char Marker>
    bool ReadLine(std::string_view& line, size_t& markerAt) {
        return reader_.ReadLine<Marker>(line, markerAt);
    }
    // Appends `line`, all or the start of a line already read, and CR LF to the new text.
    void WriteLine(std::string_view line);
    // Puts the new text in place of the old one.
    void Finish();

  private:
    void WriteWithCrLf(std::string_view line);
    void MovePending();

    AnsiText& text_;
    LineReader reader_;
    size_t written_ = 0;  // the new text's length, with the pending lines
    // Whole lines that end in CR LF are kept with their own line ends. A run of them is moved
    // into place in one piece, once the run ends.
    const char* pending_ = nullptr;
    size_t pendingSize_ = 0;
    AnsiText spilled_;
    bool spilling_ = false;
};
