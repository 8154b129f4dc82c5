// A stand-in for the window in benchmarks: fixed fields, and every prompt answered at once (No to
// the offer to open). The prompt texts are still built in full, as for the window.
#pragma once

#include "processing/processing_run.h"

class SilentHost : public ProcessingHost {
  public:
    SilentHost(Path source, Path folder) : source_(std::move(source)), folder_(std::move(folder)) {}
    WideText Text1() override { return source_; }
    WideText Text2() override { return folder_; }
    void SetCommand1Enabled(bool) override {}
    WindowHandle Handle() override { return nullptr; }
    PromptAnswer MessagePrompt(const Prompt& prompt) override {
        shownCharacters += prompt.text.size();
        return PromptAnswer::No;
    }
    size_t shownCharacters = 0;

  private:
    Path source_;
    Path folder_;
};
