// The limiter pass on samples stored in the delay lines: which positions it works on, and what
// each of the five modes makes of them.
#include "EngineTestSupport.h"

#include "engine/Limiter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace engine;

namespace {

constexpr std::int32_t kLineLength = 8192;

// Lines of kLineLength samples, each `delay` long, all holding `fill`, with the limiter set by
// fCompSense and fFeedbackLimit at 48 kHz.
struct LimiterBench {
    EngineState state;
    Limiter limiter;

    LimiterBench(float compSense, float feedbackLimit, std::int32_t delay, float fill) {
        EXPECT_TRUE(state.reallocateLines(kLineLength));
        setNeutral(state);
        setParameter(state, PI::fCompSense, compSense);
        setParameter(state, PI::fFeedbackLimit, feedbackLimit);
        for (int i = 0; i < EngineState::kLines; ++i) {
            storeRelaxed(state.iDelaySamples[i], delay);
            std::fill_n(state.pDelayBuffer[i].get(), kLineLength, fill);
            state.fEnv[i] = loadRelaxed(state.fLimit);
        }
    }
    float& at(int line, std::int32_t position) { return state.pDelayBuffer[line][position]; }
    // Another fCompSense while the lines keep their length.
    void change(float compSense) {
        const std::int32_t delay = loadRelaxed(state.iDelaySamples[0]);
        setParameter(state, PI::fCompSense, compSense);
        for (auto& length : state.iDelaySamples) {
            storeRelaxed(length, delay);
        }
    }
    // The largest magnitude the next sub-block of `length` samples reads before it writes.
    float nextRead(std::int32_t length) {
        float largest = 0.0f;
        for (std::int32_t n = 1; n <= length; ++n) {
            const std::int32_t delay = loadRelaxed(state.iDelaySamples[0]);
            largest = std::max(largest, std::fabs(at(0, (state.iWritePos[0] + n) % delay)));
        }
        return largest;
    }
    // What the per-sample loop does to the ring: one sub-block of `length` samples written.
    void write(std::int32_t length, float value) {
        for (int i = 0; i < EngineState::kLines; ++i) {
            for (std::int32_t n = 0; n < length; ++n) {
                state.iWritePos[i] = (state.iWritePos[i] + 1) % loadRelaxed(state.iDelaySamples[i]);
                at(i, state.iWritePos[i]) = value;
            }
        }
    }
};

struct PositionCase {
    float compSense;
    std::int32_t delay;
    std::int32_t writePos;
    std::int32_t firstPosition; // the first sample the pass works on
};

TEST(Limiter, WorksTheLookAheadBehindOrAheadOfTheWritePosition) {
    const PositionCase cases[] = {
        {0.0f, 4000, 3000, 601},   // 50 ms behind
        {0.25f, 2000, 100, 901},   // 25 ms behind, wrapped
        {0.5f, 4000, 100, 101},    // at the write position
        {0.75f, 4000, 3900, 1101}, // 25 ms ahead, wrapped
        {1.0f, 4000, 100, 2501},   // 50 ms ahead
        {1.0f, 1000, 100, 101},    // line shorter than the look-ahead: at the write position
        {0.0f, 1000, 100, 101},    {1.0f, 2400, 100, 101}, // exactly the look-ahead
        {0.75f, 1100, 1099, 0},
    };
    for (const PositionCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "fCompSense " << c.compSense << " delay " << c.delay);
        LimiterBench bench(c.compSense, 0.0f, c.delay, 1.0f); // level 0.25 changes every sample
        for (int i = 0; i < EngineState::kLines; ++i) {
            bench.state.iWritePos[i] = c.writePos;
        }
        bench.limiter.beginBlock(bench.state);
        bench.limiter.run(bench.state, 64);
        for (int i = 0; i < EngineState::kLines; ++i) {
            int changed = 0;
            for (std::int32_t p = 0; p < kLineLength; ++p) {
                const std::int32_t offset = (p - c.firstPosition + c.delay) % c.delay;
                const bool inPass = p < c.delay && offset < 64;
                changed += bench.at(i, p) != 1.0f;
                EXPECT_EQ(bench.at(i, p) != 1.0f, inPass) << "position " << p;
                if (bench.at(i, p) != 1.0f && !inPass) {
                    break;
                }
            }
            EXPECT_EQ(changed, 64);
            EXPECT_EQ(bench.state.iLimiterPos[i], (c.firstPosition + 63) % c.delay);
        }
    }
}

