#include <windows.h>

#include <fstream>
#include <iterator>

#include "files/unique_handle_win32.h"
#include "tests/cli_program.h"
#include "tests/temp_folder.h"

namespace fs = std::filesystem;

namespace {

UniqueFileHandle InheritableFile(const fs::path& path) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return UniqueFileHandle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

ProgramResult RunProgram(const std::vector<fs::path>& arguments) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    const fs::path program = fs::path(self).parent_path() / L"..\\cli\\orvandel-cli.exe";
    const TempFolder capture;
    ProgramResult result;
    {
        UniqueFileHandle out = InheritableFile(capture.Root() / L"out");
        UniqueFileHandle err = InheritableFile(capture.Root() / L"err");
        // No argument here holds a quote or ends in a backslash: quoting each is enough.
        std::wstring commandLine = L"\"" + program.native() + L"\"";
        for (const auto& argument : arguments) {
            commandLine += L" \"" + argument.native() + L"\"";
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = out.Get();
        startup.hStdError = err.Get();
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                            nullptr, &startup, &process)) {
            return result;
        }
        WaitForSingleObject(process.hProcess, INFINITE);
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        result.exitCode = static_cast<int>(code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    result.out = ReadAll(capture.Root() / L"out");
    result.err = ReadAll(capture.Root() / L"err");
    return result;
}
