// Holds Wine's virtual desktop open for a whole test run. Without a window on it the desktop
// closes as soon as the last test window goes, and the next window pays for starting it again.
// Usage: desktop_keeper.exe READY_FILE — the file is written once the desktop is up.
#include <windows.h>
#include <shellapi.h>

namespace {

bool WriteReadyFile(const wchar_t* path) {
    HANDLE file =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    return true;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc != 2) {
        return 2;
    }

    // One keeper per Wine server is enough; a second one only confirms the desktop is up.
    HANDLE single = CreateMutexW(nullptr, FALSE, L"OrvandelDesktopKeeper");
    if (single != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
        return WriteReadyFile(argv[1]) ? 0 : 1;
    }

    WNDCLASSW window_class{};
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = instance;
    window_class.lpszClassName = L"OrvandelDesktopKeeper";
    if (RegisterClassW(&window_class) == 0) {
        return 1;
    }
    // Creating a top-level window waits until Wine's desktop process is running; it stays hidden.
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, window_class.lpszClassName, L"", WS_POPUP, 0, 0,
                                  1, 1, nullptr, nullptr, instance, nullptr);
    if (window == nullptr || !WriteReadyFile(argv[1])) {
        return 1;
    }
    LocalFree(argv);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
