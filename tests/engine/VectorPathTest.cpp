// The vectorised network against its plain twin: the same settings, automation, input, host
// time, lifecycle calls and block sizes; every output sample, input write-back, line sample,
// envelope and display query must be the same bits, and nothing outside the buffers changes.
#include "EngineTestSupport.h"

#include "engine/FeedbackEngine.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using namespace engine;

namespace {

const std::uint16_t kBlockSizes[] = {0, 1, 15, 63, 64, 65, 100, 511, 4096};

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A buffer with guard samples on both sides.
class Guarded {
public:
    Guarded(std::size_t frames, float fill) : samples(kGuard, kGuardValue) {
        samples.insert(samples.end(), frames, fill);
        samples.insert(samples.end(), kGuard, kGuardValue);
    }
    float* data() { return samples.data() + kGuard; }
    bool guardsIntact() const {
        for (int n = 0; n < kGuard; ++n) {
            if (!sameBits(samples[static_cast<std::size_t>(n)], kGuardValue) ||
                !sameBits(samples[samples.size() - 1 - static_cast<std::size_t>(n)], kGuardValue)) {
                return false;
            }
        }
        return true;
    }
    std::vector<float> samples;
};

struct Case {
    float routing;
    float compSense;
    OutputMode mode;
};

class Twins {
public:
    explicit Twins(const Case& c, std::uint32_t seed) : c(c), random(seed) {}

    std::string run() {
        for (int index = 0; index < PI::kNumParameters; ++index) {
            set(index, unit());
        }
        fixed();
        vector.resume(kRate);
        plain.resume(kRate);
        for (int round = 0; round < 2; ++round) {
            for (const std::uint16_t frames : kBlockSizes) {
                between();
                if (std::string fault = block(frames); !fault.empty()) {
                    return fault;
                }
            }
        }
        return compareState("at the end");
    }

private:
    float unit() { return std::uniform_real_distribution<float>(0.0f, 1.0f)(random); }
    bool chance(float p) { return unit() < p; }

    void set(int index, float value) {
        setParameter(vector, index, value);
        setParameter(plain, index, value);
    }

    // The case's routing and limiter; every filter type, on all four lines, on two pairs or all
    // different; lines short enough to wrap often, some just longer than the 25 ms look-ahead
    // so that its gain runs a few samples ahead of the detector.
    void fixed() {
        set(PI::fRouting, c.routing);
        set(PI::fCompSense, c.compSense);
        static const float delays[] = {0.0f, 0.0125f, 0.013f, 0.0135f, 0.02f, 0.05f};
        const int pattern = static_cast<int>(random() % 3);
        for (int i = 0; i < PI::kNumLines; ++i) {
            const int type = pattern == 0   ? filterShift
                             : pattern == 1 ? filterShift + i / 2 * 3
                                            : filterShift + i;
            set(PI::line(i, PI::Filt), static_cast<float>(type % 5) / 4.0f);
            set(PI::line(i, PI::Delay), delays[random() % 6]);
        }
        ++filterShift;
    }

    void between() {
        const int changes = static_cast<int>(random() % 4);
        for (int n = 0; n < changes; ++n) {
            set(static_cast<int>(random() % PI::kNumParameters), unit());
        }
        if (chance(0.5f)) {
            fixed();
        }
        if (chance(0.1f)) {
            vector.resetEngine();
            plain.resetEngine();
        }
        if (chance(0.05f)) {
            vector.suspend();
            plain.suspend();
            vector.resume(kRate);
            plain.resume(kRate);
        }
        time.time.ppqPos += chance(0.2f) ? -2.0 : 0.25;
    }

