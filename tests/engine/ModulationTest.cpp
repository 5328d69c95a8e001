// The LFOs and the step sequencer: what they do to the per-line working values at a given song
// position, and how they run in time against the own tempo and the host's transport.
#include "EngineTestSupport.h"

#include "engine/Modulation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

using namespace engine;

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr float kOutput = 0.5f; // destination value of "  Output  " (n = 3 of 8)
constexpr float kLfo2D1 = 0.9f; // n = 6 of 8
constexpr float kSquare10 = 0.25f;

// The modulation at one song position: a block of no length, so nothing advances.
struct ModulationBench {
    EngineState state;
    Modulation modulation;

    ModulationBench() { setNeutral(state); }
    void set(int index, float value) { setParameter(state, index, value); }
    void at(double songPosition) {
        storeRelaxed(state.dSongPos, songPosition);
        modulation.beginBlock(state, 0, 1, kRate, nullptr);
        modulation.update(state);
    }
    float level(int line) const { return modulation.working(Modulation::Level, line); }
};

// LFO 1 drives every line's level from 0 by half its value: the level shows the wave.
void lfoOnLevels(ModulationBench& bench, float wave) {
    bench.set(PI::lfo(0, PI::LfoWave), wave);
    bench.set(PI::lfoDestination(0, 0), kOutput);
    for (int i = 0; i < PI::kNumLines; ++i) {
        bench.set(PI::line(i, PI::OutV), 0.0f);
        bench.set(PI::lfoAmount(0, 0, i), 1.0f);
    }
}

TEST(Modulation, LfoWavesOverOneBeat) {
    const struct {
        float wave;
        double (*shape)(double p); // level for phase p
    } waves[] = {
        {0.0f, [](double p) { return (std::sin(kTwoPi * p) + 1.0) / 2.0; }},
        {0.25f, [](double p) { return p < 0.5 ? 1.0 : 0.0; }},
        {0.5f, [](double p) { return p < 0.5 ? 0.0 : 1.0; }},
        {0.75f, [](double p) { return p; }},
        {1.0f, [](double p) { return 1.0 - p; }},
        {1.25f, [](double) { return 0.0; }}, // no such wave: the values stay at 0
        {-0.5f, [](double) { return 0.0; }},
    };
    for (const auto& w : waves) {
        ModulationBench bench;
        lfoOnLevels(bench, w.wave);
        for (double position : {0.0, 0.125, 0.3, 0.5, 0.6, 0.75, 0.9, 3.3, -0.25}) {
            bench.at(position);
            const double phase = position - std::floor(position);
            EXPECT_NEAR(bench.level(0), w.shape(phase), 1e-6)
                << "wave " << w.wave << " position " << position;
        }
    }
}

TEST(Modulation, LfoRateDivisionsSetThePeriodInBeats) {
    const std::pair<float, double> cases[] = {
        {0.0f, 0.25}, {0.25f, 0.5}, {0.5f, 1.0}, {0.75f, 4.0}, {1.0f, 16.0}, {1.5f, 1.0},
    };
    for (const auto& [rate, period] : cases) {
        ModulationBench bench;
        lfoOnLevels(bench, 0.75f); // saw up shows the phase
        bench.set(PI::lfo(0, PI::LfoRate), rate);
        bench.at(0.2);
        EXPECT_NEAR(bench.level(0), std::fmod(0.2 / period, 1.0), 1e-6) << "rate " << rate;
    }
}

TEST(Modulation, PhaseAndSpreadShiftTheLines) {
    ModulationBench bench;
    lfoOnLevels(bench, 0.75f);
    bench.set(PI::lfo(0, PI::LfoPhse), 0.25f);
    bench.set(PI::lfo(0, PI::LfoDist), 0.25f);
    bench.at(0.0);
    const float expected[] = {0.25f, 0.5f, 0.75f, 0.0f};
    for (int i = 0; i < PI::kNumLines; ++i) {
        EXPECT_NEAR(bench.level(i), expected[i], 1e-6) << "line " << i;
    }
}

