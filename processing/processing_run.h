// What the start button does: from the two field texts to the saved file and the offer to open it.
#pragma once

#include "files/message_prompt.h"
#include "files/text.h"

// What the run needs from the main window.
class ProcessingHost : public Prompter {
  public:
    virtual WideText Text1() = 0;  // the source file path
    virtual WideText Text2() = 0;  // the save folder, ending with a backslash
    virtual void SetCommand1Enabled(bool enabled) = 0;
    virtual WindowHandle Handle() = 0;

  protected:
    ~ProcessingHost() = default;
};

using ShellOpener = void (*)(WindowHandle owner, const Path& path);

// Shows the source, the text after each pass and the result, saves the result into the save
// folder under the source's file name and offers to open it with `shellOpen`.
void ProcessingRun(ProcessingHost& host, ShellOpener shellOpen);
