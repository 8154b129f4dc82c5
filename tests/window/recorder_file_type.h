// A file type of the test prefix whose "open" action is the recorder program (../window/
// open_recorder.cpp): opening a file of that type writes the file's path into a record file.
#pragma once

#include <windows.h>

#include <string>

#include "files/text.h"

// Registers `extension` (".orvyes") so that opening such a file records its path in `record`.
void RegisterRecordingFileType(const std::wstring& extension, const Path& record);
// The path the recorder was asked to open, once it has written it; empty on timeout.
std::wstring WaitForRecord(const Path& record, DWORD milliseconds = 10000);
// Whether a recorder has run or still runs. Asked once the program is idle again, a "no" means
// that nothing was opened.
bool RecorderStarted(const Path& record);