TEST(Limiter, SaturationModesBendStoredSamples) {
    const struct {
        float compSense, feedbackLimit, stored, limited;
    } cases[] = {
        {0.0f, 0.5f, 1.0f, 0.785398f}, // atan(1)
        {0.0f, 0.5f, -1.0f, -0.785398f},
        {0.0f, 0.0f, 1.0f, float(std::atan(0.25) / 0.25)}, // unity gain below level 1
        {0.0f, 1.0f, 1.0f, float(std::atan(3.0))},         // gain 3 from level 1 up
        {1.0f, 1.0f, 1.0f, float(std::atan(3.0) / 3.0)},   // 0.416
        {1.0f, 1.0f, 0.001f, float(std::atan(0.003) / 3.0)},
        {1.0f, 0.0f, 100.0f, float(std::atan(25.0) / 0.25)},
    };
    for (const auto& c : cases) {
        LimiterBench bench(c.compSense, c.feedbackLimit, 4000, c.stored);
        bench.limiter.beginBlock(bench.state);
        bench.limiter.run(bench.state, 64);
        const std::int32_t last = bench.state.iLimiterPos[0];
        EXPECT_NEAR(bench.at(0, last), c.limited, 1e-6)
            << "fCompSense " << c.compSense << " stored " << c.stored;
    }
}

TEST(Limiter, HardLimitHalvesARunOfTwoFromItsFirstSampleAndRecoversInTenMs) {
    LimiterBench bench(0.5f, 0.5f, 4000, 0.0f);
    bench.limiter.beginBlock(bench.state);
    bench.write(64, 2.0f);
    bench.limiter.run(bench.state, 64);
    for (std::int32_t p = 1; p <= 64; ++p) {
        EXPECT_EQ(bench.at(0, p), 1.0f) << "position " << p;
    }
    // Then samples of 0.5: the envelope falls from 2 with a 10 ms (480 sample) time constant
    // and the gain is back to 1 once it has reached the level.
    double envelope = 2.0;
    for (int block = 0; block < 10; ++block) {
        const std::int32_t start = bench.state.iWritePos[0];
        bench.write(64, 0.5f);
        bench.limiter.run(bench.state, 64);
        for (std::int32_t n = 1; n <= 64; ++n) {
            envelope = std::max(1.0, envelope + (0.5 - envelope) / 480.0);
            EXPECT_NEAR(bench.at(0, start + n), 0.5 / envelope, 1e-5) << "sample " << n;
        }
    }
    EXPECT_FLOAT_EQ(bench.state.fGainEnv[0], 1.0f);
}

// The envelope limiter of fCompSense 0.75 against a plain double-precision model.
TEST(Limiter, EnvelopeModeFollowsAttackAndRelease) {
    LimiterBench bench(0.75f, 0.5f, 4000, 0.0f);
    const double attack = 1.0 / (25.75 * 48.0);
    const double release = 1.0 / (275.5 * 48.0);
    double envelope = 1.0;
    std::uint32_t seed = 12345;
    for (int block = 0; block < 40; ++block) {
        // Write a sub-block, then limit the positions 1200 ahead of the write position: those are
        // the samples written 2800 samples earlier; fill them first so the pass finds them.
        bench.limiter.beginBlock(bench.state);
        float stored[64];
        const std::int32_t first = bench.state.iLimiterPos[0] + 1;
        for (int n = 0; n < 64; ++n) {
            seed = seed * 1664525u + 1013904223u;
            stored[n] = (static_cast<float>(seed >> 8) / 16777216.0f) * 6.0f - 3.0f;
            bench.at(0, (first + n) % 4000) = stored[n];
        }
        bench.write(64, 0.0f);
        bench.limiter.run(bench.state, 64);
        for (int n = 0; n < 64; ++n) {
            const double a = std::fabs(stored[n]);
            envelope += (a - envelope) * (a > envelope ? attack : release);
            envelope = std::max(envelope, 1.0);
            EXPECT_NEAR(bench.at(0, (first + n) % 4000), stored[n] / envelope, 1e-4)
                << "block " << block << " sample " << n;
        }
    }
}

