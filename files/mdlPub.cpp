#include "files/mdlPub.h"

#include <algorithm>
#include <cstring>
#include <cwctype>

#include "files/file_system.h"

namespace mdlPub {

size_t LineReader::Next(char byte, size_t& cached) const {
    if (cached == kUnknown || cached < position_) {
        const void* found = std::memchr(data_.data() + position_, byte, data_.size() - position_);
        cached = found ? static_cast<const char*>(found) - data_.data() : data_.size();
    }
    return cached;
}

bool LineReader::ReadLine(std::string_view& line) {
    if (position_ >= data_.size()) {
        return false;
    }
    const size_t end = std::min(Next('\r', nextCr_), Next('\n', nextLf_));
    line = data_.substr(position_, end - position_);
    position_ = end + 1;
    if (end < data_.size() && data_[end] == '\r' && position_ < data_.size() &&
        data_[position_] == '\n') {
        ++position_;
    }
    return true;
}

void LineRewriter::Write(std::string_view piece) {
    if (!spilling_ && written_ + piece.size() > reader_.Position()) {
        spilling_ = true;
        spilled_.reserve(text_.size() + text_.size() / 8 + 2);
        spilled_.assign(text_, 0, written_);
    }
    if (spilling_) {
        spilled_.append(piece);
    } else {
        char* const to = text_.data() + written_;
        if (to != piece.data()) {  // while nothing has been dropped, lines stay where they are
            std::memmove(to, piece.data(), piece.size());
        }
        written_ += piece.size();
    }
}

void LineRewriter::Finish() {
    if (spilling_) {
        text_ = std::move(spilled_);
    } else {
        text_.resize(written_);
    }
}

bool FileExists(const Path& path) {
    return CanOpenForReading(path);
}

namespace {

// True when every line end of `text` is CR LF: then it already is its own display text, but for
// a final CR LF.
bool AllLineEndsAreCrLf(std::string_view text) {
    // Plain counting loops, which the compiler vectorises.
    size_t crs = 0;
    size_t lfs = 0;
    size_t pairs = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        crs += text[i] == '\r';
        lfs += text[i] == '\n';
    }
    for (size_t i = 1; i < text.size(); ++i) {
        pairs += static_cast<size_t>(text[i] == '\n') & static_cast<size_t>(text[i - 1] == '\r');
    }
    return crs == pairs && lfs == pairs;
}

}  // namespace

AnsiText ReadTextForDisplay(const Path& path, Prompter& prompter) {
    AnsiText display;
    const bool complete = ReadWholeFile(path, display);
    if (AllLineEndsAreCrLf(display)) {
        // The common case, checked in one pass instead of taking the file line by line.
        if (display.size() >= 2 && display.compare(display.size() - 2, 2, "\r\n") == 0) {
            display.resize(display.size() - 2);
        }
    } else {
        LineRewriter lines(display);
        std::string_view line;
        while (lines.ReadLine(line)) {
            lines.Write(line);
            lines.Write("\r\n");
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
