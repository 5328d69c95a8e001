// The engine values that setParameter derives, for values inside 0..1 and for any other float.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace engine;

namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct DelayCase {
    float value;
    float storedValue;
    float milliseconds;
    std::int32_t samples;
};

TEST(ParameterMapping, DelayTimesAreWholeMillisecondsWithinTheBuffer) {
    const DelayCase cases[] = {
        {0.0f, 0.0f, 0.0f, 64},          // never below 64 samples
        {0.0005f, 0.0005f, 1.0f, 64},    // 48 samples would be too short
        {0.4f, 0.4f, 800.0f, 38400},     // the delay-time knob example
        {0.40037f, 0.4f, 800.0f, 38400}, // quantised to whole milliseconds
        {0.5f, 0.5f, 1000.0f, 48000},    {1.0f, 1.0f, 2000.0f, 95999}, // one below the buffer size
        {-1.0f, -1.0f, 0.0f, 64},        {5.0f, 5.0f, 2000.0f, 95999}, {kInf, kInf, 2000.0f, 95999},
        {-kInf, -kInf, 0.0f, 64},        {kNaN, 0.0f, 0.0f, 64},
    };
    for (const DelayCase& c : cases) {
        for (int line = 0; line < PI::kNumLines; ++line) {
            FeedbackEngine engine;
            setParameter(engine, PI::line(line, PI::Delay), c.value);
            SCOPED_TRACE(testing::Message() << "value " << c.value << " line " << line);
            EXPECT_EQ(engine.getParameter(PI::line(line, PI::Delay)), c.storedValue);
            EXPECT_EQ(engine.getParameter(PI::kQueryDelayMs0 + line), c.milliseconds);
            EXPECT_EQ(engine.state().iDelaySamples[line].load(), c.samples);
        }
    }
}

// Hosts switch the effect on at their rate without touching a parameter.
TEST(ParameterMapping, EachResumeRecomputesDelaysAndLookAheadForItsRate) {
    FeedbackEngine engine;
    setParameter(engine, PI::line(0, PI::Delay), 0.25f); // 500 ms
    setParameter(engine, PI::fCompSense, 0.25f);         // 25 ms look-ahead
    const struct {
        float rate;
        std::int32_t samples, lookAhead;
    } steps[] = {{44100.0f, 22050, 1102}, {96000.0f, 48000, 2400}, {48000.0f, 24000, 1200}};
    for (const auto& step : steps) {
        engine.resume(step.rate);
        EXPECT_EQ(engine.state().iDelaySamples[0].load(), step.samples) << step.rate;
        EXPECT_EQ(engine.state().iLookAhead.load(), step.lookAhead) << step.rate;
    }
}

struct LimiterCase {
    float compSense;
    std::int32_t mode;
    // Time constants of what the mode uses, 0 where it uses none; the coefficients are
    // 1 / (ms x 48). The saturators use neither, the peak limiters only the release.
    double attackMs;
    double releaseMs;
    std::int32_t lookAhead;
};

TEST(ParameterMapping, CompSenseSelectsLimiterModeTimesAndLookAhead) {
    const LimiterCase cases[] = {
        {0.0f, 0, 0.0, 0.0, 2400},    {0.25f, 1, 0.0, 275.5, 1200},
        {0.5f, 2, 0.0, 10.0, 0},      {0.75f, 3, 25.75, 275.5, -1200},
        {1.0f, 4, 0.0, 0.0, -2400},   {-0.5f, 1, 0.0, 51.0 + 898.0, 4800},
        {2.0f, 4, 0.0, 0.0, -7200},   {kNaN, 0, 0.0, 0.0, 2400},
        {-kInf, 1, 0.0, kInf, 96000}, {kInf, 4, 0.0, 0.0, -96000},
    };
    for (const LimiterCase& c : cases) {
        FeedbackEngine engine;
        setParameter(engine, PI::fCompSense, c.compSense);
        SCOPED_TRACE(testing::Message() << "fCompSense " << c.compSense);
        const EngineState& state = engine.state();
        EXPECT_EQ(state.iLimiterMode.load(), c.mode);
        if (c.attackMs != 0.0) {
            EXPECT_FLOAT_EQ(state.fAttackCoef.load(), float(1.0 / (c.attackMs * 48)));
        }
        if (c.releaseMs != 0.0) {
            EXPECT_FLOAT_EQ(state.fReleaseCoef.load(), float(1.0 / (c.releaseMs * 48)));
        }
        EXPECT_EQ(state.iLookAhead.load(), c.lookAhead);
    }
}

