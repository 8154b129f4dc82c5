// The modal message box through which the program talks to the user.
#pragma once

#include "files/text.h"

enum class PromptButtons { Ok, YesNo };
enum class PromptIcon { None, Information, Exclamation };
enum class PromptAnswer { Ok, Yes, No };

inline const char16_t kProgramTitle[] = u"Orvandel";

struct Prompt {
    DisplayText text;
    PromptButtons buttons = PromptButtons::Ok;
    PromptIcon icon = PromptIcon::None;
    DisplayText title = kProgramTitle;
};

// Implemented by the window (a real message box) and by tests (a recorder).
class Prompter {
  public:
    virtual PromptAnswer MessagePrompt(const Prompt& prompt) = 0;

  protected:
    ~Prompter() = default;
};
