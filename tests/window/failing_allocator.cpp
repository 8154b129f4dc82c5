// Linked into a test build of orvandel.exe: every allocation larger than 256 KiB fails, as it
// would when memory runs out in the middle of a run on a large file.
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kLargest = 256 * 1024;

void* Allocate(std::size_t size) {
    void* block = size <= kLargest ? std::malloc(size == 0 ? 1 : size) : nullptr;
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

}  // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