    std::string block(int frames) {
        const float prefill = c.mode == OutputMode::Accumulate ? 0.5f : 0.0f;
        const auto size = static_cast<std::size_t>(frames);
        Guarded in[2][2] = {{Guarded(size, 0.0f), Guarded(size, 0.0f)},
                            {Guarded(size, 0.0f), Guarded(size, 0.0f)}};
        Guarded out[2][2] = {{Guarded(size, prefill), Guarded(size, prefill)},
                             {Guarded(size, prefill), Guarded(size, prefill)}};
        const float loud = chance(0.2f) ? 8.0f : 0.5f;
        for (int n = 0; n < frames; ++n) {
            for (int channel = 0; channel < 2; ++channel) {
                float x = loud * (2.0f * unit() - 1.0f);
                if (chance(0.001f)) {
                    x = chance(0.5f) ? std::numeric_limits<float>::quiet_NaN()
                                     : std::numeric_limits<float>::infinity();
                }
                in[0][channel].data()[n] = in[1][channel].data()[n] = x;
            }
        }
        FeedbackEngine* engines[2] = {&vector, &plain};
        for (int e = 0; e < 2; ++e) {
            float* inputs[2] = {in[e][0].data(), in[e][1].data()};
            float* outputs[2] = {out[e][0].data(), out[e][1].data()};
            engines[e]->process(inputs, outputs, frames, c.mode, kRate, &time);
        }
        std::ostringstream where;
        where << "block of " << frames << " (number " << ++blocks << ")";
        for (int channel = 0; channel < 2; ++channel) {
            for (int e = 0; e < 2; ++e) {
                if (!in[e][channel].guardsIntact() || !out[e][channel].guardsIntact()) {
                    return "a guard sample changed in the " + where.str();
                }
            }
            for (int n = 0; n < frames; ++n) {
                if (!sameBits(out[0][channel].data()[n], out[1][channel].data()[n]) ||
                    !sameBits(in[0][channel].data()[n], in[1][channel].data()[n])) {
                    std::ostringstream text;
                    text << "sample " << n << " of channel " << channel << " in the " << where.str()
                         << ": vector " << out[0][channel].data()[n] << ", plain "
                         << out[1][channel].data()[n];
                    return text.str();
                }
            }
        }
        return compareState("after the " + where.str());
    }

    std::string compareState(const std::string& when) const {
        const EngineState& a = vector.state();
        const EngineState& b = plain.state();
        for (int query = PI::kQueryCurrentStep; query <= PI::kQueryLimit; ++query) {
            if (!sameBits(vector.getParameter(query), plain.getParameter(query))) {
                return "display query " + std::to_string(query) + " differs " + when;
            }
        }
        for (int i = 0; i < PI::kNumLines; ++i) {
            const float* own[] = {&a.fSvfF[i], &a.fSvfQ[i],    &a.fSvfBand[i],  &a.fSvfLow[i],
                                  &a.fPanR[i], &a.fPanL[i],    &a.fSend[i],     &a.fLevel[i],
                                  &a.fEnv[i],  &a.fGainEnv[i], &a.fGainSlope[i]};
            const float* twin[] = {&b.fSvfF[i], &b.fSvfQ[i],    &b.fSvfBand[i],  &b.fSvfLow[i],
                                   &b.fPanR[i], &b.fPanL[i],    &b.fSend[i],     &b.fLevel[i],
                                   &b.fEnv[i],  &b.fGainEnv[i], &b.fGainSlope[i]};
            for (std::size_t k = 0; k < std::size(own); ++k) {
                if (!sameBits(*own[k], *twin[k])) {
                    return "running value " + std::to_string(k) + " of line " + std::to_string(i) +
                           " differs " + when;
                }
            }
            if (a.iWritePos[i] != b.iWritePos[i] || a.iHold[i] != b.iHold[i]) {
                return "position or hold of line " + std::to_string(i) + " differs " + when;
            }
            if (std::memcmp(a.pDelayBuffer[i].get(), b.pDelayBuffer[i].get(),
                            sizeof(float) * static_cast<std::size_t>(loadRelaxed(a.iBufferSize))) !=
                0) {
                return "line " + std::to_string(i) + " differs " + when;
            }
        }
        return sameBits(a.fDenormal, b.fDenormal) ? "" : "the offset's sign differs " + when;
    }

    const Case c;
    std::mt19937 random;
    FeedbackEngine vector{FeedbackEngine::Path::Vector};
    FeedbackEngine plain{FeedbackEngine::Path::Plain};
    ScriptedTransport time;
    int filterShift = 0;
    int blocks = 0;
};

TEST(VectorPath, EverySampleEqualsThePlainPath) {
    std::uint32_t seed = 7;
    for (const float routing : {0.0f, 1.0f}) {
        for (const float compSense : {0.0f, 0.25f, 0.4999f, 0.5f, 0.75f, 1.0f}) {
            for (const OutputMode mode : {OutputMode::Replace, OutputMode::Accumulate}) {
                SCOPED_TRACE(testing::Message() << "fRouting " << routing << ", fCompSense "
                                                << compSense << ", seed " << seed);
                Twins twins({routing, compSense, mode}, seed++);
                EXPECT_EQ(twins.run(), "");
            }
        }
    }
}

} // namespace
