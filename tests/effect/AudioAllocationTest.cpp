// The audio path never touches the heap: the built module, driven as a host drives it, makes no
// allocation and no release inside process or processReplacing, whatever the program, the block
// size, the automation between blocks or a panic.
#include "HeapUse.h"

#include "tests/support/PluginHarness.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

constexpr int kNumPrograms = 10;
constexpr int kNumParameters = 111;
constexpr int kCommandResetEngine = 998;
constexpr int kSyncBpm = 3;
constexpr int kBlockSizes[] = {1, 63, 64, 65, 4096};
constexpr int kBlocksPerSize = 16;
constexpr int kLongestBlock = 4096;
constexpr float kRate = 44100.0f;

TEST(AudioAllocation, ProcessingNeverAllocates) {
    PluginHarness host;
    ASSERT_TRUE(host.loaded()) << host.loadError();
    // The host's own bookkeeping must not allocate while the effect runs.
    host.requests.reserve(1024);

    // The counter has to reach into the module: constructing the effect allocates the effect
    // object and its four delay lines there.
    AEffect* effect = nullptr;
    const HeapUse construction = heapUseOf([&] { effect = host.open(); });
    ASSERT_NE(effect, nullptr);
    ASSERT_GE(construction.allocations, 5) << "the counter does not see the module's allocations";

    std::mt19937 random(20240611);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::uniform_int_distribution<int> anyParameter(0, kNumParameters - 1);
    std::vector<float> left(kLongestBlock), right(kLongestBlock), outLeft(kLongestBlock),
        outRight(kLongestBlock);
    host.timeInfo.tempo = 120.0;
    host.timeInfo.sampleRate = kRate;
    host.timeInfo.flags = kVstPpqPosValid | kVstTempoValid;

    for (int program = 0; program < kNumPrograms; ++program) {
        host.dispatch(effSetProgram, 0, program);
        host.start(kRate, kLongestBlock);
        for (const int frames : kBlockSizes) {
            left.resize(frames);
            right.resize(frames);
            outLeft.resize(frames);
            outRight.resize(frames);
            for (int block = 0; block < kBlocksPerSize; ++block) {
                for (int n = 0; n < frames; ++n) {
                    left[n] = unit(random) - 0.5f;
                    right[n] = unit(random) - 0.5f;
                }
                // Between blocks, as a host's automation and the panic button come.
                for (int change = 0; change < 4; ++change) {
                    host.setParameter(anyParameter(random), unit(random));
                }
                if (block % 5 == 2) {
                    host.setParameter(kCommandResetEngine, 0.0f);
                }
                if (block % 4 == 1) {
                    host.setParameter(kSyncBpm, 0.0f); // follow the host's time
                }
                host.answerTime = block % 3 != 0;
                host.timeInfo.ppqPos += frames * 120.0 / (60.0 * kRate);
                host.requests.clear();

                const bool accumulate = block % 2 == 1;
                const HeapUse use = heapUseOf([&] {
                    accumulate ? host.process(left, right, outLeft, outRight)
                               : host.processReplacing(left, right, outLeft, outRight);
                });
                ASSERT_EQ(use.allocations, 0)
                    << (accumulate ? "process" : "processReplacing") << ", program " << program
                    << ", " << frames << " frames, block " << block;
                ASSERT_EQ(use.releases, 0)
                    << (accumulate ? "process" : "processReplacing") << ", program " << program
                    << ", " << frames << " frames, block " << block;
            }
        }
    }
}

} // namespace
