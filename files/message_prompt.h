// The modal message box through which the program talks to the user.
#pragma once

#include "files/text.h"
#include "files/texts.h"

enum class PromptButtons { Ok, YesNo };
enum class PromptIcon { None, Information, Exclamation };
enum class PromptAnswer { Ok, Yes, No };

struct Prompt {
    DisplayText text;
    PromptButtons buttons = PromptButtons::Ok;
    PromptIcon icon = PromptIcon::None;
    DisplayText title = texts::kProgramTitle;
};

// Implemented by the window (a real message box) and by tests (a recorder).
class Prompter {
  public:
    virtual PromptAnswer MessagePrompt(const Prompt& prompt) = 0;

  protected:
    ~Prompter() = default;
};
