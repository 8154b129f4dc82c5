#include "tests/window/recorder_file_type.h"

#include <tlhelp32.h>

#include "tests/temp_folder.h"
#include "tests/window/driver.h"

namespace {

constexpr wchar_t kRecorderName[] = L"open_recorder.exe";

// The recorder beside this test program, in the tests folder of the build.
std::wstring RecorderPath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.rfind(L'\\') + 1);
    return folder + kRecorderName;
}

void SetDefaultValue(const std::wstring& key, const std::wstring& value) {
    RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool RecorderRuns() {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found;
         more = Process32NextW(snapshot, &entry)) {
        found = lstrcmpiW(entry.szExeFile, kRecorderName) == 0;
    }
    CloseHandle(snapshot);
    return found;
}

}  // namespace

void RegisterRecordingFileType(const std::wstring& extension, const Path& record) {
    const std::wstring type = L"OrvandelRecorder" + extension.substr(1);
    SetDefaultValue(extension, type);
    SetDefaultValue(type + L"\\shell\\open\\command",
                    L"\"" + RecorderPath() + L"\" \"" + record + L"\" \"%1\"");
}

std::wstring WaitForRecord(const Path& record, DWORD milliseconds) {
    // Wine may show the renamed record a moment before it lets it be opened.
    std::string bytes;
    const bool read = WaitFor(
        [&] {
            bytes = ReadBytes(record);
            return bytes != kMissingFile;
        },
        milliseconds);
    if (!read) {
        return L"";
    }
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
}

bool RecorderStarted(const Path& record) {
    return std::filesystem::exists(OsPath(record)) || RecorderRuns();
}