TEST(ParameterMapping, FeedbackLimitRunsFromAQuarterToThreeAndStaysThere) {
    const std::pair<float, float> cases[] = {
        {0.0f, 0.25f}, {0.5f, 1.0f},  {1.0f, 3.0f}, {0.25f, 0.46875f}, {-0.05f, 0.25f},
        {-1.0f, 2.5f}, {10.0f, 3.0f}, {kInf, 3.0f}, {-kInf, 3.0f},     {kNaN, 0.25f},
    };
    for (const auto& [value, limit] : cases) {
        FeedbackEngine engine;
        setParameter(engine, PI::fFeedbackLimit, value);
        EXPECT_FLOAT_EQ(engine.getParameter(PI::kQueryLimit), limit) << "value " << value;
    }
}

TEST(ParameterMapping, StepCountIsTwoToSixteenWhateverTheValue) {
    const std::pair<float, std::int32_t> cases[] = {
        {0.0f, 2},  {0.5f, 9},  {0.999f, 15}, {1.0f, 16}, {-3.0f, 2},
        {7.0f, 16}, {kInf, 16}, {-kInf, 2},   {kNaN, 2},  {1e-30f, 2},
    };
    for (const auto& [value, steps] : cases) {
        FeedbackEngine engine;
        setParameter(engine, PI::fNumSteps, value);
        EXPECT_EQ(engine.state().iNumSteps.load(), steps) << "value " << value;
    }
}

TEST(ParameterMapping, StepShiftIsAnsweredInSteps) {
    const std::tuple<float, float, float> cases[] = {
        {1.0f, 0.5f, 8.0f},  {0.0f, 0.5f, 1.0f},  {1.0f, 0.0f, 0.0f},
        {1.0f, 2.0f, 16.0f}, {1.0f, -1.0f, 0.0f}, {1.0f, kInf, 16.0f},
    };
    for (const auto& [numSteps, shift, steps] : cases) {
        FeedbackEngine engine;
        setParameter(engine, PI::fNumSteps, numSteps);
        setParameter(engine, PI::fStepShift, shift);
        EXPECT_EQ(engine.getParameter(PI::kQueryStepShift), steps) << "shift " << shift;
    }
}

TEST(ParameterMapping, TempoComesInTenthsFromFourToTwoHundredSixty) {
    const std::pair<float, float> cases[] = {
        {0.0f, 0.0f},   {1.0f / 2560.0f, 4.1f}, {0.453125f, 120.0f}, {1.0f, 260.0f},
        {0.5f, 132.0f}, {-0.5f, 4.0f},          {2.0f, 260.0f},      {kInf, 260.0f},
        {-kInf, 4.0f},  {kNaN, 0.0f},           {-0.0f, 0.0f},       {1e-9f, 0.0f},
    };
    for (const auto& [value, tempo] : cases) {
        FeedbackEngine engine;
        setParameter(engine, PI::fSyncBPM, value);
        EXPECT_EQ(engine.state().dTempo.load(), double{tempo}) << "value " << value;
        EXPECT_EQ(engine.getParameter(PI::kQueryTempo), tempo) << "value " << value;
    }
}

TEST(ParameterMapping, SyncTempoIsStoredInSteps) {
    FeedbackEngine engine;
    setParameter(engine, PI::fSyncBPM, 0.00039f); // just below the first step
    EXPECT_EQ(engine.getParameter(PI::fSyncBPM), 0.0f);
    setParameter(engine, PI::fSyncBPM, 0.4532f);
    EXPECT_EQ(engine.getParameter(PI::fSyncBPM), static_cast<float>(1160 * double(1.0f / 2560)));
}

TEST(ParameterMapping, FeedbackGainsFillTheMatrixIntoLineFromLine) {
    const std::pair<float, float> cases[] = {
        {0.5f, 0.0f}, {1.0f, 0.9f}, {0.0f, -0.9f}, {kInf, 0.9f}, {-kInf, -0.9f}, {3.0f, 0.9f},
    };
    for (const auto& [value, gain] : cases) {
        FeedbackEngine engine;
        setParameter(engine, PI::line(2, PI::Feedback0 + 1), value); // into line 2 from line 1
        for (int i = 0; i < PI::kNumLines; ++i) {
            for (int j = 0; j < PI::kNumLines; ++j) {
                const float expected = i == 2 && j == 1 ? gain : 0.0f;
                EXPECT_NEAR(engine.state().fMatrixGain[i][j].load(), expected, 1e-7)
                    << "value " << value << " at " << i << "," << j;
            }
        }
    }
}

