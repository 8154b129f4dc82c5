#include "processing/processing_run.h"

#include <new>
#include <stdexcept>

#include "files/code_page.h"
#include "files/mdlPub.h"
#include "files/texts.h"
#include "files/utf8.h"
#include "processing/comment_passes.h"
#include "processing/languages/language_table.h"

namespace {

// Shows one stage's text. The storage of `shown` goes to the prompt and comes back, so that the
// three stages share one buffer: for a large file it is the run's biggest.
void ShowStage(ProcessingHost& host, std::string_view text, const char16_t* title,
               DisplayText& shown) {
    DecodeForDisplay(text, shown);
    Prompt stage{std::move(shown), PromptButtons::Ok, PromptIcon::None, title};
    host.MessagePrompt(stage);
    shown = std::move(stage.text);
}

void ShowWarning(ProcessingHost& host, DisplayText text) {
    host.MessagePrompt({std::move(text), PromptButtons::Ok, PromptIcon::Exclamation});
}

// Everything after the existence check: the stages, the save and the offer to open the result.
// `Command1` is disabled on entry; `saved` tells once the result is on disk.
void ProcessExistingSource(ProcessingHost& host, StripOptions options, bool& saved) {
    // All stages share two buffers, the file's bytes and their decoding for display: the passes
    // work in place and the first pass reads into the buffer the source was shown from. A large
    // file thus costs no more memory than these two, and no fresh pages after the first stage.
    DisplayText shown;
    AnsiText working = mdlPub::ReadTextForDisplay(host.Text1(), host);
    if (const Language* language = LanguageOfFile(host.Text1(), working)) {
        UseLanguage(*language, options);
    }
    ShowStage(host, working, texts::kBeforeTitle, shown);

    if (!StripLineComments(host.Text1(), working, options)) {
        host.SetCommand1Enabled(true);
        ShowWarning(host, texts::kCannotReadSource);
        return;
    }
    ShowStage(host, working, texts::kLineCommentsTitle, shown);

    StripBlockCommentsInPlace(working, options);
    host.SetCommand1Enabled(true);
    ShowStage(host, working, texts::kBlockCommentsTitle, shown);
    shown = DisplayText();

    const Path output = host.Text2() + mdlPub::FileNameOf(host.Text1());
    saved = mdlPub::SaveText(output, working);
    working = AnsiText();
    if (!saved) {
        ShowWarning(host, texts::kSaveFailed + ToDisplayText(output));
        return;
    }
    const Prompt offer{texts::kSavedOpen + ToDisplayText(output), PromptButtons::YesNo,
                       PromptIcon::Information};
    if (host.MessagePrompt(offer) == PromptAnswer::Yes) {
        host.OpenResult(output);
    }
}

}  // namespace

void ProcessingRun(ProcessingHost& host) {
    if (!mdlPub::FileExists(host.Text1())) {
        host.MessagePrompt({texts::kSourceMissing});
        return;
    }
    const StripOptions options = host.Options();
    host.SetCommand1Enabled(false);
    bool saved = false;
    const auto outOfMemory = [&] {
        host.SetCommand1Enabled(true);
        // Once the result is written, saying that nothing could be processed would be false.
        ShowWarning(host, saved ? texts::kSavedButOutOfMemory : texts::kOutOfMemory);
    };
    try {
        ProcessExistingSource(host, options, saved);
    } catch (const std::bad_alloc&) {
        outOfMemory();
    } catch (const std::length_error&) {
        outOfMemory();
    }
}
