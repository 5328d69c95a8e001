#include "tools/validator/CallCounter.h"

#include "tools/validator/CallCounterHooks.h"

#include <atomic>

namespace {

// Plain data, so that the thread's copy exists before any constructor and can be reached from
// malloc and from a signal handler.
struct ThreadCounts {
    bool counting;
    CallCounts counts;
};
thread_local ThreadCounts threadCounts{};

std::atomic<long> liveBlocks{0};

std::string plural(long count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

std::string CallCounts::describe() const {
    std::string text;
    const auto add = [&text](const std::string& part) {
        text += (text.empty() ? "" : ", ") + part;
    };
    if (heapCalls > 0) {
        add(plural(heapCalls, "heap call", "heap calls") + " (first " + firstHeapCall + ")");
    }
    if (lockCalls > 0) {
        add(plural(lockCalls, "lock call", "lock calls") + " (first " + firstLockCall + ")");
    }
    if (systemCalls > 0) {
        add(plural(systemCalls, "system call", "system calls") + " (first " + firstSystemCall +
            ")");
    }
    return text;
}

namespace CallCounter {

void start() {
    threadCounts.counts = CallCounts{};
    threadCounts.counting = true;
}

CallCounts stop() {
    threadCounts.counting = false;
    return threadCounts.counts;
}

const CallCounts& current() {
    return threadCounts.counts;
}

long liveHeapBlocks() {
    return liveBlocks.load(std::memory_order_relaxed);
}

void noteHeapCall(const char* function) noexcept {
    ThreadCounts& state = threadCounts;
    if (state.counting) {
        if (state.counts.heapCalls++ == 0) {
            state.counts.firstHeapCall = function;
        }
    }
}

void noteLockCall(const char* function) noexcept {
    ThreadCounts& state = threadCounts;
    if (state.counting) {
        if (state.counts.lockCalls++ == 0) {
            state.counts.firstLockCall = function;
        }
    }
}

void noteSystemCall(const char* name, long number) noexcept {
    ThreadCounts& state = threadCounts;
    if (state.counting) {
        if (state.counts.systemCalls++ == 0) {
            state.counts.firstSystemCall = name;
            state.counts.firstSystemCallNumber = number;
        }
    }
}

void noteHeapBlocks(long delta) noexcept {
    liveBlocks.fetch_add(delta, std::memory_order_relaxed);
}

} // namespace CallCounter
