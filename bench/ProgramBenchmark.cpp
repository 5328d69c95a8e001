// processReplacing with each of the ten built-in programs at 48 kHz in blocks of 512 frames.
// Reports the time per stereo frame and the real-time factor (seconds of audio processed per
// second of computing), after two seconds of warm-up so that the delay lines are full.
#include "effect/FactoryPresets.h"
#include "effect/FeedbackEffect.h"
#include "host/VstInterface.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr float kSampleRate = 48000.0f;
constexpr int kBlockFrames = 512;
constexpr double kBeatsPerBlock = kBlockFrames * 120.0 / (60.0 * kSampleRate);

// The host's transport at 120 beats per minute, moved on by the benchmark after every block.
VstTimeInfo hostTime{};

VstIntPtr VSTCALLBACK benchmarkHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    if (opcode == audioMasterVersion) {
        return 2400;
    }
    if (opcode == audioMasterGetTime) {
        return reinterpret_cast<VstIntPtr>(&hostTime);
    }
    return 0;
}

void processProgram(benchmark::State& state) {
    const int program = static_cast<int>(state.range(0));
    state.SetLabel(factoryPresetName(program));
    hostTime = {};
    hostTime.tempo = 120.0;
    hostTime.sampleRate = kSampleRate;
    hostTime.flags = kVstPpqPosValid | kVstTempoValid;

    auto effect = std::make_unique<FeedbackEffect>(benchmarkHost);
    effect->setSampleRate(kSampleRate);
    effect->setBlockSize(kBlockFrames);
    effect->setProgram(program);
    effect->resume();

    // Noise at -20 dB with a fixed seed, fresh for every block (the engine writes its inputs).
    std::mt19937 random(42);
    std::uniform_real_distribution<float> noise(-0.1f, 0.1f);
    std::vector<float> source(2 * kBlockFrames);
    for (float& sample : source) {
        sample = noise(random);
    }
    std::vector<float> buffers[4];
    for (auto& buffer : buffers) {
        buffer.assign(kBlockFrames, 0.0f);
    }
    float* inputs[2] = {buffers[0].data(), buffers[1].data()};
    float* outputs[2] = {buffers[2].data(), buffers[3].data()};
    const auto runBlock = [&] {
        std::copy_n(source.begin(), kBlockFrames, buffers[0].begin());
        std::copy_n(source.begin() + kBlockFrames, kBlockFrames, buffers[1].begin());
        effect->processReplacing(inputs, outputs, kBlockFrames);
        hostTime.ppqPos += kBeatsPerBlock;
    };
    for (int block = 0; block < 2 * kSampleRate / kBlockFrames; ++block) {
        runBlock();
    }

    for (auto _ : state) {
        runBlock();
        benchmark::DoNotOptimize(buffers[2].data());
        benchmark::ClobberMemory();
    }
    using benchmark::Counter;
    // Seconds of (CPU) time per stereo frame, printed with an SI prefix (n for nanoseconds).
    state.counters["time_per_frame"] =
        Counter(kBlockFrames, Counter::kIsIterationInvariantRate | Counter::kInvert);
    state.counters["realtime_factor"] =
        Counter(kBlockFrames / kSampleRate, Counter::kIsIterationInvariantRate);
}

} // namespace

BENCHMARK(processProgram)->DenseRange(0, kNumPrograms - 1)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