TEST(Limiter, LookAheadRampsTheGainUpToAPeakAndReducesItToTheLevel) {
    // 25 ms look-ahead (1200 samples) in a line of 2000, level 1, a peak of 4 among samples of
    // 0.5, limited one sample at a time so every sample's gain can be seen.
    LimiterBench bench(0.25f, 0.5f, 2000, 0.0f);
    for (int i = 0; i < EngineState::kLines; ++i) {
        bench.state.fGainEnv[i] = 1.0f;
    }
    bench.limiter.beginBlock(bench.state);
    constexpr int kPeak = 1500;
    float processed[3000] = {}; // by the time the sample was written
    for (int t = 0; t < 3000; ++t) {
        bench.write(1, t == kPeak ? 4.0f : 0.5f);
        const std::int32_t p = (bench.state.iLimiterPos[0] + 1) % 2000;
        bench.limiter.run(bench.state, 1);
        if (t >= 1200) {
            processed[t - 1200] = bench.at(0, p);
        }
    }
    EXPECT_NEAR(processed[kPeak], 1.0f, 1e-4);
    EXPECT_EQ(processed[kPeak - 1200], 0.5f);
    // Over the 1200 samples before the peak the gain envelope rose in a straight line from 1
    // to 4, arriving with the peak.
    for (int k : {1, 300, 600, 900, 1199}) {
        EXPECT_NEAR(processed[kPeak - k], 0.5 / (1.0 + 3.0 * (1200 - k) / 1200.0), 1e-4)
            << "k " << k;
    }
    // Then it releases toward the level: the gain recovers slowly.
    EXPECT_GT(processed[1799], processed[kPeak + 1]);
    EXPECT_LT(processed[1799], 0.5f);
}

TEST(Limiter, NonFiniteSamplesNeverStayInALineInAnyMode) {
    const float kInf = std::numeric_limits<float>::infinity();
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), kInf, -kInf};
    for (float compSense : {0.0f, 0.25f, 0.5f, 0.75f, 1.0f}) {
        for (float value : bad) {
            SCOPED_TRACE(testing::Message() << "fCompSense " << compSense << " value " << value);
            LimiterBench bench(compSense, 0.5f, 1000, 0.0f);
            bench.limiter.beginBlock(bench.state);
            for (int block = 0; block < 40; ++block) {
                bench.write(64, block < 3 ? value : 0.5f);
                bench.limiter.run(bench.state, 64);
                for (std::int32_t p = 0; p < 1000; ++p) {
                    ASSERT_TRUE(std::isfinite(bench.at(0, p))) << "position " << p;
                }
            }
            for (int i = 0; i < EngineState::kLines; ++i) {
                EXPECT_TRUE(std::isfinite(bench.state.fEnv[i]));
                EXPECT_TRUE(std::isfinite(bench.state.fGainEnv[i]));
                EXPECT_GT(bench.state.fGainEnv[i], 0.0f);
            }
            // Finite samples pass again: the last written ones have been limited, not zeroed.
            const std::int32_t last = bench.state.iLimiterPos[0];
            EXPECT_GT(bench.at(0, last), 0.0f);
        }
    }
}

