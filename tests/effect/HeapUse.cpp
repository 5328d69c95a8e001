// The replaceable allocation functions of this test executable. The module under test is the
// real veltrane.so, loaded with dlopen; it links libstdc++ and libc dynamically and carries no
// allocator of its own, so its calls of operator new and malloc bind to the first definition
// in the process's global scope, which is this executable's. That is why the counter lives
// here rather than in a library the module could bypass, and why the test checks first that
// it sees the effect's own construction. (The Windows DLLs carry their own runtime, so this
// test runs on Linux only.)
#include "HeapUse.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
std::atomic<long> releases{0};

void noteAllocation() noexcept {
    if (counting.load(std::memory_order_relaxed)) {
        allocations.fetch_add(1, std::memory_order_relaxed);
    }
}

void noteRelease(void* pointer) noexcept {
    if (pointer != nullptr && counting.load(std::memory_order_relaxed)) {
        releases.fetch_add(1, std::memory_order_relaxed);
    }
}

} // namespace

void startCountingHeapUse() {
    allocations.store(0);
    releases.store(0);
    counting.store(true);
}

HeapUse stopCountingHeapUse() {
    counting.store(false);
    return {allocations.load(), releases.load()};
}

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELTRANE_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VELTRANE_ADDRESS_SANITIZER 1
#endif

// malloc and its kin too, where the C library lets a program interpose them (glibc, and not
// under AddressSanitizer, which interposes them itself). Operator new then takes its memory
// from glibc directly, so one new counts once.
#if defined(__GLIBC__) && !defined(VELTRANE_ADDRESS_SANITIZER)

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);

void* malloc(std::size_t size) noexcept {
    noteAllocation();
    return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) noexcept {
    noteAllocation();
    return __libc_calloc(count, size);
}
void* realloc(void* pointer, std::size_t size) noexcept {
    noteAllocation();
    return __libc_realloc(pointer, size);
}
void* memalign(std::size_t alignment, std::size_t size) noexcept {
    noteAllocation();
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    noteAllocation();
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** result, std::size_t alignment, std::size_t size) noexcept {
    noteAllocation();
    void* const pointer = __libc_memalign(alignment, size);
    if (pointer == nullptr) {
        return ENOMEM;
    }
    *result = pointer;
    return 0;
}
void free(void* pointer) noexcept {
    noteRelease(pointer);
    __libc_free(pointer);
}
} // extern "C"

namespace {
void* rawAllocate(std::size_t size) noexcept {
    return __libc_malloc(size == 0 ? 1 : size);
}
void* rawAllocateAligned(std::size_t size, std::align_val_t alignment) noexcept {
    return __libc_memalign(static_cast<std::size_t>(alignment), size == 0 ? 1 : size);
}
void rawRelease(void* pointer) noexcept {
    __libc_free(pointer);
}
} // namespace

#else

namespace {
void* rawAllocate(std::size_t size) noexcept {
    return std::malloc(size == 0 ? 1 : size);
}
void* rawAllocateAligned(std::size_t size, std::align_val_t alignment) noexcept {
    const auto align = static_cast<std::size_t>(alignment);
    return std::aligned_alloc(align, (size + align - 1) / align * align);
}
void rawRelease(void* pointer) noexcept {
    std::free(pointer);
}
} // namespace

#endif

namespace {

void* allocateOrNull(std::size_t size) noexcept {
    noteAllocation();
    return rawAllocate(size);
}
void* allocateAlignedOrNull(std::size_t size, std::align_val_t alignment) noexcept {
    noteAllocation();
    return rawAllocateAligned(size, alignment);
}
void* allocate(std::size_t size) {
    if (void* const pointer = allocateOrNull(size)) {
        return pointer;
    }
    throw std::bad_alloc();
}
void* allocateAligned(std::size_t size, std::align_val_t alignment) {
    if (void* const pointer = allocateAlignedOrNull(size, alignment)) {
        return pointer;
    }
    throw std::bad_alloc();
}
void release(void* pointer) noexcept {
    noteRelease(pointer);
    rawRelease(pointer);
}

} // namespace

void* operator new(std::size_t size) {
    return allocate(size);
}
void* operator new[](std::size_t size) {
    return allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return allocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return allocateOrNull(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return allocateAligned(size, alignment);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocateAlignedOrNull(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return allocateAlignedOrNull(size, alignment);
}

void operator delete(void* pointer) noexcept {
    release(pointer);
}
void operator delete[](void* pointer) noexcept {
    release(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    release(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    release(pointer);
}
void operator delete(void* pointer, std::align_val_t) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, std::align_val_t) noexcept {
    release(pointer);
}
void operator delete(void* pointer, std::size_t, std::align_val_t) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, std::size_t, std::align_val_t) noexcept {
    release(pointer);
}
void operator delete(void* pointer, std::align_val_t, const std::nothrow_t&) noexcept {
    release(pointer);
}
void operator delete[](void* pointer, std::align_val_t, const std::nothrow_t&) noexcept {
    release(pointer);
}
