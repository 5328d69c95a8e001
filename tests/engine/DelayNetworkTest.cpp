// The sound of the delay network as the host hears it through process and processReplacing.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace engine;

namespace {

constexpr int kImpulseAt = 256; // after the ramps of the first blocks have settled

struct ImpulseCase {
    int line;
    float delay;
    int delaySamples;
    float inLR, outLR, outV;
    int inputChannel;
};

TEST(DelayNetwork, AnImpulseReturnsAfterExactlyTheLinesDelayWithItsWeights) {
    const ImpulseCase cases[] = {
        {0, 0.5f, 48000, 0.0f, 0.0f, 0.5f, 0},  {0, 0.0f, 64, 0.0f, 0.0f, 0.5f, 0},
        {1, 0.25f, 24000, 1.0f, 1.0f, 0.8f, 1}, {2, 0.015625f, 1488, 0.0f, 0.25f, 1.0f, 0},
        {3, 1.0f, 95999, 1.0f, 0.5f, 0.3f, 1},
    };
    for (const ImpulseCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "line " << c.line << " delay " << c.delay);
        FeedbackEngine engine;
        isolateLine(engine, c.line);
        setParameter(engine, PI::line(c.line, PI::Delay), c.delay);
        setParameter(engine, PI::line(c.line, PI::InLR), c.inLR);
        setParameter(engine, PI::line(c.line, PI::OutLR), c.outLR);
        setParameter(engine, PI::line(c.line, PI::OutV), c.outV);
        ASSERT_EQ(engine.state().iDelaySamples[c.line].load(), c.delaySamples);

        Render input = silence(kImpulseAt + c.delaySamples + 300);
        (c.inputChannel == 0 ? input.left : input.right)[kImpulseAt] = 1.0f;
        Render output;
        ASSERT_TRUE(render(engine, input, output, 512));

        // Through the Off filter (0.75), the level and the pan weights; nothing else but the
        // anti-denormal residue.
        const float echo = 0.75f * c.outV;
        const int arrival = kImpulseAt + c.delaySamples;
        for (std::size_t n = 0; n < output.left.size(); ++n) {
            const bool isEcho = static_cast<int>(n) == arrival;
            EXPECT_NEAR(output.left[n], isEcho ? echo * (1.0f - c.outLR) : 0.0f, 1e-6)
                << "sample " << n;
            EXPECT_NEAR(output.right[n], isEcho ? echo * c.outLR : 0.0f, 1e-6) << "sample " << n;
            if (HasFailure()) {
                break;
            }
        }
    }
}

TEST(DelayNetwork, RoutingDecidesWhetherTheFilteredInputAlsoPassesStraightThrough) {
    // Send 0.25: in "Filt>In" three quarters of the filtered input reach the output at once; in
    // "Filt>Delay" the input only enters the delay, unfiltered, and is filtered on the way out.
    for (float routing : {0.0f, 1.0f}) {
        FeedbackEngine engine;
        isolateLine(engine, 0);
        setParameter(engine, PI::fRouting, routing);
        setParameter(engine, PI::line(0, PI::Damp), 0.25f);
        setParameter(engine, PI::line(0, PI::Delay), 0.0f);
        Render input = silence(kImpulseAt + 200);
        input.left[kImpulseAt] = 1.0f;
        Render output;
        ASSERT_TRUE(render(engine, input, output, 64));
        const float direct = routing == 0.0f ? 0.5f * 0.75f * 0.75f : 0.0f;
        const float delayed = routing == 0.0f ? 0.5f * 0.25f * 0.75f : 0.5f * 0.75f * 0.25f;
        EXPECT_NEAR(output.left[kImpulseAt], direct, 1e-6) << "routing " << routing;
        EXPECT_NEAR(output.left[kImpulseAt + 64], delayed, 1e-6) << "routing " << routing;
        EXPECT_NEAR(output.left[kImpulseAt + 128], 0.0f, 1e-6) << "routing " << routing;
    }
}

TEST(DelayNetwork, NoSendMeansNothingEntersTheLine) {
    FeedbackEngine engine;
    isolateLine(engine, 0);
    setParameter(engine, PI::line(0, PI::Damp), 0.0f);
    setParameter(engine, PI::line(0, PI::Delay), 0.0f);
    Render input = silence(kImpulseAt + 300);
    input.left[kImpulseAt] = 1.0f;
    Render output;
    ASSERT_TRUE(render(engine, input, output, 100));
    EXPECT_NEAR(output.left[kImpulseAt], 0.5f * 0.75f, 1e-6);
    for (int n = kImpulseAt + 1; n < kImpulseAt + 300; ++n) {
        ASSERT_NEAR(output.left[n], 0.0f, 1e-9) << "sample " << n;
    }
}

