#include "ui/message_box.h"

#include "ui/display_text.h"
#include "ui/text_viewer.h"

namespace {

constexpr size_t kMaxLines = 25;
constexpr size_t kMaxLineLength = 100;

UINT MessageBoxStyle(const Prompt& prompt) {
    UINT style = prompt.buttons == PromptButtons::YesNo ? MB_YESNO : MB_OK;
    switch (prompt.icon) {
        case PromptIcon::Information:
            style |= MB_ICONINFORMATION;
            break;
        case PromptIcon::Exclamation:
            style |= MB_ICONEXCLAMATION;
            break;
        case PromptIcon::None:
            break;
    }
    return style;
}

}  // namespace

bool FitsMessageBox(std::u16string_view text) {
    size_t lines = 1;
    size_t lineStart = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == u'\n') {
            size_t length = i - lineStart;
            if (length > 0 && text[i - 1] == u'\r') {
                --length;
            }
            if (length > kMaxLineLength) {
                return false;
            }
            lineStart = i + 1;
            if (i < text.size() && ++lines > kMaxLines) {
                return false;
            }
        }
    }
    return true;
}

PromptAnswer ShowMessagePrompt(HWND owner, const Prompt& prompt) {
    if (!FitsMessageBox(prompt.text)) {
        return ShowTextViewer(owner, prompt);
    }
    switch (MessageBoxW(owner, WindowsText(prompt.text), WindowsText(prompt.title),
                        MessageBoxStyle(prompt))) {
        case IDYES:
            return PromptAnswer::Yes;
        case IDNO:
            return PromptAnswer::No;
        default:
            return PromptAnswer::Ok;
    }
}
