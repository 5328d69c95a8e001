// soak: long running under random automation, block sizes and program changes, as a session
// left playing overnight; counts rather than stops at the first bad sample.
#include "tools/validator/CheckSupport.h"
#include "tools/validator/EffectUnderTest.h"
#include "tools/validator/GuardedChannels.h"
#include "tools/validator/SampleScan.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <iostream>

namespace {

constexpr float kRate = 48000.0f;
constexpr int kLongestBlock = 4096;
constexpr int kFramesPerChange = 32;
constexpr double kSecondsPerProgram = 2.0; // of audio, on average
constexpr double kSecondsBetweenReports = 60.0;

struct Tally {
    long long samples = 0;
    float peak = 0.0f;
    long long nonFinite = 0;
    long long subnormal = 0;
    std::string first; // the first bad sample and where
};

void count(const GuardedChannels& outputs, int channels, int frames, Tally& tally,
           long long position) {
    for (int channel = 0; channel < channels; ++channel) {
        const float* const samples = outputs.channel(channel);
        for (int frame = 0; frame < frames; ++frame) {
            const float value = samples[frame];
            const int kind = std::fpclassify(value);
            if (kind == FP_NAN || kind == FP_INFINITE || kind == FP_SUBNORMAL) {
                (kind == FP_SUBNORMAL ? tally.subnormal : tally.nonFinite) += 1;
                if (tally.first.empty()) {
                    tally.first = "output " + std::to_string(channel) + " at frame " +
                                  std::to_string(position + frame) + ": " + describeValue(value);
                }
            } else {
                tally.peak = std::max(tally.peak, std::fabs(value));
            }
        }
    }
    tally.samples += static_cast<long long>(channels) * frames;
}

std::string summary(const Tally& tally, double minutes) {
    char text[200];
    std::snprintf(text, sizeof text,
                  "%.4g samples in %.3g min, peak %.4g (%.1f dBFS), %lld non-finite, %lld "
                  "subnormal",
                  static_cast<double>(tally.samples), minutes, static_cast<double>(tally.peak),
                  20.0 * std::log10(std::max(tally.peak, 1e-30f)), tally.nonFinite,
                  tally.subnormal);
    return text;
}

} // namespace

CheckResult checkSoak(const CheckContext& context) {
    Random random(context.options.seed);
    EffectUnderTest effect(context.entryPoint);
    effect.start(kRate, kLongestBlock);
    const int channels = effect.numOutputs();
    GuardedChannels inputs(effect.numInputs(), kLongestBlock);
    GuardedChannels outputs(channels, kLongestBlock);
    const ProcessCall call =
        canRun(effect, ProcessCall::Replacing) ? ProcessCall::Replacing : ProcessCall::Accumulating;

    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const auto limit = std::chrono::duration<double>(context.options.soakMinutes * 60.0);
    Clock::time_point nextReport =
        start + std::chrono::duration_cast<Clock::duration>(
                    std::chrono::duration<double>(kSecondsBetweenReports));
    Tally tally;
    long long position = 0;
    float level = 0.5f;
    while (Clock::now() - start < limit) {
        const int block =
            random.chance(0.1) ? random.between(1, 64) : random.between(1, kLongestBlock);
        if (random.chance(0.05)) {
            level = random.chance(0.2) ? 0.0f : random.unit();
        }
        if (effect.numPrograms() > 0 && random.chance(block / (kRate * kSecondsPerProgram))) {
            effect.dispatch(effSetProgram, 0,
                            random.below(static_cast<std::uint32_t>(effect.numPrograms())));
        }
        // About one change per 32 frames, at the block's start as most hosts send them.
        for (int change = random.between(0, block / kFramesPerChange + 1);
             change > 0 && effect.numParameters() > 0; --change) {
            effect.setParameter(static_cast<VstInt32>(random.below(
                                    static_cast<std::uint32_t>(effect.numParameters()))),
                                random.chance(0.01) ? random.parameterValue() : random.unit());
        }
        inputs.fillNoise(random, level);
        outputs.fill(0.0f);
        if (call == ProcessCall::Replacing) {
            effect.processReplacing(inputs.pointers(), outputs.pointers(), block);
        } else {
            effect.process(inputs.pointers(), outputs.pointers(), block);
        }
        count(outputs, channels, block, tally, position);
        position += block;
        if (Clock::now() >= nextReport) {
            const double minutes = std::chrono::duration<double>(Clock::now() - start).count() / 60;
            std::cerr << "soak: " << summary(tally, minutes) << std::endl;
            nextReport += std::chrono::duration_cast<Clock::duration>(
                std::chrono::duration<double>(kSecondsBetweenReports));
        }
    }
    const double minutes = std::chrono::duration<double>(Clock::now() - start).count() / 60.0;
    const std::string result = summary(tally, minutes);
    if (tally.nonFinite > 0 || tally.subnormal > 0) {
        return CheckResult::failed("seed " + std::to_string(context.options.seed) + ": " + result +
                                   "; the first " + tally.first);
    }
    return CheckResult::passed(result);
}