TEST(DelayNetwork, FeedbackRepeatsTheEchoThroughTheMatrix) {
    // Line 0 feeds itself with gain 0.45 (fFeedback0_0 = 0.75): echoes at 64, 128, 192 samples.
    FeedbackEngine engine;
    isolateLine(engine, 0);
    setParameter(engine, PI::line(0, PI::Delay), 0.0f);
    setParameter(engine, PI::line(0, PI::Feedback0), 0.75f);
    Render input = silence(kImpulseAt + 256);
    input.left[kImpulseAt] = 1.0f;
    Render output;
    ASSERT_TRUE(render(engine, input, output, 64));
    const float gain = 0.75f * 1.8f - 0.9f;
    EXPECT_NEAR(output.left[kImpulseAt + 64], 0.375f, 1e-6);
    EXPECT_NEAR(output.left[kImpulseAt + 128], 0.375f * gain, 1e-6);
    EXPECT_NEAR(output.left[kImpulseAt + 192], 0.375f * gain * gain, 1e-6);
}

TEST(DelayNetwork, TheMatrixFeedsIntoALineFromAnother) {
    // Only line 1 hears the (right) input; fFeedback1_0 = 1 feeds line 1 into line 0 with 0.9,
    // and only line 0 is heard: the echo comes after two delays.
    FeedbackEngine engine;
    isolateLine(engine, 0);
    for (int i = 0; i < 2; ++i) {
        setParameter(engine, PI::line(i, PI::Delay), 0.0f);
        setParameter(engine, PI::line(i, PI::InLR), float(i));
    }
    setParameter(engine, PI::line(0, PI::Feedback0 + 1), 1.0f);
    Render input = silence(kImpulseAt + 256);
    input.right[kImpulseAt] = 1.0f;
    Render output;
    ASSERT_TRUE(render(engine, input, output, 64));
    EXPECT_NEAR(output.left[kImpulseAt + 64], 0.0f, 1e-6);
    EXPECT_NEAR(output.left[kImpulseAt + 128], 0.5f * 0.9f * 0.75f, 1e-6);
    EXPECT_NEAR(output.left[kImpulseAt + 192], 0.0f, 1e-6);
}

TEST(DelayNetwork, DryWetZeroPassesTheInputWithTheAlternatingOffset) {
    FeedbackEngine engine;
    setParameter(engine, PI::fDryWetMix, 0.0f);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    Render input = silence(1000);
    for (std::size_t n = 0; n < 1000; ++n) {
        input.left[n] = noise(random);
        input.right[n] = noise(random);
    }
    Render output;
    ASSERT_TRUE(render(engine, input, output, 77));
    for (std::size_t n = 0; n < 1000; ++n) {
        const float offset = n % 2 == 0 ? 1e-13f : -1e-13f;
        ASSERT_EQ(output.left[n], input.left[n] + offset) << "sample " << n;
        ASSERT_EQ(output.right[n], input.right[n] + offset) << "sample " << n;
    }
}

TEST(DelayNetwork, DryWetOneRemovesTheInput) {
    FeedbackEngine engine;
    setParameter(engine, PI::fDryWetMix, 1.0f);
    for (int i = 0; i < PI::kNumLines; ++i) {
        setParameter(engine, PI::line(i, PI::OutV), 0.0f);
    }
    Render input = silence(500);
    std::fill(input.left.begin(), input.left.end(), 0.7f);
    std::fill(input.right.begin(), input.right.end(), -0.3f);
    Render output;
    ASSERT_TRUE(render(engine, input, output, 128));
    // The level ramps need the first sub-block to reach 0.
    for (std::size_t n = 64; n < 500; ++n) {
        ASSERT_EQ(output.left[n], 0.0f) << "sample " << n;
        ASSERT_EQ(output.right[n], 0.0f) << "sample " << n;
    }
}

