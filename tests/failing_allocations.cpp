// A program whose memory runs out on demand, for tests of that failure: linked with a program's
// main compiled as programMain, it replaces operator new so that with
// CORRELATORE_FAIL_ALLOCATIONS_AFTER=N in the environment the first N allocations made from main
// on succeed and every later one throws std::bad_alloc, as when memory runs out for good. The
// counting starts at main, so that N means the same whatever the libraries allocate before it.

#include <atomic>
#include <cstdlib>
#include <new>

int programMain(int argc, char** argv);

namespace {

std::atomic<bool> limited{false};
std::atomic<bool> onlyOne{false};
std::atomic<long> allocationsLeft{0};

void* allocate(std::size_t size, std::size_t alignment = 0) {
    if (limited.load(std::memory_order_relaxed)) {
        const long left = allocationsLeft.fetch_sub(1, std::memory_order_relaxed);
        if (left == 0 || (left < 0 && !onlyOne.load(std::memory_order_relaxed)))
            return nullptr;
    }
    if (size == 0)
        size = 1;
    if (alignment == 0)
        return std::malloc(size);
    return std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
}

void* allocateOrThrow(std::size_t size, std::size_t alignment = 0) {
    if (void* memory = allocate(size, alignment))
        return memory;
    throw std::bad_alloc();
}

} // namespace

// Every form, so that each allocation is counted and each release matches its allocation.
void* operator new(std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return allocateOrThrow(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocate(size, static_cast<std::size_t>(alignment));
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete[](void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept {
    std::free(memory);
}
void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(memory);
}
void operator delete[](void* memory, std::align_val_t, const std::nothrow_t&) noexcept {
    std::free(memory);
}

int main(int argc, char** argv) {
    if (const char* limit = std::getenv("CORRELATORE_FAIL_ALLOCATIONS_AFTER")) {
        allocationsLeft = std::atol(limit);
        limited = true;
    }
    if (const char* number = std::getenv("CORRELATORE_FAIL_ALLOCATION")) {
        allocationsLeft = std::atol(number);
        limited = true;
        onlyOne = true;
    }
    return programMain(argc, argv);
}
