#include "files/mdlPub.h"

#include <algorithm>
#include <cstring>
#include <cwctype>

#include "files/byte_scan.h"
#include "files/file_system.h"
#include "files/line_reader.h"

namespace mdlPub {

bool FileExists(const Path& path) {
    return CanOpenForReading(path);
}

namespace {

// The text's lines, each followed by CR LF but the last.
AnsiText WithCrLfLineEnds(std::string_view bytes) {
    AnsiText text;
    text.reserve(bytes.size() + bytes.size() / 8);
    LineReader lines(bytes);
    std::string_view line;
    while (lines.ReadLine(line)) {
        text.append(line).append("\r\n");
    }
    text.resize(text.empty() ? 0 : text.size() - 2);
    return text;
}

}  // namespace

AnsiText ReadTextForDisplay(const Path& path, Prompter& prompter) {
    AnsiText display;
    const bool complete = ReadWholeFile(path, display);
    if (byte_scan::EveryLineEndIsCrLf(display)) {
        // The common case: the file already is its own display text, but for a final CR LF.
        if (display.size() >= 2 && display.compare(display.size() - 2, 2, "\r\n") == 0) {
            display.resize(display.size() - 2);
        }
    } else {
        display = WithCrLfLineEnds(display);
    }
    if (!complete) {
        prompter.MessagePrompt(
            {texts::kCannotReadSource, PromptButtons::Ok, PromptIcon::Exclamation});
    }
    return display;
}

bool SaveText(const Path& path, const AnsiText& text) {
    return ReplaceFileContents(path, text, "\r\n");
}

Path DirectoryOf(const Path& path) {
    const size_t last = path.rfind(L'\\');
    return last == Path::npos ? Path() : path.substr(0, last + 1);
}

Path FileNameOf(const Path& path) {
    return path.substr(DirectoryOf(path).size());
}

bool OpensInNotepad(const Path& path, std::wstring_view pathext) {
    static constexpr std::wstring_view kAlwaysRunnable =
        L".lnk;.scr;.pif;.hta;.cpl;.msi;.msc;.ps1;.reg;.url;.jar;.py;.pyw;.pyz;.pyc;.appref-ms;"
        L".application;.settingcontent-ms;.msp;.chm;.hlp;.inf;.scf;.sct;.ws;.wsc;.jnlp";
    // Windows ignores trailing dots and spaces, so «a.exe.» runs as «a.exe».
    Path name = FileNameOf(path);
    name.erase(name.find_last_not_of(L". ") + 1);
    const size_t dot = name.rfind(L'.');
    if (dot == Path::npos) {
        return true;  // no type: the shell would ask which program to run
    }
    const auto lower = [](std::wstring_view text) {
        std::wstring result(text);
        std::transform(result.begin(), result.end(), result.begin(),
                       [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
        return result;
    };
    const std::wstring extension = lower(std::wstring_view(name).substr(dot));
    for (std::wstring_view list : {pathext, kAlwaysRunnable}) {
        const std::wstring lowered = lower(list);
        std::wstring_view rest = lowered;
        while (!rest.empty()) {
            const size_t semicolon = rest.find(L';');
            if (rest.substr(0, semicolon) == extension) {
                return true;
            }
            rest = semicolon == std::wstring_view::npos ? std::wstring_view()
                                                        : rest.substr(semicolon + 1);
        }
    }
    return false;
}

}  // namespace mdlPub
