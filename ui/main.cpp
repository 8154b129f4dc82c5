// Orvandel: removes comments and blank lines from one C, C++ or Java source file.
#include <windows.h>
#include <commctrl.h>

#include "ui/form1.h"
#include "ui/shared_access_key.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    Form1 form;
    if (!form.Create(instance, show)) {
        return 1;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The dialog manager gives the window Tab, Shift+Tab and the access keys.
        bool moved = false;
        form.Guard([&] { moved = MoveFocusForSharedAccessKey(form.Window(), message); });
        if (!moved && !IsDialogMessageW(form.Window(), &message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        form.ReportFailure();
    }
    return static_cast<int>(message.wParam);
}
