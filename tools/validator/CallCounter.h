// Counts the calls made into the heap, into locks and into the kernel on one thread while it
// counts, and the heap blocks alive. What is counted depends on the platform and the build
// (coverage() says it): on Linux the validator defines the allocator and lock functions itself
// and exports them, so the module's calls reach it, and traps system calls with seccomp; on
// Windows it patches the module's import table.
#pragma once

#include <string>

class PluginModule;

struct CallCounts {
    long heapCalls = 0;
    long lockCalls = 0;
    long systemCalls = 0;
    // The first function (or system call) of each kind, for the message.
    const char* firstHeapCall = nullptr;
    const char* firstLockCall = nullptr;
    const char* firstSystemCall = nullptr;
    long firstSystemCallNumber = -1;

    long total() const { return heapCalls + lockCalls + systemCalls; }
    // "2 heap calls (first malloc), 1 lock (pthread_mutex_lock)"; empty when there were none.
    std::string describe() const;
};

namespace CallCounter {

// Prepares counting for the module before its entry point runs. Returns what cannot be counted
// in it (for instance an allocator the module defines itself), or empty.
std::string attach(const PluginModule& module);
// One sentence on what this build counts and what it does not.
const char* coverage();

// Starts counting on the calling thread from zero; stop() ends it and gives the counts.
void start();
CallCounts stop();
// The counts so far on the calling thread; allocates nothing, for use while counting.
const CallCounts& current();

// Heap blocks alive that the counter has seen allocated and not freed. On Linux those of the
// whole process; on Windows those the module allocated through its imports.
long liveHeapBlocks();

// From now on, system calls of the calling thread are trapped, counted while it counts and
// fail with ENOSYS; memory mapping and thread exit still work. For good: call it on a thread
// made for the purpose. False when this build does not trap (coverage() says so), or, with
// why, when the system refuses.
bool trapSystemCalls(std::string& whyNot);

} // namespace CallCounter
