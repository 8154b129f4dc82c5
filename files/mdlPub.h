// Shared helpers that touch the file system, take paths apart or hand a file to the shell.
#pragma once

#include <algorithm>
#include <string_view>

#include "files/byte_scan.h"
#include "files/message_prompt.h"
#include "files/text.h"

namespace mdlPub {

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

    // As ReadLine, and `markerAt` is where `marker` (not CR or LF) first stands in the line, or the
    // line's size; found in the same scan.
    bool ReadLine(std::string_view& line, char marker, size_t& markerAt) {
        if (position_ >= data_.size()) {
            return false;
        }
        const size_t start = position_;
        size_t end = byte_scan::FindAnyOf(data_, position_, '\r', '\n', marker);
        markerAt = end - start;
        if (end < data_.size() && data_[end] == marker) {
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

// Turns a text into a new one, line by line, in the text's own buffer: the new text is written
// over the lines already read for as long as it stays behind them (always, when it is no longer
// than what it replaces line by line); only when it would overtake them does it move to a buffer
// of its own. Large files thus need no second buffer of their size.
class LineRewriter {
  public:
    explicit LineRewriter(AnsiText& text) : text_(text), reader_(text) {}
    bool ReadLine(std::string_view& line) { return reader_.ReadLine(line); }
    bool ReadLine(std::string_view& line, char marker, size_t& markerAt) {
        return reader_.ReadLine(line, marker, markerAt);
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

// True when `path` names a file that can be opened for reading. Never tells the user anything.
bool FileExists(const Path& path);

// The file's lines, each followed by CR LF except the last. If the file cannot be read, tells the
// user so through `prompter` and returns what was read before the failure.
AnsiText ReadTextForDisplay(const Path& path, Prompter& prompter);

// Writes `text` and then CR LF to `path`, replacing an existing file only once the new contents
// are safely on disk. False on any failure, with any existing file left as it was.
bool SaveText(const Path& path, const AnsiText& text);

// The path up to and including its last backslash; empty when it has none.
Path DirectoryOf(const Path& path);

// The path without its DirectoryOf part.
Path FileNameOf(const Path& path);

// Opens `path` with the application associated with its type; a file of a type that the shell
// would run rather than open is opened in Notepad instead. Reports nothing. (Windows only.)
void ShellOpen(WindowHandle owner, const Path& path);

// True when the shell would run a file with this name instead of opening it as a document.
// `pathext` is the PATHEXT list (semicolon separated, e.g. ".COM;.EXE;.BAT").
bool IsRunnableType(const Path& path, std::wstring_view pathext);

}  // namespace mdlPub
