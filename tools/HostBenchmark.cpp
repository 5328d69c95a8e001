#include "tools/HostBenchmark.h"

#include "tools/HostError.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <random>
#include <thread>
#include <vector>

namespace {

constexpr int stereo = 2;
constexpr float noiseLevel = 0.1f; // -20 dBFS peak

double processCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

} // namespace

double BenchmarkResult::realTimeFactor() const {
    return static_cast<double>(frames) / HostBenchmark::sampleRate / cpuSeconds;
}

HostBenchmark::HostBenchmark(EffectHost& host) : host(host) {
    const AEffect& effect = host.effect();
    if (effect.processReplacing == nullptr || effect.numOutputs < 1) {
        throw HostError("the plug-in has no processReplacing or no outputs to time");
    }
    host.transport().configure(sampleRate, host.transport().tempo(), host.transport().startBeat());
    host.dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
    host.dispatch(effSetBlockSize, 0, blockSize);
}

BenchmarkResult HostBenchmark::run(double seconds) {
    AEffect& effect = host.effect();
    const auto channels = [](int count) {
        return std::vector<std::vector<float>>(static_cast<std::size_t>(std::max(count, stereo)),
                                               std::vector<float>(blockSize));
    };
    std::vector<std::vector<float>> inputs = channels(effect.numInputs);
    std::vector<std::vector<float>> outputs = channels(effect.numOutputs);
    std::vector<float*> inputPointers, outputPointers;
    for (auto& channel : inputs) {
        inputPointers.push_back(channel.data());
    }
    for (auto& channel : outputs) {
        outputPointers.push_back(channel.data());
    }
    // A second of noise with a fixed seed, fed again and again (the effect may write its inputs).
    std::mt19937 random(42);
    std::uniform_real_distribution<float> noise(-noiseLevel, noiseLevel);
    const int noiseBlocks = static_cast<int>(sampleRate) / blockSize;
    std::vector<float> source(static_cast<std::size_t>(noiseBlocks * blockSize) * inputs.size());
    for (float& sample : source) {
        sample = noise(random);
    }

    std::int64_t position = 0;
    const auto block = [&] {
        const std::size_t at =
            static_cast<std::size_t>(position / blockSize % noiseBlocks) * blockSize;
        for (std::size_t channel = 0; channel < inputs.size(); ++channel) {
            std::copy_n(source.begin() +
                            static_cast<std::ptrdiff_t>(at * inputs.size() + channel * blockSize),
                        blockSize, inputs[channel].begin());
        }
        host.transport().moveTo(position);
        effect.processReplacing(&effect, inputPointers.data(), outputPointers.data(), blockSize);
        position += blockSize;
    };

    host.dispatch(effMainsChanged, 0, 1);
    // The warm-up runs at the pace of real time, as in a host, so that work an effect hands to
    // threads of its own (applying settings, allocating lines) is done before the timing.
    const std::int64_t warmUp = std::llround(warmUpSeconds * sampleRate / blockSize);
    const auto blockDuration =
        std::chrono::microseconds(std::llround(1e6 * blockSize / sampleRate));
    for (std::int64_t n = 0; n < warmUp; ++n) {
        block();
        std::this_thread::sleep_for(blockDuration);
    }
    BenchmarkResult result;
    const std::int64_t blocks =
        std::max<std::int64_t>(1, std::llround(seconds * sampleRate / blockSize));
    const double start = processCpuSeconds();
    for (std::int64_t n = 0; n < blocks; ++n) {
        block();
    }
    result.cpuSeconds = processCpuSeconds() - start;
    result.frames = blocks * blockSize;
    host.dispatch(effMainsChanged, 0, 0);
    return result;
}
