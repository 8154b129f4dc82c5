// What the start button does: from the two field texts to the saved file and the offer to open it.
#pragma once

#include "files/message_prompt.h"
#include "files/text.h"
#include "processing/strip_options.h"

// What the run needs from the main window.
class ProcessingHost : public Prompter {
  public:
    virtual WideText Text1() = 0;  // the source file path
    virtual WideText Text2() = 0;  // the save folder, ending with a backslash
    virtual void SetCommand1Enabled(bool enabled) = 0;
    // The passes' options as the user chose them (the language aside); read once, at the start.
    virtual StripOptions Options() = 0;
    // Opens the written result with the application associated with its type.
    virtual void OpenResult(const Path& path) = 0;

  protected:
    ~ProcessingHost() = default;
};

// Shows the source, the text after each pass and the result, saves the result into the save
// folder under the source's file name and offers to open it.
void ProcessingRun(ProcessingHost& host);
