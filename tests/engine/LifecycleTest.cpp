// Switching the effect on and off, the panic command, and the delay memory's size.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace engine;

namespace {

bool linesAreSilent(const EngineState& state) {
    for (int i = 0; i < EngineState::kLines; ++i) {
        for (std::int32_t n = 0; n < state.iBufferSize.load(); ++n) {
            if (state.pDelayBuffer[i][n] != 0.0f) {
                return false;
            }
        }
    }
    return true;
}

// Plays a loud, resonant, fed-back setting so that lines, filters and limiter all hold state.
void playSomething(FeedbackEngine& engine) {
    setParameter(engine, PI::fCompSense, 0.25f);
    for (int i = 0; i < PI::kNumLines; ++i) {
        setParameter(engine, PI::line(i, PI::Delay), 0.01f * (i + 1));
        setParameter(engine, PI::line(i, PI::Filt), 0.25f);
        setParameter(engine, PI::line(i, PI::Freq), 0.6f);
        setParameter(engine, PI::line(i, PI::Res), 0.9f);
        setParameter(engine, PI::line(i, PI::Feedback0 + (i + 1) % 4), 1.0f);
    }
    Render input = silence(3000);
    for (std::size_t n = 0; n < 3000; n += 50) {
        input.left[n] = 3.0f;
        input.right[n] = -2.0f;
    }
    Render output;
    ASSERT_TRUE(render(engine, input, output, 256));
}

TEST(Lifecycle, ResumeGrowsTheLinesToTwoSecondsAndNeverShrinksThem) {
    const struct {
        float rate;
        double sampleRate;
        std::int32_t bufferSize;
    } steps[] = {
        {44100.0f, 44100.0, 96000},  // two seconds fit already
        {96000.0f, 96000.0, 192000}, // grown
        {48000.0f, 48000.0, 192000}, // kept
        {5000.0f, 48000.0, 192000},  // below 10 kHz: 48 kHz
        {std::numeric_limits<float>::quiet_NaN(), 48000.0, 192000},
        {std::numeric_limits<float>::infinity(), 48000.0, 192000},
        {-96000.0f, 48000.0, 192000},
        {192000.0f, 192000.0, 384000},
        {2e9f, 2e9, 384000}, // four seconds' worth would not fit a ring: memory kept as it is
    };
    FeedbackEngine engine;
    for (const auto& step : steps) {
        engine.resume(step.rate);
        SCOPED_TRACE(testing::Message() << "rate " << step.rate);
        EXPECT_EQ(engine.state().dSampleRate.load(), step.sampleRate);
        EXPECT_EQ(engine.state().iBufferSize.load(), step.bufferSize);
        EXPECT_TRUE(engine.hasDelayMemory());
    }
}

TEST(Lifecycle, ALineNeverOutgrowsItsMemory) {
    FeedbackEngine engine;
    engine.resume(2e9f); // memory stays at 96000 samples
    setParameter(engine, PI::line(0, PI::Delay), 1.0f);
    setParameter(engine, PI::line(1, PI::Delay), 0.0f);
    EXPECT_EQ(engine.state().iDelaySamples[0].load(), 95999);
    EXPECT_EQ(engine.state().iDelaySamples[1].load(), 64);
    Render input = silence(1000);
    input.left[0] = 1.0f;
    Render output;
    EXPECT_TRUE(render(engine, input, output, 512));
}

TEST(Lifecycle, ResumeAndSuspendClearTheLinesAndFilters) {
    for (bool resume : {true, false}) {
        FeedbackEngine engine;
        engine.resume(kRate);
        playSomething(engine);
        ASSERT_FALSE(linesAreSilent(engine.state()));
        resume ? engine.resume(kRate) : engine.suspend();
        const EngineState& state = engine.state();
        EXPECT_TRUE(linesAreSilent(state));
        for (int i = 0; i < EngineState::kLines; ++i) {
            EXPECT_EQ(state.iWritePos[i], 0);
            EXPECT_EQ(state.fSvfBand[i], 0.0f);
            EXPECT_EQ(state.fSvfLow[i], 0.0f);
            if (resume) {
                EXPECT_EQ(state.fEnv[i], state.fLimit.load());
            }
        }
        if (resume) {
            EXPECT_EQ(engine.getParameter(PI::kQuerySongPosition), 0.0f);
        }
    }
}

TEST(Lifecycle, PanicClearsLinesAndLimiterAtTheNextBlockAndKeepsTheParameters) {
    FeedbackEngine engine;
    engine.resume(kRate);
    playSomething(engine);
    float before[PI::kNumParameters];
    for (int index = 0; index < PI::kNumParameters; ++index) {
        before[index] = engine.getParameter(index);
    }
    engine.resetEngine();
    Render none = silence(0), output;
    ASSERT_TRUE(render(engine, none, output, 64));
    const EngineState& state = engine.state();
    EXPECT_TRUE(linesAreSilent(state));
    for (int i = 0; i < EngineState::kLines; ++i) {
        EXPECT_EQ(state.iWritePos[i], 0);
        EXPECT_EQ(state.fSvfLow[i], 0.0f);
        EXPECT_EQ(state.fGainEnv[i], 1.0f);
        EXPECT_EQ(state.fEnv[i], state.fLimit.load());
    }
    for (int index = 0; index < PI::kNumParameters; ++index) {
        EXPECT_EQ(engine.getParameter(index), before[index]) << "index " << index;
    }
    // Silence in, silence out (apart from the anti-denormal residue).
    Render input = silence(2000);
    ASSERT_TRUE(render(engine, input, output, 128));
    for (std::size_t n = 0; n < 2000; ++n) {
        ASSERT_NEAR(output.left[n], 0.0f, 1e-9) << "sample " << n;
    }
}

TEST(Lifecycle, TwoPanicsGiveIdenticalOutput) {
    FeedbackEngine engine;
    engine.resume(kRate);
    playSomething(engine);
    setParameter(engine, PI::fCompSense, 0.5f);
    Render input = silence(4096);
    for (std::size_t n = 0; n < 4096; n += 300) {
        input.left[n] = 0.9f;
    }
    Render first, second;
    engine.resetEngine();
    ASSERT_TRUE(render(engine, input, first, 256));
    engine.resetEngine();
    ASSERT_TRUE(render(engine, input, second, 256));
    EXPECT_EQ(first.left, second.left);
    EXPECT_EQ(first.right, second.right);
}

TEST(Lifecycle, PanicWhileSuspendedIsDoneBySuspendOrResume) {
    FeedbackEngine engine;
    engine.resume(kRate);
    playSomething(engine);
    engine.resetEngine();
    engine.suspend();
    EXPECT_EQ(engine.state().fGainEnv[0], 1.0f);
    EXPECT_TRUE(linesAreSilent(engine.state()));
}

} // namespace
