// Replaces the global operator new and delete of the benchmark program with counting versions.
#include "bench/allocation_tracker.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<size_t> inUse{0};
std::atomic<size_t> peak{0};
std::atomic<size_t> base{0};

void* Allocate(size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    const size_t now = inUse += malloc_usable_size(block);
    size_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
    return block;
}

void Release(void* block) noexcept {
    if (block != nullptr) {
        inUse -= malloc_usable_size(block);
        std::free(block);
    }
}

}  // namespace

void* operator new(size_t size) {
    return Allocate(size);
}
void* operator new[](size_t size) {
    return Allocate(size);
}
void operator delete(void* block) noexcept {
    Release(block);
}
void operator delete[](void* block) noexcept {
    Release(block);
}
void operator delete(void* block, size_t) noexcept {
    Release(block);
}
void operator delete[](void* block, size_t) noexcept {
    Release(block);
}

namespace allocation_tracker {

void ResetPeak() {
    base = inUse.load();
    peak = base.load();
}

size_t PeakSinceReset() {
    return peak - base;
}

}  // namespace allocation_tracker
