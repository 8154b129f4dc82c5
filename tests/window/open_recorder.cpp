// Stands in for the application associated with a file type: writes the path it was asked to open,
// in UTF-16, into the record file named by its first argument. Started in any other way (copied
// under another program's name), it leaves a file named after itself plus ".ran".
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        CloseHandle(CreateFileW((std::wstring(self) + L".ran").c_str(), GENERIC_WRITE, 0, nullptr,
                                CREATE_ALWAYS, 0, nullptr));
        return 2;
    }
    // Written under another name and renamed, so that a reader never sees half a record.
    const std::wstring partial = std::wstring(argv[1]) + L".partial";
    const HANDLE file =
        CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    DWORD written = 0;
    WriteFile(file, argv[2], static_cast<DWORD>(wcslen(argv[2]) * sizeof(wchar_t)), &written,
              nullptr);
    CloseHandle(file);
    return MoveFileExW(partial.c_str(), argv[1], MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
