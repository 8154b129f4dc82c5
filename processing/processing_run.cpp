#include "processing/processing_run.h"

#include <new>
#include <stdexcept>

#include "files/code_page.h"
#include "files/mdlPub.h"
#include "files/utf8.h"
#include "processing/comment_passes.h"

namespace {

constexpr char16_t kCannotReadSource[] = u"不存在该文件或该文件不能访问！";
constexpr char16_t kOutOfMemory[] = u"内存不足，无法处理该文件！";

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
// `Command1` is disabled on entry.
void ProcessExistingSource(ProcessingHost& host, ShellOpener shellOpen) {
    // All stages share two buffers, the file's bytes and their decoding for display: the passes
    // work in place and the first pass reads into the buffer the source was shown from. A large
    // file thus costs no more memory than these two, and no fresh pages after the first stage.
    DisplayText shown;
    AnsiText working = mdlPub::ReadTextForDisplay(host.Text1(), host);
    ShowStage(host, working, u"未处理前的文件", shown);

    if (!StripLineComments(host.Text1(), working)) {
        host.SetCommand1Enabled(true);
        ShowWarning(host, kCannotReadSource);
        return;
    }
    ShowStage(host, working, u"第一步，去除“//”", shown);

    StripBlockCommentsInPlace(working);
    host.SetCommand1Enabled(true);
    ShowStage(host, working, u"第二步，去除“/**/”", shown);
    shown = DisplayText();

    const Path output = host.Text2() + mdlPub::FileNameOf(host.Text1());
    const bool saved = mdlPub::SaveText(output, working);
    working = AnsiText();
    if (!saved) {
        ShowWarning(host, u"保存失败！\r\n\r\n" + ToDisplayText(output));
        return;
    }
    const Prompt offer{u"保存成功！ 是否打开该文件？\r\n\r\n" + ToDisplayText(output),
                       PromptButtons::YesNo, PromptIcon::Information};
    if (host.MessagePrompt(offer) == PromptAnswer::Yes) {
        shellOpen(host.Handle(), output);
    }
}

}  // namespace

void ProcessingRun(ProcessingHost& host, ShellOpener shellOpen) {
    if (!mdlPub::FileExists(host.Text1())) {
        host.MessagePrompt({u"要处理的文件不存在"});
        return;
    }
    host.SetCommand1Enabled(false);
    try {
        ProcessExistingSource(host, shellOpen);
    } catch (const std::bad_alloc&) {
        host.SetCommand1Enabled(true);
        ShowWarning(host, kOutOfMemory);
    } catch (const std::length_error&) {
        host.SetCommand1Enabled(true);
        ShowWarning(host, kOutOfMemory);
    }
}
