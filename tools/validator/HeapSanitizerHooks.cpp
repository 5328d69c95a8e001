// Under AddressSanitizer and ThreadSanitizer the allocator belongs to the sanitizer, which
// reports every allocation and release to the hooks installed here.
#include "tools/validator/CallCounterHooks.h"

#include <cstddef>

// The sanitizers' runtimes export it; GCC ships no header that declares it.
extern "C" int __sanitizer_install_malloc_and_free_hooks(
    void (*onAllocation)(const volatile void* block, std::size_t size),
    void (*onRelease)(const volatile void* block));

namespace {

void onAllocation(const volatile void*, std::size_t) {
    CallCounter::noteHeapCall("an allocation (malloc or new)");
    CallCounter::noteHeapBlocks(1);
}

void onRelease(const volatile void*) {
    CallCounter::noteHeapCall("a release (free or delete)");
    CallCounter::noteHeapBlocks(-1);
}

[[maybe_unused]] const int hooksInstalled =
    __sanitizer_install_malloc_and_free_hooks(onAllocation, onRelease);

} // namespace
