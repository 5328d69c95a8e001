// A host's audio thread: processes blocks of noise through the effect, each checked, until
// stopped, while the calling thread does the GUI thread's part.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <thread>

class EffectUnderTest;

class BackgroundAudio {
public:
    BackgroundAudio(EffectUnderTest& effect, std::uint64_t seed, int blockSize);
    ~BackgroundAudio(); // stops the thread
    BackgroundAudio(const BackgroundAudio&) = delete;
    BackgroundAudio& operator=(const BackgroundAudio&) = delete;

    // Blocks processed so far.
    long blocks() const { return processed.load(std::memory_order_acquire); }
    // False once the thread has stopped on something wrong; stop() tells what.
    bool running() const { return !failed.load(std::memory_order_acquire); }
    // Returns once the thread has processed this many blocks (or has stopped on a failure).
    void waitForBlocks(long count) const;
    // Stops the thread and gives the number of blocks it processed; throws CheckFailure with
    // the first thing it found wrong.
    long stop();

private:
    void run(EffectUnderTest& effect, std::uint64_t seed, int blockSize);

    std::atomic<bool> stopping{false};
    std::atomic<bool> failed{false};
    std::atomic<long> processed{0};
    std::string failure; // written by the thread, read after it is joined
    std::thread thread;
};
