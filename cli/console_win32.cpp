#include <windows.h>

#include <algorithm>
#include <string>

#include "cli/console.h"

namespace {

HANDLE HandleOf(Stream stream) {
    return GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
}

class Win32Console : public Console {
  public:
    bool IsTerminal(Stream stream) override {
        DWORD mode = 0;
        return GetConsoleMode(HandleOf(stream), &mode) != FALSE;
    }

    // A console shows UTF-16 through WriteConsoleW whatever its code page; redirected output
    // gets UTF-8.
    void WriteText(Stream stream, std::string_view utf8) override {
        if (!IsTerminal(stream)) {
            WriteBytes(stream, utf8);
            return;
        }
        const int size = static_cast<int>(utf8.size());
        std::wstring wide(static_cast<size_t>(size), L'\0');
        const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), size);
        DWORD written = 0;
        WriteConsoleW(HandleOf(stream), wide.data(), static_cast<DWORD>(std::max(length, 0)),
                      &written, nullptr);
    }

    bool WriteBytes(Stream stream, std::string_view bytes) override {
        while (!bytes.empty()) {
            const DWORD size = static_cast<DWORD>(std::min<size_t>(bytes.size(), 1 << 24));
            DWORD written = 0;
            if (!WriteFile(HandleOf(stream), bytes.data(), size, &written, nullptr) ||
                written == 0) {
                return false;
            }
            bytes.remove_prefix(written);
        }
        return true;
    }
};

}  // namespace

bool ReadStandardInput(std::string& bytes) {
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char block[1 << 16];
    while (true) {
        DWORD read = 0;
        if (!ReadFile(input, block, sizeof block, &read, nullptr)) {
            // A pipe whose writer has closed ends the input.
            return GetLastError() == ERROR_BROKEN_PIPE;
        }
        if (read == 0) {
            return true;
        }
        bytes.append(block, read);
    }
}

Console& SystemConsole() {
    static Win32Console console;
    return console;
}
