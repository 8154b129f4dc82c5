#include "ui/mdlOpen.h"

#include <new>
#include <stdexcept>
#include <system_error>

#include "files/code_page.h"
#include "files/texts.h"
#include "files/utf8.h"

namespace mdlOpen {

namespace {

// Long enough for any path Windows can name.
constexpr size_t kPathBuffer = 32768;
constexpr size_t kFileTitleBuffer = 260;

// An exception's message is in the ANSI code page: the runtime's system messages come from
// FormatMessageA, localised (GBK on a Chinese system) and ending in a line break.
DisplayText DecodeMessage(const char* text) {
    DisplayText shown = DecodeForDisplay(text);
    while (!shown.empty() &&
           (shown.back() == u'\r' || shown.back() == u'\n' || shown.back() == u' ')) {
        shown.pop_back();
    }
    return shown;
}

// The error's number and description. A failed allocation is number 7, "Out of memory", as the
// runtime has long numbered it; a system error carries its own code; any other exception is 5,
// "Invalid procedure call or argument" in that numbering, with its own message.
DisplayText Describe(const std::exception& error) {
    if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr) {
        return texts::kOutOfMemoryError;
    }
    if (const auto* system = dynamic_cast<const std::system_error*>(&error)) {
        return ToDisplayText(std::to_wstring(system->code().value())) + u" " +
               DecodeMessage(system->what());
    }
    return u"5 " + DecodeMessage(error.what());
}

void ShowError(Prompter& prompter, const DisplayText& numberAndDescription) {
    prompter.MessagePrompt({texts::kOpenDialogError + numberAndDescription, PromptButtons::Ok,
                            PromptIcon::None, texts::kOpenDialogErrorTitle});
}

}  // namespace

std::wstring CFamilyFilter() {
    return std::wstring(texts::kOpenDialogFilter, std::size(texts::kOpenDialogFilter) - 1);
}

void FillOpenRecord(OpenRecord& record, HWND owner, const std::wstring& title,
                    const std::wstring& filter) {
    record.title = title;
    // The list ends with an empty part: one more NUL after the last part's own.
    record.filter = filter + L'\0';
    record.file.assign(kPathBuffer, L'\0');
    record.fileTitle.assign(kFileTitleBuffer, L'\0');
    OPENFILENAMEW& fields = record.fields;
    fields = OPENFILENAMEW{};
    fields.lStructSize = sizeof(OPENFILENAMEW);
    fields.hwndOwner = owner;
    fields.lpstrFilter = record.filter.c_str();
    fields.nFilterIndex = 1;
    fields.lpstrFile = record.file.data();
    fields.nMaxFile = static_cast<DWORD>(record.file.size());
    fields.lpstrFileTitle = record.fileTitle.data();
    fields.nMaxFileTitle = static_cast<DWORD>(record.fileTitle.size());
    fields.lpstrInitialDir = nullptr;
    fields.lpstrTitle = record.title.c_str();
    fields.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_SHAREAWARE;
}

std::wstring ShowOpenDialog(HWND owner, const std::wstring& title, const std::wstring& filter,
                            Prompter& prompter, OpenFileCall call) {
    try {
        OpenRecord record;
        FillOpenRecord(record, owner, title, filter);
        if (!call(&record.fields)) {
            return std::wstring();  // cancelled, or the dialog failed: nothing to say
        }
        return std::wstring(record.file.c_str());
    } catch (const std::exception& error) {
        ShowError(prompter, Describe(error));
    } catch (...) {
        ShowError(prompter, texts::kUnknownError);
    }
    return std::wstring();
}

}  // namespace mdlOpen
