#include "tools/validator/BackgroundAudio.h"

#include "tools/validator/CheckSupport.h"
#include "tools/validator/EffectUnderTest.h"
#include "tools/validator/GuardedChannels.h"

BackgroundAudio::BackgroundAudio(EffectUnderTest& effect, std::uint64_t seed, int blockSize)
    : thread(&BackgroundAudio::run, this, std::ref(effect), seed, blockSize) {}

BackgroundAudio::~BackgroundAudio() {
    stopping.store(true, std::memory_order_release);
    if (thread.joinable()) {
        thread.join();
    }
}

void BackgroundAudio::waitForBlocks(long count) const {
    while (blocks() < count && running()) {
        std::this_thread::yield();
    }
}

long BackgroundAudio::stop() {
    stopping.store(true, std::memory_order_release);
    if (thread.joinable()) {
        thread.join();
    }
    expect(failure.empty(), failure);
    return blocks();
}

void BackgroundAudio::run(EffectUnderTest& effect, std::uint64_t seed, int blockSize) {
    Random random(seed);
    GuardedChannels inputs(effect.numInputs(), blockSize);
    GuardedChannels outputs(effect.numOutputs(), blockSize);
    try {
        while (!stopping.load(std::memory_order_acquire)) {
            inputs.fillNoise(random, 0.5f);
            outputs.fill(0.0f);
            const bool replacing =
                canRun(effect, ProcessCall::Replacing) &&
                (!canRun(effect, ProcessCall::Accumulating) || random.chance(0.5));
            processChecked(effect, replacing ? ProcessCall::Replacing : ProcessCall::Accumulating,
                           inputs, outputs, false,
                           "block " + std::to_string(blocks()) + " on the audio thread");
            processed.fetch_add(1, std::memory_order_release);
        }
    } catch (const CheckFailure& error) {
        failure = error.what();
        failed.store(true, std::memory_order_release);
    }
}