TEST(DelayNetwork, ProcessAddsExactlyWhatProcessReplacingWrites) {
    std::mt19937 random(11);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    Render input = silence(5000);
    for (std::size_t n = 0; n < 5000; ++n) {
        input.left[n] = noise(random);
        input.right[n] = noise(random);
    }
    FeedbackEngine replacing, accumulating;
    for (FeedbackEngine* engine : {&replacing, &accumulating}) {
        engine->resume(kRate);
        setParameter(*engine, PI::line(0, PI::Delay), 0.01f);
        setParameter(*engine, PI::line(1, PI::Filt), 0.25f);
        setParameter(*engine, PI::line(1, PI::Delay), 0.02f);
        setParameter(*engine, PI::line(2, PI::Feedback0 + 1), 0.9f);
    }
    Render replaced, accumulated;
    ASSERT_TRUE(render(replacing, input, replaced, 300, OutputMode::Replace));
    ASSERT_TRUE(render(accumulating, input, accumulated, 300, OutputMode::Accumulate, kRate,
                       nullptr, 0.25f));
    for (std::size_t n = 0; n < 5000; ++n) {
        ASSERT_EQ(accumulated.left[n], 0.25f + replaced.left[n]) << "sample " << n;
        ASSERT_EQ(accumulated.right[n], 0.25f + replaced.right[n]) << "sample " << n;
    }
}

TEST(DelayNetwork, InputBuffersReceiveTheOffsetInput) {
    FeedbackEngine engine;
    float left[3] = {0.5f, 0.25f, 1.0f};
    float right[3] = {0.0f, 0.0f, std::numeric_limits<float>::quiet_NaN()};
    float outLeft[3], outRight[3];
    float* inputs[2] = {left, right};
    float* outputs[2] = {outLeft, outRight};
    engine.process(inputs, outputs, 3, OutputMode::Replace, kRate, nullptr);
    EXPECT_EQ(left[0], 0.5f + 1e-13f);
    EXPECT_EQ(left[1], 0.25f - 1e-13f);
    EXPECT_EQ(right[1], -1e-13f);
    EXPECT_EQ(right[2], 1e-13f); // a NaN is taken as silence
}

// Sub-blocks and the modulation divisor: with a sequencer of two steps whose cycle equals two
// blocks' worth of beats per sub-block, the step shown after the block tells how many sub-blocks
// ran and how far each advanced (nSub = frames / 64, at least 1).
TEST(DelayNetwork, BlocksAreCutIntoSubBlocksOfSixtyFour) {
    const struct {
        int frames;
        int step;
        float levelReached; // share of the first ramp covered by the block
    } cases[] = {
        {63, 1, 63.0f / 64.0f}, // one short sub-block, nSub 1: stops short of its target
        {64, 1, 1.0f},
        {100, 0, 1.0f}, // 64 + 36 samples with nSub 1: the phase advances twice by a half
        {128, 1, 1.0f}, // two sub-blocks with nSub 2: a quarter each
        {1, 1, 1.0f / 64.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frames << " frames");
        FeedbackEngine engine;
        setParameter(engine, PI::fNumSteps, 0.0f); // two steps
        setParameter(engine, PI::fStepTime, 0.0f); // a quarter beat each
        setParameter(engine, PI::line(0, PI::OutV), 1.0f);
        // 120 beats per minute: the base rate makes each block a quarter beat.
        const float rate = c.frames * 120.0f / (60.0f * 0.25f);
        Render input = silence(c.frames);
        Render output;
        ASSERT_TRUE(render(engine, input, output, c.frames, OutputMode::Replace, rate));
        EXPECT_EQ(engine.getCurrentStep(), c.step);
        EXPECT_NEAR(engine.state().fLevel[0], 0.5f + 0.5f * c.levelReached, 1e-6);
    }
}

TEST(DelayNetwork, ShorteningADelayWhilePlayingWrapsTheRingPosition) {
    FeedbackEngine engine;
    engine.resume(kRate);
    Render input = silence(1000);
    Render output;
    ASSERT_TRUE(render(engine, input, output, 1000));
    EXPECT_EQ(engine.state().iWritePos[0], 1000);
    setParameter(engine, PI::line(0, PI::Delay), 0.0f); // 64 samples
    input = silence(1);
    ASSERT_TRUE(render(engine, input, output, 1));
    EXPECT_EQ(engine.state().iWritePos[0], 0);
    input = silence(200);
    ASSERT_TRUE(render(engine, input, output, 200));
    EXPECT_EQ(engine.state().iWritePos[0], 200 % 64);
}

