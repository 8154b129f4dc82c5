#include "files/mdlPub.h"

#include <algorithm>
#include <cwctype>

#include "files/file_system.h"

namespace mdlPub {

bool ReadLine(std::string_view data, size_t& position, std::string_view& line) {
    if (position >= data.size()) {
        return false;
    }
    size_t end = data.find_first_of("\r\n", position);
    if (end == std::string_view::npos) {
        line = data.substr(position);
        position = data.size();
        return true;
    }
    line = data.substr(position, end - position);
    position = end + 1;
    if (data[end] == '\r' && position < data.size() && data[position] == '\n') {
        ++position;
    }
    return true;
}

bool FileExists(const Path& path) {
    return CanOpenForReading(path);
}

AnsiText ReadTextForDisplay(const Path& path, Prompter& prompter) {
    AnsiText contents;
    const bool complete = ReadWholeFile(path, contents);
    AnsiText display;
    display.reserve(contents.size() + contents.size() / 16 + 2);
    size_t position = 0;
    std::string_view line;
    while (ReadLine(contents, position, line)) {
        display.append(line);
        display.append("\r\n");
    }
    if (!display.empty()) {
        display.resize(display.size() - 2);
    }
    if (!complete) {
        prompter.MessagePrompt(
            {L"不存在该文件或该文件不能访问！", PromptButtons::Ok, PromptIcon::Exclamation});
    }
    return display;
}

bool SaveText(const Path& path, const AnsiText& text) {
    AnsiText bytes;
    bytes.reserve(text.size() + 2);
    bytes.append(text);
    bytes.append("\r\n");
    return ReplaceFileContents(path, bytes);
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
