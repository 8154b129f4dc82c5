#include "cli/interrupt.h"

#include <signal.h>

#include <atomic>
#include <iterator>

namespace {

// The handler may touch nothing but a lock-free atomic.
std::atomic<bool> interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free);

constexpr int kSignals[] = {SIGINT, SIGTERM};
struct sigaction previous[std::size(kSignals)];

extern "C" void OnInterrupt(int) {
    interrupted.store(true);
}

}  // namespace

// SA_RESETHAND gives the signal back its usual meaning once it has come.
InterruptWatch::InterruptWatch() {
    interrupted = false;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &action, &previous[i]);
    }
}

InterruptWatch::~InterruptWatch() {
    for (size_t i = 0; i < std::size(kSignals); ++i) {
        sigaction(kSignals[i], &previous[i], nullptr);
    }
}

bool InterruptWatch::Requested() const {
    return interrupted;
}