TEST(DelayNetwork, NonFiniteInputIsSilenceAndTheLinesRecover) {
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(),
                         std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity()};
    for (float routing : {0.0f, 1.0f}) {
        for (float value : bad) {
            SCOPED_TRACE(testing::Message() << "routing " << routing << " value " << value);
            FeedbackEngine engine;
            isolateLine(engine, 0);
            setParameter(engine, PI::fRouting, routing);
            setParameter(engine, PI::fDryWetMix, 0.5f);
            setParameter(engine, PI::line(0, PI::Delay), 0.0f);
            setParameter(engine, PI::line(0, PI::Filt), 0.25f);
            setParameter(engine, PI::line(0, PI::Freq), 1.0f);
            setParameter(engine, PI::line(0, PI::Res), 1.0f);
            setParameter(engine, PI::line(0, PI::Feedback0), 1.0f);
            Render input = silence(4000);
            for (int n = 100; n < 400; n += 7) {
                input.left[n] = value;
                input.right[n + 1] = value;
            }
            input.left[2000] = 1.0f;
            Render output;
            ASSERT_TRUE(render(engine, input, output, 128));
            for (std::size_t n = 0; n < 4000; ++n) {
                ASSERT_TRUE(std::isfinite(output.left[n]) && std::isfinite(output.right[n]))
                    << "sample " << n;
            }
            EXPECT_GT(std::fabs(output.left[2000 + 64]), 1e-3f); // the line still echoes
        }
    }
}

TEST(DelayNetwork, OverflowingInputIsForgottenByTheNextBlock) {
    for (float routing : {0.0f, 1.0f}) {
        FeedbackEngine engine;
        engine.resume(kRate);
        setParameter(engine, PI::fRouting, routing);
        for (int i = 0; i < PI::kNumLines; ++i) {
            setParameter(engine, PI::line(i, PI::Filt), 0.25f * i);
            setParameter(engine, PI::line(i, PI::Res), 1.0f);
            setParameter(engine, PI::line(i, PI::Delay), 0.0f);
        }
        Render input = silence(256);
        std::fill(input.left.begin(), input.left.begin() + 64, 3e38f);
        std::fill(input.right.begin(), input.right.begin() + 64, -3e38f);
        Render output;
        ASSERT_TRUE(render(engine, input, output, 64));
        for (std::size_t n = 64; n < 256; ++n) {
            ASSERT_TRUE(std::isfinite(output.left[n]) && std::isfinite(output.right[n]))
                << "routing " << routing << " sample " << n;
        }
    }
}

TEST(DelayNetwork, BadBuffersOrRatesDoNoHarm) {
    FeedbackEngine engine;
    float samples[4][64] = {};
    float* inputs[2] = {samples[0], samples[1]};
    float* outputs[2] = {samples[2], samples[3]};
    float* missing[2] = {samples[0], nullptr};
    engine.process(nullptr, outputs, 64, OutputMode::Replace, kRate, nullptr);
    engine.process(inputs, nullptr, 64, OutputMode::Replace, kRate, nullptr);
    engine.process(missing, outputs, 64, OutputMode::Replace, kRate, nullptr);
    engine.process(inputs, missing, 64, OutputMode::Accumulate, kRate, nullptr);
    EXPECT_EQ(engine.state().iWritePos[0], 0);
    engine.process(nullptr, nullptr, 0, OutputMode::Replace, kRate, nullptr);
    const double before = engine.state().dSongPos.load();
    engine.process(inputs, outputs, -100, OutputMode::Replace, kRate, nullptr);
    EXPECT_EQ(engine.state().dSongPos.load(), before);
    for (float rate : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                       std::numeric_limits<float>::infinity(), 1e-30f}) {
        samples[0][0] = 1.0f;
        engine.process(inputs, outputs, 64, OutputMode::Replace, rate, nullptr);
        for (int n = 0; n < 64; ++n) {
            ASSERT_TRUE(std::isfinite(samples[2][n]) && std::isfinite(samples[3][n]))
                << "rate " << rate;
        }
    }
}

TEST(DelayNetwork, InPlaceProcessingMatchesSeparateBuffers) {
    FeedbackEngine separate, inPlace;
    std::vector<float> left(700), right(700);
    for (int n = 0; n < 700; ++n) {
        left[n] = std::sin(n * 0.05f);
        right[n] = std::cos(n * 0.03f);
    }
    Render input{left, right}, output;
    ASSERT_TRUE(render(separate, input, output, 700));
    float* buffers[2] = {left.data(), right.data()};
    inPlace.process(buffers, buffers, 700, OutputMode::Replace, kRate, nullptr);
    for (int n = 0; n < 700; ++n) {
        ASSERT_EQ(left[n], output.left[n]) << "sample " << n;
        ASSERT_EQ(right[n], output.right[n]) << "sample " << n;
    }
}

} // namespace