TEST(Modulation, DestinationsSelectTheWorkingValue) {
    const struct {
        int lfo;
        float destination;
        Modulation::Row row; // Unused: nothing moves
    } cases[] = {
        {0, 0.0f, Modulation::Unused},      {0, 0.1f, Modulation::Unused},
        {0, 0.15f, Modulation::Cutoff},     {0, 0.3f, Modulation::Resonance},
        {0, kOutput, Modulation::Level},    {0, 0.6f, Modulation::Pan},
        {0, 0.75f, Modulation::Send},       {0, kLfo2D1, Modulation::Lfo2Amount0},
        {0, 1.0f, Modulation::Lfo2Amount1}, {0, 1.5f, Modulation::Unused},
        {0, -1.0f, Modulation::Unused},     {1, 0.1f, Modulation::Unused},
        {1, 0.2f, Modulation::Cutoff},      {1, 0.9f, Modulation::Pan},
        {1, 1.0f, Modulation::Send},        {1, 1.2f, Modulation::Unused},
    };
    for (const auto& c : cases) {
        for (int d = 0; d < 2; ++d) {
            SCOPED_TRACE(testing::Message()
                         << "LFO " << c.lfo << " destination " << d << " value " << c.destination);
            ModulationBench bench;
            bench.set(PI::lfo(c.lfo, PI::LfoWave), kSquare10); // 2 in the first half cycle
            bench.set(PI::lfoDestination(c.lfo, d), c.destination);
            for (int i = 0; i < PI::kNumLines; ++i) {
                bench.set(PI::lfoAmount(c.lfo, d, i), 1.0f);
                bench.set(PI::line(i, PI::Freq), 0.2f);
                bench.set(PI::line(i, PI::Res), 0.2f);
                bench.set(PI::line(i, PI::OutV), 0.2f);
                bench.set(PI::line(i, PI::OutLR), 0.2f);
                bench.set(PI::line(i, PI::Damp), 0.2f);
            }
            bench.at(0.1);
            for (int row = Modulation::Cutoff; row < Modulation::Unused; ++row) {
                // LFO 2's own amounts of 1 are its working amounts; LFO 1's leave them at 0.
                const bool ownAmount = c.lfo == 1 && row == Modulation::Lfo2Amount0 + d;
                const float base = row < Modulation::Lfo2Amount0 ? 0.2f : ownAmount ? 1.0f : 0.0f;
                const float expected = row == c.row ? 1.0f : base;
                EXPECT_FLOAT_EQ(bench.modulation.working(Modulation::Row(row), 3), expected)
                    << "row " << row;
            }
        }
    }
}

TEST(Modulation, TargetsAreClampedToTheParameterRange) {
    ModulationBench bench;
    lfoOnLevels(bench, kSquare10);
    bench.set(PI::line(0, PI::OutV), 0.7f);
    bench.set(PI::line(1, PI::OutV), 0.7f);
    bench.set(PI::lfoAmount(0, 0, 1), 0.0f); // amount -1
    bench.set(PI::line(2, PI::OutV), 5.0f);  // taken as 1
    bench.set(PI::lfoAmount(0, 0, 2), 0.5f); // amount 0
    bench.at(0.1);
    EXPECT_EQ(bench.level(0), 1.0f);
    EXPECT_EQ(bench.level(1), 0.0f);
    EXPECT_EQ(bench.level(2), 1.0f);
}

TEST(Modulation, TheLastPairAddressingATargetSetsIt) {
    // LFO 1 and the sequencer both move the levels: the sequencer comes later and wins; each
    // starts from the base, not from the other's result.
    ModulationBench bench;
    lfoOnLevels(bench, kSquare10);
    bench.set(PI::fStepDest0, kOutput);
    bench.set(PI::fStep0, 0.3f);
    for (int i = 0; i < PI::kNumLines; ++i) {
        bench.set(PI::stepAmount(0, i), 1.0f);
    }
    bench.at(0.1);
    EXPECT_FLOAT_EQ(bench.level(0), 0.3f);
}

