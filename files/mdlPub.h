// Shared helpers that touch the file system, take paths apart or hand a file to the shell.
#pragma once

#include <string_view>

#include "files/message_prompt.h"
#include "files/text.h"

namespace mdlPub {

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

// Opens `path` with the application associated with its type. A file that the shell would run
// rather than open, or that has no type, is opened in Notepad instead. Reports nothing. (Windows
// only.)
void ShellOpen(WindowHandle owner, const Path& path);

// True when a file with this name opens in Notepad: its extension is in `pathext` (the PATHEXT
// list, semicolon separated, e.g. ".COM;.EXE;.BAT"), is one of the types that run a program
// through a runtime or a shell handler, or it has none. Windows' own list (AssocIsDangerous) is
// asked as well, by ShellOpen.
bool OpensInNotepad(const Path& path, std::wstring_view pathext);

}  // namespace mdlPub
