// Counts what the whole process, the loaded plug-in module included, does to the heap while a
// piece of code runs (see HeapUse.cpp for how the module's calls are reached).
#pragma once

struct HeapUse {
    long allocations = 0;
    long releases = 0;
};

void startCountingHeapUse();
HeapUse stopCountingHeapUse();

// Runs body with the counter armed; body must not itself allocate (no test assertions inside).
template <typename Body> HeapUse heapUseOf(Body&& body) {
    startCountingHeapUse();
    body();
    return stopCountingHeapUse();
}
