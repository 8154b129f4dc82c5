// Shared helpers that touch the file system, take paths apart or hand a file to the shell.
#pragma once

#include <algorithm>
#include <string_view>

#include "files/message_prompt.h"
#include "files/text.h"

namespace mdlPub {

// Reads a file's contents line by line. A line ends at CR, CR LF or LF; the last characters form
// a line even without a line end, and an empty rest has no line.
class LineReader {
  public:
    explicit LineReader(std::string_view data) : data_(data) {}

    // Takes the next line, without its line end; false when the data is exhausted.
    bool ReadLine(std::string_view& line);
    // Where the unread data starts: just after the last line's line end.
    size_t Position() const { return std::min(position_, data_.size()); }

  private:
    size_t Next(char byte, size_t& cached) const;

    static constexpr size_t kUnknown = static_cast<size_t>(-1);
    std::string_view data_;
    size_t position_ = 0;
    // Where the next CR and LF stand, kept between lines so that no byte is searched twice.
    size_t nextCr_ = kUnknown;
    size_t nextLf_ = kUnknown;
};

// Turns a text into a new one, line by line, in the text's own buffer: the new text is written
// over the lines already read for as long as it stays behind them (always, when it is no longer
// than what it replaces line by line); only when it would overtake them does it move to a buffer
// of its own. Large files thus need no second buffer of their size.
class LineRewriter {
  public:
    explicit LineRewriter(AnsiText& text) : text_(text), reader_(text) {}
    bool ReadLine(std::string_view& line) { return reader_.ReadLine(line); }
    // Appends to the new text; only pieces of lines already read.
    void Write(std::string_view piece);
    // Puts the new text in place of the old one.
    void Finish();

  private:
    AnsiText& text_;
    LineReader reader_;
    size_t written_ = 0;
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