// A limiter moved closer to the write position (another mode, a shorter look-ahead) goes on
// from where it stopped, so the samples written since it last passed them are still limited.
TEST(Limiter, MovedCloserToTheWritePositionItStillLimitsEverySampleBeforeItIsRead) {
    struct Change {
        float from;
        float to;
    };
    const Change changes[] = {{1.0f, 0.5f}, {0.75f, 0.5f}, {0.0f, 0.5f}, {0.75f, 0.0f}};
    for (const Change& c : changes) {
        SCOPED_TRACE(testing::Message() << "fCompSense " << c.from << " to " << c.to);
        LimiterBench bench(c.from, 0.5f, 4000, 10.0f); // level 1
        for (int block = 0; block < 250; ++block) {
            if (block == 150) {
                bench.change(c.to);
            }
            bench.limiter.beginBlock(bench.state);
            // Limited, or saturated (atan 10 = 1.47).
            if (block >= 150) {
                ASSERT_LT(bench.nextRead(64), 1.5f) << "block " << block;
            }
            bench.write(64, 10.0f);
            bench.limiter.run(bench.state, 64);
        }
    }
}

TEST(Limiter, TheLookAheadModeTakesOverFromTheHardLimiterWithoutBoostingTheLine) {
    // The hard limiter holds a line of 4s at the level 1; then the look-ahead limiter meets a
    // louder peak and ramps its gain envelope from where the hard limiter left it.
    LimiterBench bench(0.5f, 0.5f, 4000, 0.0f);
    for (int block = 0; block < 200; ++block) {
        if (block == 70) {
            bench.change(0.25f);
        }
        bench.limiter.beginBlock(bench.state);
        if (block >= 70) {
            ASSERT_LE(bench.nextRead(64), 1.0001f) << "block " << block;
        }
        bench.write(64, block < 70 ? 4.0f : 8.0f);
        bench.limiter.run(bench.state, 64);
    }
}

// Undamped low-pass filters inside the loop, fed with noise, while the limiter's mode flips every
// 700 frames: the largest output sample over `seconds`.
float peakOfAResonantLoop(float compSense, float otherCompSense, int seconds) {
    FeedbackEngine engine;
    engine.resume(kRate);
    setParameter(engine, PI::fDryWetMix, 1.0f);
    setParameter(engine, PI::fRouting, 1.0f);
    setParameter(engine, PI::fFeedbackLimit, 0.0f);
    for (int i = 0; i < PI::kNumLines; ++i) {
        setParameter(engine, PI::line(i, PI::Feedback0 + i), 1.0f);
        setParameter(engine, PI::line(i, PI::Filt), 0.3f);
        setParameter(engine, PI::line(i, PI::Res), 1.0f);
        setParameter(engine, PI::line(i, PI::Freq), 0.5f);
    }
    std::mt19937 random(1);
    std::uniform_real_distribution<float> noise(-0.5f, 0.5f);
    constexpr int kBlock = 512;
    std::vector<float> left(kBlock), right(kBlock), outLeft(kBlock), outRight(kBlock);
    float* inputs[] = {left.data(), right.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    float peak = 0.0f;
    for (int frame = 0; frame < seconds * 48000; frame += kBlock) {
        setParameter(engine, PI::fCompSense, frame / 700 % 2 == 0 ? compSense : otherCompSense);
        for (int n = 0; n < kBlock; ++n) {
            left[n] = right[n] = noise(random);
        }
        engine.process(inputs, outputs, kBlock, OutputMode::Replace, kRate, nullptr);
        for (int n = 0; n < kBlock; ++n) {
            peak = std::max(peak, std::fabs(outLeft[n]));
        }
    }
    return peak;
}

TEST(Limiter, FlippingItsModeKeepsAResonantLoopAsBoundedAsEitherModeAlone) {
    for (float other : {0.0f, 0.25f, 0.75f, 1.0f}) {
        const float held =
            std::max(peakOfAResonantLoop(0.5f, 0.5f, 5), peakOfAResonantLoop(other, other, 5));
        EXPECT_LE(peakOfAResonantLoop(0.5f, other, 5), held) << "fCompSense 0.5 and " << other;
    }
}

} // namespace
