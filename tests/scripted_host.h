// A stand-in for the main window: fixed field texts, answers given in advance, and a record of
// every prompt together with the state of the start button when it was shown.
#pragma once

#include <deque>
#include <vector>

#include "processing/processing_run.h"

struct RecordedPrompt {
    Prompt prompt;
    bool command1Enabled;
};

class ScriptedHost : public ProcessingHost {
  public:
    ScriptedHost(WideText text1, WideText text2)
        : text1_(std::move(text1)), text2_(std::move(text2)) {}

    // The answers to the Yes/No prompts, in order; OK prompts need none.
    void AnswerYesNo(std::initializer_list<PromptAnswer> answers) { answers_ = answers; }

    WideText Text1() override { return text1_; }
    WideText Text2() override { return text2_; }
    void SetCommand1Enabled(bool enabled) override { command1Enabled_ = enabled; }
    WindowHandle Handle() override { return this; }
    PromptAnswer MessagePrompt(const Prompt& prompt) override {
        prompts_.push_back({prompt, command1Enabled_});
        if (prompt.buttons == PromptButtons::Ok) {
            return PromptAnswer::Ok;
        }
        if (answers_.empty()) {
            ADD_FAILURE() << "unexpected Yes/No prompt";
            return PromptAnswer::No;
        }
        const PromptAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    const std::vector<RecordedPrompt>& Prompts() const { return prompts_; }
    bool Command1Enabled() const { return command1Enabled_; }

  private:
    WideText text1_;
    WideText text2_;
    bool command1Enabled_ = true;
    std::deque<PromptAnswer> answers_;
    std::vector<RecordedPrompt> prompts_;
};
