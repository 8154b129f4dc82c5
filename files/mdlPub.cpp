#include "files/mdlPub.h"

#include <algorithm>
#include <cstring>
#include <cwctype>

#include "files/byte_scan.h"
#include "files/file_system.h"

namespace mdlPub {

void LineRewriter::WriteLine(std::string_view line) {
    const size_t end = static_cast<size_t>(line.data() - text_.data()) + line.size();
    if (!spilling_ && end + 2 <= reader_.Position()) {
        // The two bytes after the line are read already: its own CR LF, or the "//" where it was
        // cut. CR LF goes there, and the line joins the run of lines before it when it follows
        // them. The new text stays behind the lines read, so the run's bytes are still in place.
        text_[end] = '\r';
        text_[end + 1] = '\n';
        if (pendingSize_ == 0 || pending_ + pendingSize_ != line.data()) {
            MovePending();
            pending_ = line.data();
        }
        pendingSize_ += line.size() + 2;
        written_ += line.size() + 2;
        return;
    }
    MovePending();
    WriteWithCrLf(line);
}

void LineRewriter::MovePending() {
    char* const to = text_.data() + written_ - pendingSize_;
    if (pendingSize_ != 0 && to != pending_) {
        std::memmove(to, pending_, pendingSize_);
    }
    pendingSize_ = 0;
}

void LineRewriter::WriteWithCrLf(std::string_view line) {
    if (!spilling_ && written_ + line.size() + 2 > reader_.Position()) {
        spilling_ = true;
        spilled_.reserve(text_.size() + text_.size() / 8 + 2);
        spilled_.assign(text_, 0, written_);
    }
    if (spilling_) {
        spilled_.append(line).append("\r\n");
        return;
    }
    char* const to = text_.data() + written_;
    if (to != line.data()) {  // while nothing has been dropped, lines stay where they are
        std::memmove(to, line.data(), line.size());
    }
    to[line.size()] = '\r';
    to[line.size() + 1] = '\n';
    written_ += line.size() + 2;
}

void LineRewriter::Finish() {
    MovePending();
    if (spilling_) {
        text_ = std::move(spilled_);
    } else {
        text_.resize(written_);
    }
}

bool FileExists(const Path& path) {
    return CanOpenForReading(path);
}

namespace {}  // namespace

AnsiText ReadTextForDisplay(const Path& path, Prompter& prompter) {
    AnsiText display;
    const bool complete = ReadWholeFile(path, display);
    if (byte_scan::EveryLineEndIsCrLf(display)) {
        // The common case: the file already is its own display text, but for a final CR LF.
        if (display.size() >= 2 && display.compare(display.size() - 2, 2, "\r\n") == 0) {
            display.resize(display.size() - 2);
        }
    } else {
        LineRewriter lines(display);
        std::string_view line;
        while (lines.ReadLine(line)) {
            lines.WriteLine(line);
        }
        lines.Finish();
        if (!display.empty()) {
            display.resize(display.size() - 2);
        }
    }
    if (!complete) {
        prompter.MessagePrompt(
            {u"不存在该文件或该文件不能访问！", PromptButtons::Ok, PromptIcon::Exclamation});
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

bool IsRunnableType(const Path& path, std::wstring_view pathext) {
    static constexpr std::wstring_view kAlwaysRunnable =
        L".lnk;.scr;.pif;.hta;.cpl;.msi;.msc;.ps1;.reg;.url";
    // Windows ignores trailing dots and spaces, so «a.exe.» runs as «a.exe».
    Path name = FileNameOf(path);
    name.erase(name.find_last_not_of(L". ") + 1);
    const size_t dot = name.rfind(L'.');
    if (dot == Path::npos) {
        return false;
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
