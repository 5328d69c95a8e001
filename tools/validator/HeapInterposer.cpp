// The allocator functions of the validator's process, defined in the executable and exported
// (validator-exports.list), so that the module's calls bind to them rather than to the C
// library's; they count and pass on to the C library's own entry points. operator new and
// delete, wherever the module gets them from, end here as well.
#include "tools/validator/CallCounterHooks.h"

#include <cerrno>
#include <cstddef>
#include <cstdint>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void* __libc_valloc(std::size_t size);
void* __libc_pvalloc(std::size_t size);
void __libc_free(void* block);
}

namespace {

void* counted(const char* function, void* block) {
    CallCounter::noteHeapCall(function);
    if (block != nullptr) {
        CallCounter::noteHeapBlocks(1);
    }
    return block;
}

bool isPowerOfTwo(std::size_t value) {
    return value != 0 && (value & (value - 1)) == 0;
}

} // namespace

extern "C" {

void* malloc(std::size_t size) noexcept {
    return counted("malloc", __libc_malloc(size));
}

void* calloc(std::size_t count, std::size_t size) noexcept {
    return counted("calloc", __libc_calloc(count, size));
}

void* realloc(void* block, std::size_t size) noexcept {
    CallCounter::noteHeapCall("realloc");
    void* const moved = __libc_realloc(block, size);
    if (block == nullptr && moved != nullptr) {
        CallCounter::noteHeapBlocks(1);
    } else if (block != nullptr && size == 0 && moved == nullptr) {
        CallCounter::noteHeapBlocks(-1); // realloc to 0 frees
    }
    return moved;
}

void* reallocarray(void* block, std::size_t count, std::size_t size) noexcept {
    if (size != 0 && count > SIZE_MAX / size) {
        errno = ENOMEM;
        CallCounter::noteHeapCall("reallocarray");
        return nullptr;
    }
    return realloc(block, count * size);
}

void free(void* block) noexcept {
    CallCounter::noteHeapCall("free");
    if (block != nullptr) {
        CallCounter::noteHeapBlocks(-1);
    }
    __libc_free(block);
}

void* memalign(std::size_t alignment, std::size_t size) noexcept {
    return counted("memalign", __libc_memalign(alignment, size));
}

void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    return counted("aligned_alloc", __libc_memalign(alignment, size));
}

int posix_memalign(void** result, std::size_t alignment, std::size_t size) noexcept {
    if (!isPowerOfTwo(alignment) || alignment % sizeof(void*) != 0) {
        CallCounter::noteHeapCall("posix_memalign");
        return EINVAL;
    }
    void* const block = counted("posix_memalign", __libc_memalign(alignment, size));
    if (block == nullptr) {
        return ENOMEM;
    }
    *result = block;
    return 0;
}

void* valloc(std::size_t size) noexcept {
    return counted("valloc", __libc_valloc(size));
}

void* pvalloc(std::size_t size) noexcept {
    return counted("pvalloc", __libc_pvalloc(size));
}

} // extern "C"
