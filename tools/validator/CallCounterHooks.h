// What the interposed functions and hooks tell the counter. Each is cheap and safe to call from
// inside malloc, a lock function or a signal handler: no allocation, no lock.
#pragma once

namespace CallCounter {

void noteHeapCall(const char* function) noexcept;
void noteLockCall(const char* function) noexcept;
void noteSystemCall(const char* name, long number) noexcept;
void noteHeapBlocks(long delta) noexcept;

} // namespace CallCounter