TEST(Modulation, Lfo1AndTheSequencerCanMoveLfo2sAmounts) {
    ModulationBench bench;
    bench.set(PI::lfo(1, PI::LfoWave), kSquare10);
    bench.set(PI::lfoDestination(1, 0), 0.6f); // "  Output  " is n = 3 of 6
    for (int i = 0; i < PI::kNumLines; ++i) {
        bench.set(PI::line(i, PI::OutV), 0.0f);
        bench.set(PI::lfoAmount(1, 0, i), 1.0f);
    }
    bench.at(0.1);
    EXPECT_EQ(bench.level(0), 1.0f);

    // LFO 1 pulls LFO 2's first amount down by 1: clamped to 0, so LFO 2 stops moving.
    bench.set(PI::lfo(0, PI::LfoWave), kSquare10);
    bench.set(PI::lfoDestination(0, 0), kLfo2D1);
    for (int i = 0; i < PI::kNumLines; ++i) {
        bench.set(PI::lfoAmount(0, 0, i), 0.0f);
    }
    bench.at(0.1);
    EXPECT_EQ(bench.modulation.working(Modulation::Lfo2Amount0, 0), 0.0f);
    EXPECT_EQ(bench.level(0), 0.0f);

    // The sequencer instead sets it to a quarter.
    bench.set(PI::lfoDestination(0, 0), 0.0f);
    bench.set(PI::fStepDest1, kLfo2D1);
    bench.set(PI::fStep0, 0.25f);
    for (int i = 0; i < PI::kNumLines; ++i) {
        bench.set(PI::lfoAmount(1, 0, i), 0.5f); // base amount 0
        bench.set(PI::stepAmount(1, i), 1.0f);
    }
    bench.at(0.1);
    EXPECT_FLOAT_EQ(bench.level(0), 0.25f);
}

TEST(Modulation, StepsHoldOrGlideToTheNextStep) {
    const struct {
        float blend;
        double position;
        int step;
        float value;
    } cases[] = {
        {0.0f, 0.5, 0, 0.2f},  {0.0f, 1.5, 1, 0.8f},  {1.0f, 0.0, 0, 0.2f},  {1.0f, 0.5, 0, 0.5f},
        {1.0f, 1.5, 1, 0.5f}, // the last step glides to step 0
        {0.5f, 0.25, 0, 0.2f}, {0.5f, 0.75, 0, 0.5f}, {0.5f, 2.75, 0, 0.5f}, {0.5f, 1.75, 1, 0.5f},
    };
    for (const auto& c : cases) {
        ModulationBench bench;
        bench.set(PI::fNumSteps, 0.0f); // two steps
        bench.set(PI::fStepTime, 0.5f); // a beat each
        bench.set(PI::fStep0, 0.2f);
        bench.set(PI::fStep0 + 1, 0.8f);
        bench.set(PI::fStep0 + 2, 1.0f); // beyond the active steps: never heard
        bench.set(PI::fBlend, c.blend);
        bench.set(PI::fStepDest0, kOutput);
        for (int i = 0; i < PI::kNumLines; ++i) {
            bench.set(PI::line(i, PI::OutV), 0.0f);
            bench.set(PI::stepAmount(0, i), 1.0f);
        }
        bench.at(c.position);
        EXPECT_EQ(bench.state.iCurrentStep.load(), c.step) << "position " << c.position;
        EXPECT_NEAR(bench.level(0), c.value, 1e-6)
            << "blend " << c.blend << " position " << c.position;
    }
}

