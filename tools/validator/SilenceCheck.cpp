// silence: once the input has gone quiet and the tail has passed, the output is quiet too.
#include "tools/validator/CheckSupport.h"
#include "tools/validator/EffectUnderTest.h"
#include "tools/validator/GuardedChannels.h"
#include "tools/validator/SampleScan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kBlockSize = 512;
constexpr double kSignalSeconds = 0.5;
constexpr double kWindowSeconds = 0.1; // the end of the tail, where the output must be quiet
constexpr float kSilence = 1.0e-5f;    // -100 dBFS

std::string decibels(float level) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dBFS", 20.0 * std::log10(std::max(level, 1e-30f)));
    return text;
}

} // namespace

CheckResult checkSilence(const CheckContext& context) {
    Random random(context.options.seed);
    double slowest = 0.0; // the longest time the output took to fall silent
    for (const float rate : kSampleRates) {
        EffectUnderTest effect(context.entryPoint);
        effect.start(rate, kBlockSize);
        const ProcessCall call = canRun(effect, ProcessCall::Replacing) ? ProcessCall::Replacing
                                                                        : ProcessCall::Accumulating;
        GuardedChannels inputs(effect.numInputs(), kBlockSize);
        GuardedChannels outputs(effect.numOutputs(), kBlockSize);
        const long tail = effect.tailFrames(context.options.tailSeconds);
        const long signal = static_cast<long>(rate * kSignalSeconds);
        const long window = static_cast<long>(rate * kWindowSeconds);
        const long total = signal + tail + window;
        const std::string setting = std::to_string(static_cast<long>(rate)) + " Hz";
        Progress::step("noise, then silence, at " + setting);
        float peak = 0.0f;
        long lastLoud = signal;
        for (long done = 0; done < total; done += kBlockSize) {
            if (done < signal) {
                inputs.fillNoise(random, 0.5f);
            } else {
                inputs.fill(0.0f);
            }
            outputs.fill(0.0f);
            processChecked(effect, call, inputs, outputs, false,
                           setting + ", frame " + std::to_string(done));
            const float level = peakOf(outputs.pointers(), effect.numOutputs(), kBlockSize);
            if (level > kSilence) {
                lastLoud = done + kBlockSize;
            }
            if (done + kBlockSize > total - window) {
                peak = std::max(peak, level);
            }
        }
        slowest = std::max(slowest, (lastLoud - signal) / static_cast<double>(rate));
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.3g s", tail / static_cast<double>(rate));
        expect(peak <= kSilence, "the output is still at " + decibels(peak) + " after " + seconds +
                                     " of silent input at " + setting +
                                     " (the tail: --tail, or the plug-in's effGetTailSize)");
    }
    char detail[96];
    std::snprintf(detail, sizeof detail, "below %s at most %.3g s after the input stopped",
                  decibels(kSilence).c_str(), slowest);
    return CheckResult::passed(detail);
}
