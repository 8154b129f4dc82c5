#include "cli/worker_pool.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

unsigned RunInParallel(size_t count, unsigned workers, const std::function<void(size_t)>& work) {
    std::atomic<size_t> next{0};
    std::mutex failureMutex;
    std::exception_ptr failure;
    const auto drain = [&] {
        try {
            for (size_t i = next++; i < count; i = next++) {
                work(i);
            }
        } catch (...) {
            next = count;
            const std::lock_guard lock(failureMutex);
            failure = failure ? failure : std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < workers && t < count; ++t) {
        try {
            threads.emplace_back(drain);
        } catch (const std::system_error&) {
            break;  // the threads already started do the work
        }
    }
    drain();
    for (std::thread& thread : threads) {
        thread.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    return static_cast<unsigned>(threads.size()) + 1;
}