TEST(Modulation, StepShiftMovesTheSequenceBySteps) {
    const struct {
        float shift, numSteps;
        double position;
        int step;
    } cases[] = {
        {0.5f, 1.0f, 0.0, 8}, {0.5f, 1.0f, 0.25, 9}, {0.25f, 0.0f, 0.0, 0}, {0.75f, 0.0f, 0.0, 1},
        {0.5f, 1.0f, 3.9, 7}, {1e30f, 1.0f, 0.0, 0}, {-5.0f, 1.0f, 0.0, 0}, {0.5f, 1.0f, -0.25, 7},
    };
    for (const auto& c : cases) {
        ModulationBench bench;
        bench.set(PI::fNumSteps, c.numSteps);
        bench.set(PI::fStepTime, 0.0f); // a quarter beat per step
        bench.set(PI::fStepShift, c.shift);
        bench.at(c.position);
        EXPECT_EQ(bench.state.iCurrentStep.load(), c.step)
            << "shift " << c.shift << " position " << c.position;
    }
}

// An engine where lines 0 (left) and 1 (right) sound their filtered input directly, at a level
// LFO 1 moves between 0 and 1 over one beat; the lines' phases a quarter cycle apart.
FeedbackEngine* lfoOnOutputs(FeedbackEngine& engine) {
    isolateLine(engine, 0);
    setParameter(engine, PI::lfoDestination(0, 0), kOutput);
    setParameter(engine, PI::lfo(0, PI::LfoDist), 0.25f);
    for (int i = 0; i < 2; ++i) {
        setParameter(engine, PI::line(i, PI::Damp), 0.0f);
        setParameter(engine, PI::line(i, PI::OutV), 0.0f);
        setParameter(engine, PI::line(i, PI::InLR), 0.0f);
        setParameter(engine, PI::line(i, PI::OutLR), float(i));
        setParameter(engine, PI::lfoAmount(0, 0, i), 1.0f);
    }
    return &engine;
}

TEST(Modulation, AtOwnTempo120TheLfoCyclesEveryHalfSecond) {
    for (int blockSize : {64, 512}) {
        FeedbackEngine engine;
        lfoOnOutputs(engine);
        Render input = silence(48000);
        std::fill(input.left.begin(), input.left.end(), 1.0f);
        Render output;
        ASSERT_TRUE(render(engine, input, output, blockSize));
        const auto peak = [](const std::vector<float>& signal, int from) {
            return std::max_element(signal.begin() + from, signal.begin() + from + 24000) -
                   signal.begin();
        };
        SCOPED_TRACE(testing::Message() << "block size " << blockSize);
        // Sine peaks a quarter cycle in: 6000 samples, plus the ramps' sub-block of lag.
        EXPECT_NEAR(peak(output.left, 0), 6000, 128);
        EXPECT_NEAR(peak(output.left, 12000) - peak(output.left, 0), 24000, 128);
        // Line 1 runs a quarter cycle ahead.
        EXPECT_NEAR(peak(output.left, 12000) - peak(output.right, 12000), 6000, 128);
        EXPECT_NEAR(*std::max_element(output.left.begin(), output.left.end()), 0.75f, 1e-3);
    }
}

TEST(Modulation, TwoStepsOfHalfABeatAlternateEveryQuarterSecond) {
    FeedbackEngine engine;
    setParameter(engine, PI::fNumSteps, 0.0f);
    setParameter(engine, PI::fStepTime, 0.25f);
    int changes = 0;
    int previous = engine.getCurrentStep();
    Render input = silence(64), output;
    for (int block = 0; block < 740; ++block) { // just under a second
        ASSERT_TRUE(render(engine, input, output, 64));
        const double beats = (block + 1) * 64 / 24000.0;
        const double halfBeats = beats * 2.0;
        if (std::fabs(halfBeats - std::round(halfBeats)) > 1e-6) {
            EXPECT_EQ(engine.getCurrentStep(), int(std::floor(halfBeats)) % 2) << "block " << block;
        }
        changes += engine.getCurrentStep() != previous;
        previous = engine.getCurrentStep();
    }
    EXPECT_EQ(changes, 3);
    EXPECT_NEAR(engine.getParameter(PI::kQuerySongPosition), 740 * 64 / 24000.0, 1e-6);
}

