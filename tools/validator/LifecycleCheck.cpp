// lifecycle: the orders of switching on and off that hosts use, right or not quite.
#include "tools/validator/CallCounter.h"
#include "tools/validator/CheckSupport.h"
#include "tools/validator/EffectUnderTest.h"
#include "tools/validator/GuardedChannels.h"
#include "tools/validator/SampleScan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kBlockSize = 512;
constexpr float kFirstRate = 44100.0f;
constexpr float kSecondRate = 96000.0f;
constexpr double kResponseSeconds = 2.0;
constexpr int kInstances = 20;
constexpr int kWarmUpInstances = 2;
// Responses agree when their difference's RMS is at most this share of theirs (-60 dB).
constexpr double kResponseTolerance = 1.0e-3;
// Responses at two rates agree in time when at most kEnvelopeMismatch of the windows within
// kAudibleRange dB of the loudest differ by more than kEnvelopeTolerance dB.
constexpr double kEnvelopeSeconds = 0.01;
constexpr double kAudibleRange = 40.0;
constexpr double kEnvelopeTolerance = 6.0;
constexpr double kEnvelopeMismatch = 0.1;

ProcessCall preferredCall(const EffectUnderTest& effect) {
    return canRun(effect, ProcessCall::Replacing) ? ProcessCall::Replacing
                                                  : ProcessCall::Accumulating;
}

void processNoise(EffectUnderTest& effect, Random& random, int blocks, const std::string& where) {
    GuardedChannels inputs(effect.numInputs(), kBlockSize);
    GuardedChannels outputs(effect.numOutputs(), kBlockSize);
    for (int block = 0; block < blocks; ++block) {
        inputs.fillNoise(random, 0.5f);
        outputs.fill(0.0f);
        processChecked(effect, preferredCall(effect), inputs, outputs, false,
                       where + ", block " + std::to_string(block));
    }
}

// The first output channel's response to an impulse on every input, after a short silence in
// which the effect's parameter smoothing settles.
std::vector<float> impulseResponse(EffectUnderTest& effect, const std::string& where) {
    const long frames = static_cast<long>(effect.sampleRate() * kResponseSeconds);
    const long settle = 4L * kBlockSize;
    GuardedChannels inputs(effect.numInputs(), kBlockSize);
    GuardedChannels outputs(effect.numOutputs(), kBlockSize);
    std::vector<float> response;
    for (long done = -settle; done < frames; done += kBlockSize) {
        inputs.fill(0.0f);
        if (done == 0) {
            effect.rewindTransport(); // the same song position at every rate
            for (int channel = 0; channel < inputs.channels(); ++channel) {
                inputs.channel(channel)[0] = 0.5f;
            }
        }
        outputs.fill(0.0f);
        processChecked(effect, preferredCall(effect), inputs, outputs, false,
                       where + ", frame " + std::to_string(done));
        if (done >= 0 && outputs.channels() > 0) {
            response.insert(response.end(), outputs.channel(0), outputs.channel(0) + kBlockSize);
        }
    }
    return response;
}

// The RMS level of a response in windows of kEnvelopeSeconds, in dB below its loudest window.
std::vector<double> envelope(const std::vector<float>& response, float rate) {
    const auto window = static_cast<std::size_t>(rate * kEnvelopeSeconds);
    std::vector<double> levels;
    for (std::size_t start = 0; start + window <= response.size(); start += window) {
        double energy = 0.0;
        for (std::size_t frame = start; frame < start + window; ++frame) {
            energy += static_cast<double>(response[frame]) * response[frame];
        }
        levels.push_back(10.0 * std::log10(energy / window + 1e-30));
    }
    const double loudest = *std::max_element(levels.begin(), levels.end());
    for (double& level : levels) {
        level -= loudest;
    }
    return levels;
}

// The share of the windows, among those within kAudibleRange of the loudest, whose levels
// differ by more than kEnvelopeTolerance.
double envelopeMismatch(const std::vector<double>& a, const std::vector<double>& b) {
    int audible = 0;
    int differing = 0;
    for (std::size_t window = 0; window < std::min(a.size(), b.size()); ++window) {
        if (std::max(a[window], b[window]) < -kAudibleRange) {
            continue;
        }
        ++audible;
        differing += std::fabs(a[window] - b[window]) > kEnvelopeTolerance ? 1 : 0;
    }
    return audible > 0 ? static_cast<double>(differing) / audible : 0.0;
}