TEST(ParameterMapping, ModulationAmountsAreBipolarPerSourceDestinationAndLine) {
    FeedbackEngine engine;
    setParameter(engine, PI::lfoAmount(1, 0, 3), 1.0f);
    setParameter(engine, PI::lfoAmount(0, 1, 2), 0.0f);
    setParameter(engine, PI::stepAmount(1, 0), 0.75f);
    setParameter(engine, PI::stepAmount(0, 1), -kInf);
    const EngineState& state = engine.state();
    EXPECT_EQ(state.fLfoAmount[1][0][3].load(), 1.0f);
    EXPECT_EQ(state.fLfoAmount[0][1][2].load(), -1.0f);
    EXPECT_EQ(state.fLfoAmount[0][0][0].load(), 0.0f);
    EXPECT_EQ(state.fStepAmount[1][0].load(), 0.5f);
    EXPECT_EQ(state.fStepAmount[0][1].load(), -1.0f);
}

TEST(ParameterMapping, RoutingPutsTheFiltersInTheLoopFromOneHalf) {
    const std::pair<float, std::int32_t> cases[] = {
        {0.0f, 0}, {0.4999f, 0}, {0.5f, 1}, {1.0f, 1}, {kInf, 1}, {-kInf, 0}, {kNaN, 0},
    };
    for (const auto& [value, after] : cases) {
        FeedbackEngine engine;
        setParameter(engine, PI::fRouting, value);
        EXPECT_EQ(engine.state().iFiltAfterDelay.load(), after) << "value " << value;
    }
}

TEST(ParameterMapping, StoredValuesAreThoseGivenExceptNaN) {
    const std::pair<float, float> cases[] = {
        {0.3f, 0.3f}, {7.5f, 7.5f}, {-2.0f, -2.0f}, {kInf, kInf}, {-kInf, -kInf}, {kNaN, 0.0f},
    };
    for (const auto& [value, stored] : cases) {
        for (int index : {PI::fDryWetMix, PI::line(1, PI::Freq), PI::fStep0 + 15, 110}) {
            FeedbackEngine engine;
            setParameter(engine, index, value);
            EXPECT_EQ(engine.getParameter(index), stored) << "index " << index;
        }
    }
}

TEST(ParameterMapping, IndicesOutsideTheTableChangeNothingAndAnswerZero) {
    FeedbackEngine engine;
    float before[PI::kNumParameters];
    for (int index = 0; index < PI::kNumParameters; ++index) {
        before[index] = engine.getParameter(index);
    }
    for (int index : {-1, 111, 500, 998, 999, 1000, 1200}) {
        setParameter(engine, index, 0.3f);
    }
    for (int index = 0; index < PI::kNumParameters; ++index) {
        EXPECT_EQ(engine.getParameter(index), before[index]) << "index " << index;
    }
    for (int index : {-1, 111, 998, 999, 1008, 1099, 1101, 1200}) {
        EXPECT_EQ(engine.getParameter(index), 0.0f) << "index " << index;
    }
}

TEST(ParameterMapping, DisplayQueriesAnswerEngineQuantities) {
    FeedbackEngine engine;
    setParameter(engine, PI::line(1, PI::Delay), 0.25f);
    setParameter(engine, PI::line(3, PI::Delay), 0.0f);
    setParameter(engine, PI::fFeedbackLimit, 1.0f);
    EXPECT_EQ(engine.getParameter(1003), 500.0f);
    EXPECT_EQ(engine.getParameter(1005), 0.0f);
    EXPECT_EQ(engine.getParameter(1002), 1000.0f);
    EXPECT_EQ(engine.getParameter(1006), 120.0f);
    EXPECT_EQ(engine.getParameter(1007), 3.0f);
    EXPECT_EQ(engine.getParameter(1000), 0.0f);
    EXPECT_EQ(engine.getParameter(1100), 0.0f);
}

// Stored exactly as the table gives them (the quantised ones included), and derived from them
// at 48 kHz: sixteen steps, 120 beats per minute, lines of one second in two-second memory.
TEST(ParameterMapping, ANewEngineHoldsTheNeutralSetting) {
    FeedbackEngine engine;
    EXPECT_TRUE(engine.hasDelayMemory());
    EXPECT_EQ(engine.state().iBufferSize.load(), 96000);
    for (int index = 0; index < PI::kNumParameters; ++index) {
        EXPECT_EQ(engine.getParameter(index), kNeutralSetting[index]) << "index " << index;
    }
    EXPECT_EQ(engine.state().iNumSteps.load(), 16);
    EXPECT_EQ(engine.getParameter(PI::kQueryTempo), 120.0f);
    for (int i = 0; i < PI::kNumLines; ++i) {
        EXPECT_EQ(engine.state().iDelaySamples[i].load(), 48000);
    }
}

} // namespace
