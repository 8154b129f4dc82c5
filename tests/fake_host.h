// The one stand-in for the main window in tests, fuzzers and benchmarks: fixed field texts,
// answers given in advance (No once they run out), and a record of every prompt with the state of
// the start button when it was shown, and of every result the run asked to open.
#pragma once

#include <deque>
#include <initializer_list>
#include <vector>

#include "processing/processing_run.h"

struct RecordedPrompt {
    Prompt prompt;
    bool command1Enabled;
};

class FakeHost : public ProcessingHost {
  public:
    FakeHost(WideText text1, WideText text2) : text1_(std::move(text1)), text2_(std::move(text2)) {}

    // The answers to the Yes/No prompts, in order; OK prompts need none.
    void AnswerYesNo(std::initializer_list<PromptAnswer> answers) { answers_ = answers; }
    // Benchmarks of large files count the characters shown instead of keeping every text.
    void KeepOnlyCounts() { keepTexts_ = false; }

    WideText Text1() override { return text1_; }
    WideText Text2() override { return text2_; }
    void SetCommand1Enabled(bool enabled) override { command1Enabled_ = enabled; }
    void OpenResult(const Path& path) override { opened_.push_back(path); }
    StripOptions Options() override { return options; }
    PromptAnswer MessagePrompt(const Prompt& prompt) override {
        shownCharacters_ += prompt.text.size();
        prompts_.push_back(
            {keepTexts_ ? prompt : Prompt{{}, prompt.buttons, prompt.icon, {}}, command1Enabled_});
        if (prompt.buttons == PromptButtons::Ok || answers_.empty()) {
            return prompt.buttons == PromptButtons::Ok ? PromptAnswer::Ok : PromptAnswer::No;
        }
        const PromptAnswer answer = answers_.front();
        answers_.pop_front();
        return answer;
    }

    StripOptions options;  // what Options() answers

    const std::vector<RecordedPrompt>& Prompts() const { return prompts_; }
    const std::vector<Path>& Opened() const { return opened_; }
    bool Command1Enabled() const { return command1Enabled_; }
    size_t ShownCharacters() const { return shownCharacters_; }

  private:
    WideText text1_;
    WideText text2_;
    bool command1Enabled_ = true;
    bool keepTexts_ = true;
    std::deque<PromptAnswer> answers_;
    std::vector<RecordedPrompt> prompts_;
    std::vector<Path> opened_;
    size_t shownCharacters_ = 0;
};