// Suspend and resume at another rate leave the effect as a fresh one at that rate, and it
// sounds as it did at the old rate: its response in time is the same.
void checkRateChange(const CheckContext& context, Random& random) {
    Progress::step("suspend, a new rate, resume");
    EffectUnderTest moved(context.entryPoint);
    moved.start(kFirstRate, kBlockSize);
    processNoise(moved, random, 40, "44100 Hz");
    moved.suspend();
    moved.start(kFirstRate, kBlockSize);
    const std::vector<float> before = impulseResponse(moved, "44100 Hz before the rate change");
    moved.suspend();
    moved.start(kSecondRate, kBlockSize);
    const std::vector<float> afterChange = impulseResponse(moved, "96000 Hz after the rate change");

    EffectUnderTest fresh(context.entryPoint);
    fresh.start(kSecondRate, kBlockSize);
    const std::vector<float> expected = impulseResponse(fresh, "96000 Hz from the start");
    double expectedEnergy = 0.0;
    double differenceEnergy = 0.0;
    for (std::size_t frame = 0; frame < expected.size(); ++frame) {
        const double difference = afterChange[frame] - expected[frame];
        expectedEnergy += static_cast<double>(expected[frame]) * expected[frame];
        differenceEnergy += difference * difference;
    }
    const double ratio = std::sqrt(differenceEnergy / std::max(expectedEnergy, 1e-30));
    char message[240];
    std::snprintf(message, sizeof message,
                  "after suspend, a change from 44100 to 96000 Hz and resume, the impulse "
                  "response differs from a fresh instance's at 96000 Hz by %.1f dB of its level",
                  20.0 * std::log10(std::max(ratio, 1e-30)));
    expect(ratio <= kResponseTolerance, message);

    const double mismatch =
        envelopeMismatch(envelope(before, kFirstRate), envelope(afterChange, kSecondRate));
    std::snprintf(message, sizeof message,
                  "the impulse response at 96000 Hz does not follow the one at 44100 Hz in time: "
                  "%.0f %% of its %g ms windows differ by more than %g dB",
                  100.0 * mismatch, kEnvelopeSeconds * 1000.0, kEnvelopeTolerance);
    expect(mismatch <= kEnvelopeMismatch, message);
}

void checkSwitchingTwice(const CheckContext& context, Random& random) {
    Progress::step("effMainsChanged twice in a row");
    EffectUnderTest effect(context.entryPoint);
    effect.start(kFirstRate, kBlockSize);
    effect.resume();
    processNoise(effect, random, 20, "after resuming twice");
    effect.suspend();
    effect.suspend();
    effect.resume();
    processNoise(effect, random, 20, "after suspending twice and resuming");
    // Closed while still switched on, as some hosts do.
}

void checkCloseWithoutResume(const CheckContext& context) {
    Progress::step("closing an effect never switched on");
    { EffectUnderTest untouched(context.entryPoint); }
    EffectUnderTest configured(context.entryPoint);
    configured.dispatch(effSetSampleRate, 0, 0, nullptr, kFirstRate);
    configured.dispatch(effSetBlockSize, 0, kBlockSize);
    configured.suspend();
}

// Instances made and closed leave no heap blocks behind.
long instanceLeak(const CheckContext& context, Random& random) {
    const auto cycle = [&](int count) {
        for (int instance = 0; instance < count; ++instance) {
            EffectUnderTest effect(context.entryPoint);
            effect.start(kFirstRate, kBlockSize);
            processNoise(effect, random, 4, "instance " + std::to_string(instance));
            effect.suspend();
        }
    };
    Progress::step("instances made and closed");
    cycle(kWarmUpInstances);
    const long before = CallCounter::liveHeapBlocks();
    cycle(kInstances);
    return CallCounter::liveHeapBlocks() - before;
}

} // namespace

CheckResult checkLifecycle(const CheckContext& context) {
    Random random(context.options.seed);
    checkCloseWithoutResume(context);
    checkSwitchingTwice(context, random);
    checkRateChange(context, random);
    const long leaked = instanceLeak(context, random);
    expect(leaked * 10 < kInstances, std::to_string(kInstances) +
                                         " instances made and closed left " +
                                         std::to_string(leaked) + " more heap blocks alive");
    return CheckResult::passed("rate change like a fresh start, switched twice, closed without "
                               "resume, " +
                               std::to_string(kInstances) + " instances with heap blocks " +
                               (leaked >= 0 ? "+" : "") + std::to_string(leaked));
}
