#include "cli/interrupt.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<bool> interrupted{false};

// Runs on a thread of its own. Closing the console, logging off and shutting down end the process
// once the handler returns, whatever it answers: those keep their usual course.
BOOL WINAPI OnControl(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) {
        return FALSE;
    }
    return interrupted.exchange(true) ? FALSE : TRUE;  // a second one ends the program
}

}  // namespace

InterruptWatch::InterruptWatch() {
    interrupted = false;
    SetConsoleCtrlHandler(OnControl, TRUE);
}

InterruptWatch::~InterruptWatch() {
    SetConsoleCtrlHandler(OnControl, FALSE);
}

bool InterruptWatch::Requested() const {
    return interrupted;
}
