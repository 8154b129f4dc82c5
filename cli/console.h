// Standard output and standard error, as the program and its tests see them.
#pragma once

#include <string>
#include <string_view>

enum class Stream { Out, Err };

class Console {
  public:
    virtual ~Console() = default;
    // True when the stream shows on a terminal (a console window on Windows).
    virtual bool IsTerminal(Stream stream) = 0;
    // Text in UTF-8, shown as text on a terminal.
    virtual void WriteText(Stream stream, std::string_view utf8) = 0;
    // Bytes written exactly as they are; false when they could not all be written.
    virtual bool WriteBytes(Stream stream, std::string_view bytes) = 0;
};

// Reads all of standard input, as bytes; false when it cannot be read.
bool ReadStandardInput(std::string& bytes);

// The process's own standard streams.
Console& SystemConsole();