TEST(Modulation, FollowingTheHostTheSequenceJumpsWithTheTransport) {
    FeedbackEngine engine;
    setParameter(engine, PI::fSyncBPM, 0.0f);
    setParameter(engine, PI::fNumSteps, 0.0f);
    setParameter(engine, PI::fStepTime, 0.25f); // two steps of half a beat
    ScriptedTransport transport;
    Render input = silence(64), output;
    const struct {
        double ppq;
        int step;
    } jumps[] = {{0.1, 0}, {0.6, 1}, {3.2, 0}, {1.75, 1}, {0.2, 0}, {-0.3, 1}};
    for (const auto& jump : jumps) {
        transport.time.ppqPos = jump.ppq;
        ASSERT_TRUE(render(engine, input, output, 64, OutputMode::Replace, kRate, &transport));
        EXPECT_EQ(engine.getCurrentStep(), jump.step) << "ppq " << jump.ppq;
        EXPECT_FLOAT_EQ(engine.getParameter(PI::kQuerySongPosition), float(jump.ppq));
    }
    EXPECT_EQ(transport.calls, 6);
    EXPECT_EQ(engine.getParameter(PI::kQueryTempo), 0.0f);
}

TEST(Modulation, UnusableHostTimeIsNotTaken) {
    const double kNaN = std::numeric_limits<double>::quiet_NaN();
    const double kInf = std::numeric_limits<double>::infinity();
    const struct {
        bool answer;
        HostTransport time;
        double songPosition, sampleRate;
    } cases[] = {
        {true, {0.6, 120.0, 44100.0}, 0.6, 44100.0},
        {false, {0.1, 120.0, 96000.0}, 0.75, 48000.0}, // no answer: the position stays
        {true, {kNaN, 120.0, 44100.0}, 0.75, 44100.0},
        {true, {kInf, kNaN, kInf}, 0.75, 48000.0},
        {true, {0.3, 120.0, 0.0}, 0.3, 48000.0},
        {true, {0.3, -kInf, -44100.0}, 0.3, 48000.0},
    };
    for (const auto& c : cases) {
        FeedbackEngine engine;
        setParameter(engine, PI::fSyncBPM, 0.0f);
        setParameter(engine, PI::fNumSteps, 0.0f);
        setParameter(engine, PI::fStepTime, 0.25f);
        ScriptedTransport transport;
        transport.time = {0.75, 120.0, 48000.0};
        Render input = silence(64), output;
        ASSERT_TRUE(render(engine, input, output, 64, OutputMode::Replace, kRate, &transport));
        transport.answer = c.answer;
        transport.time = c.time;
        for (int block = 0; block < 3; ++block) {
            ASSERT_TRUE(render(engine, input, output, 64, OutputMode::Replace, kRate, &transport));
            for (float sample : output.left) {
                ASSERT_TRUE(std::isfinite(sample));
            }
        }
        SCOPED_TRACE(testing::Message()
                     << "ppq " << c.time.ppqPos << " rate " << c.time.sampleRate);
        EXPECT_EQ(engine.state().dSongPos.load(), c.songPosition);
        EXPECT_EQ(engine.state().dSampleRate.load(), c.sampleRate);
        EXPECT_EQ(engine.getCurrentStep(), c.songPosition >= 0.5 ? 1 : 0);
    }
}

TEST(Modulation, TheOwnTempoNeverAsksTheHost) {
    FeedbackEngine engine;
    ScriptedTransport transport;
    transport.time.ppqPos = 17.0;
    Render input = silence(4800), output;
    ASSERT_TRUE(render(engine, input, output, 480, OutputMode::Replace, kRate, &transport));
    EXPECT_EQ(transport.calls, 0);
    EXPECT_NEAR(engine.state().dSongPos.load(), 0.2, 1e-12); // 0.1 s at 120
}

} // namespace
