// bad-input: one block of NaN, infinite or huge input does not poison the effect for good.
// Instances get the same clean input, all but one of them with a bad block in it; once the tail
// has passed, their outputs must agree again.
#include "tools/validator/CheckSupport.h"
#include "tools/validator/EffectUnderTest.h"
#include "tools/validator/GuardedChannels.h"
#include "tools/validator/SampleScan.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr int kBlockSize = 512;
constexpr double kLeadSeconds = 0.5;
constexpr double kWindowSeconds = 0.1; // compared once the tail has passed
// Outputs agree when their difference's RMS is below this share of the clean one's RMS (-60 dB),
// or below -100 dBFS.
constexpr double kRelativeTolerance = 1.0e-3;
constexpr double kAbsoluteTolerance = 1.0e-5;

struct BadValue {
    float value;
    const char* name;
};

const BadValue badValues[] = {{std::numeric_limits<float>::quiet_NaN(), "NaN"},
                              {std::numeric_limits<float>::infinity(), "+inf"},
                              {-std::numeric_limits<float>::infinity(), "-inf"},
                              {1.0e30f, "1e30"}};

void copySamples(GuardedChannels& from, GuardedChannels& to) {
    for (int channel = 0; channel < from.channels(); ++channel) {
        std::copy(from.channel(channel), from.channel(channel) + from.frames(),
                  to.channel(channel));
    }
}

// One instance that gets the bad block, and how far its output is from the clean one's.
struct HitInstance {
    HitInstance(const CheckContext& context, const BadValue& bad, int inputs, int outputs)
        : bad(bad), effect(context.entryPoint), input(inputs, kBlockSize),
          output(outputs, kBlockSize) {}

    const BadValue& bad;
    EffectUnderTest effect;
    GuardedChannels input;
    GuardedChannels output;
    double differenceEnergy = 0.0;
};

// A clean instance and one instance per bad value, side by side on the same input; once the
// tail has passed, each must agree with the clean one again.
void compareAfterBadBlocks(const CheckContext& context, Random& random, float rate) {
    EffectUnderTest clean(context.entryPoint);
    clean.start(rate, kBlockSize);
    GuardedChannels input(clean.numInputs(), kBlockSize);
    GuardedChannels cleanOutput(clean.numOutputs(), kBlockSize);
    std::vector<std::unique_ptr<HitInstance>> hits;
    for (const BadValue& bad : badValues) {
        hits.push_back(
            std::make_unique<HitInstance>(context, bad, clean.numInputs(), clean.numOutputs()));
        hits.back()->effect.start(rate, kBlockSize);
    }
    const ProcessCall call =
        canRun(clean, ProcessCall::Replacing) ? ProcessCall::Replacing : ProcessCall::Accumulating;

    const long lead = static_cast<long>(rate * kLeadSeconds) / kBlockSize * kBlockSize;
    const long tail = clean.tailFrames(context.options.tailSeconds);
    const long window = static_cast<long>(rate * kWindowSeconds);
    const long total = lead + kBlockSize + tail + window;
    const std::string at = " at " + std::to_string(static_cast<long>(rate)) + " Hz";
    Progress::step("blocks of NaN, infinite and huge input" + at);
    double cleanEnergy = 0.0;
    long compared = 0;
    for (long done = 0; done < total; done += kBlockSize) {
        input.fillNoise(random, 0.25f);
        cleanOutput.fill(0.0f);
        const std::string frame = at + ", frame " + std::to_string(done);
        processChecked(clean, call, input, cleanOutput, false, frame + " (clean instance)");
        const bool comparing = done + kBlockSize > total - window;
        for (const std::unique_ptr<HitInstance>& hit : hits) {
            if (done == lead) {
                hit->input.fill(hit->bad.value);
            } else {
                copySamples(input, hit->input);
            }
            hit->output.fill(0.0f);
            processChecked(hit->effect, call, hit->input, hit->output, false,
                           std::string("a block of ") + hit->bad.name + " input" + frame);
            for (int channel = 0; comparing && channel < clean.numOutputs(); ++channel) {
                for (int sample = 0; sample < kBlockSize; ++sample) {
                    const double difference =
                        static_cast<double>(hit->output.channel(channel)[sample]) -
                        cleanOutput.channel(channel)[sample];
                    hit->differenceEnergy += difference * difference;
                }
            }
        }
        for (int channel = 0; comparing && channel < clean.numOutputs(); ++channel) {
            for (int sample = 0; sample < kBlockSize; ++sample) {
                const double expected = cleanOutput.channel(channel)[sample];
                cleanEnergy += expected * expected;
                ++compared;
            }
        }
    }
    if (compared == 0) {
        return;
    }
    const double cleanRms = std::sqrt(cleanEnergy / compared);
    for (const std::unique_ptr<HitInstance>& hit : hits) {
        const double differenceRms = std::sqrt(hit->differenceEnergy / compared);
        char message[240];
        std::snprintf(message, sizeof message,
                      "a block of %s input%s: %.3g s later the output still differs from a "
                      "clean instance's by an RMS of %.3g (the clean one's is %.3g)",
                      hit->bad.name, at.c_str(), static_cast<double>(tail) / rate, differenceRms,
                      cleanRms);
        expect(differenceRms <= kAbsoluteTolerance ||
                   differenceRms <= kRelativeTolerance * cleanRms,
               message);
    }
}

} // namespace

CheckResult checkBadInput(const CheckContext& context) {
    forEachRound(context, [&](Random& random) {
        compareAfterBadBlocks(context, random, kSampleRates[random.below(std::size(kSampleRates))]);
    });
    return CheckResult::passed("NaN, +inf, -inf and 1e30 input: finite output, back to normal "
                               "within the tail");
}
