#include "cli/worker_pool.h"

#include <atomic>
#include <thread>
#include <vector>

void RunInParallel(size_t count, unsigned workers, const std::function<void(size_t)>& work) {
    std::atomic<size_t> next{0};
    const auto drain = [&] {
        for (size_t i = next++; i < count; i = next++) {
            work(i);
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < workers && t < count; ++t) {
        threads.emplace_back(drain);
    }
    drain();
    for (std::thread& thread : threads) {
        thread.join();
    }
}
