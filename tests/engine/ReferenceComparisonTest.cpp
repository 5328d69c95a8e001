// The engine against an independent plain model of it: identical parameters, automation, input,
// block sequences and host transport; every output sample and every input write-back must agree.
//
// Tolerance: 1e-5, taken relative to the sample's magnitude above 1. Both sides use the same
// float and double operations, so agreement is normally exact; the margin only allows for a
// last-bit difference, and a resonant filter in front of the delays can legitimately raise the
// output well above 1, where 1e-5 absolute would be a handful of float steps.
#include "ReferenceEngine.h"

#include "engine/EngineState.h"
#include "engine/FeedbackEngine.h"
#include "engine/ParameterIndex.h"
#include "engine/Transport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using namespace engine;

namespace {

namespace PI = ParameterIndex;

constexpr double kTolerance = 1e-5;

// Answers the same host time to both engines for one block.
struct FixedTransport : TransportSource {
    bool answer = true;
    HostTransport time;
    bool readTransport(HostTransport& transport) noexcept override {
        if (answer) {
            transport = time;
        }
        return answer;
    }
};

// Own: the engine's own tempo. Host: the host's transport, always there. HostSometimesSilent:
// the host now and then gives no time. Either: the tempo parameter is automated like any other,
// so the engine switches between its own clock and the host's.
enum class Clock { Own, Host, HostSometimesSilent, Either };

struct Scenario {
    const char* name;
    std::uint32_t seed;
    float sampleRate;
    float routing;   // fRouting; negative: random per parameter set
    float compSense; // fCompSense; negative: random
    Clock clock;
    OutputMode mode;
    int frames;     // samples to run
    bool automate;  // random parameter changes between blocks
    bool lifecycle; // occasional reset, and suspend and resume at either rate, between blocks
    float longestDelay = 0.05f;  // fDelay_i drawn from 0 .. this (0.05: 100 ms)
    bool resumeFirst = true;     // false: the first blocks run on the constructed state
    bool highestCutoffs = false; // every fFreq_i held at 1
};

std::ostream& operator<<(std::ostream& out, const Scenario& scenario) {
    return out << scenario.name;
}

class Random {
public:
    explicit Random(std::uint32_t seed) : generator(seed) {}
    float unit() { return static_cast<float>(generator() >> 8) * (1.0f / 16777216.0f); }
    int below(int count) {
        return static_cast<int>(generator() % static_cast<std::uint32_t>(count));
    }
    bool chance(float probability) { return unit() < probability; }

    // Uniform values mixed with the exact band edges of every enumeration and the ends.
    float parameterValue() {
        switch (below(4)) {
        case 0: {
            static const int states[] = {2, 5, 6, 8, 15};
            const int count = states[below(5)];
            return static_cast<float>(below(count)) / static_cast<float>(count - 1);
        }
        case 1: {
            static const float ends[] = {0.0f, 0.5f, 1.0f, 0.25f, 0.75f, 0.999f};
            return ends[below(6)];
        }
        default:
            return unit();
        }
    }

private:
    std::mt19937 generator;
};

const int kBlockSizes[] = {1, 63, 64, 65, 100, 512, 0, 128, 37};

class Comparison {
public:
    explicit Comparison(const Scenario& scenario) : scenario(scenario), random(scenario.seed) {}

    void set(int index, float value) {
        engine.storeParameter(index, value);
        engine.updateEngine();
        model.setParameter(index, value);
    }

    void setAll() {
        for (int index = 0; index < PI::kNumParameters; ++index) {
            set(index, random.parameterValue());
        }
        // Shorter lines keep the feedback paths busy within a short run.
        for (int i = 0; i < PI::kNumLines; ++i) {
            set(PI::line(i, PI::Delay), random.unit() * scenario.longestDelay);
        }
        fixGlobals();
    }

    void fixGlobals() {
        if (scenario.routing >= 0.0f) {
            set(PI::fRouting, scenario.routing);
        }
        if (scenario.compSense >= 0.0f) {
            set(PI::fCompSense, scenario.compSense);
        }
        for (int i = 0; i < PI::kNumLines && scenario.highestCutoffs; ++i) {
            set(PI::line(i, PI::Freq), 1.0f);
        }
        if (scenario.clock == Clock::Host || scenario.clock == Clock::HostSometimesSilent) {
            set(PI::fSyncBPM, 0.0f);
        } else if (scenario.clock == Clock::Own && engine.getParameter(PI::fSyncBPM) == 0.0f) {
            set(PI::fSyncBPM, 0.453125f);
        }
    }

    void automate() {
        const int changes = 1 + random.below(3);
        for (int n = 0; n < changes; ++n) {
            set(random.below(PI::kNumParameters), random.parameterValue());
        }
        fixGlobals();
    }

    // Runs the scenario; returns the first difference found, or an empty text.
    std::string run() {
        setAll();
        if (scenario.resumeFirst) {
            engine.resume(rate);
            model.resume(rate);
        }
        if (std::string fault = compareQueries("after resume"); !fault.empty()) {
            return fault;
        }
        transport.time = {random.unit() * 16.0, 120.0, rate};
        int block = 0;
        for (int done = 0; done < scenario.frames; ++block) {
            const int frames =
                random.chance(0.5f) ? kBlockSizes[random.below(9)] : 1 + random.below(300);
            betweenBlocks();
            if (std::string fault = runBlock(block, frames); !fault.empty()) {
                return fault;
            }
            done += std::max(frames, 1);
        }
        return compareLines();
    }

private:
    void betweenBlocks() {
        if (scenario.automate && random.chance(0.3f)) {
            automate();
        }
        if (scenario.lifecycle && random.chance(0.03f)) {
            engine.suspend();
            model.suspend();
            rate = random.chance(0.5f) ? 44100.0f : 48000.0f;
            transport.time.sampleRate = rate;
            engine.resume(rate);
            model.resume(rate);
        }
        // Last, as the engine clears at the start of the next block.
        if (scenario.lifecycle && random.chance(0.05f)) {
            engine.resetEngine();
            model.resetEngine();
        }
        if (scenario.clock != Clock::Own) {
            if (random.chance(0.05f)) {
                // Back by up to eight beats, now and then into a pre-roll before 0.
                transport.time.ppqPos = std::max(-4.0, transport.time.ppqPos - random.unit() * 8.0);
            }
            if (random.chance(0.05f)) {
                transport.time.tempo = 60.0 + random.unit() * 140.0;
            }
            transport.answer = scenario.clock == Clock::Host || !random.chance(0.2f);
        }
    }

    std::string runBlock(int block, int frames) {
        std::vector<float> in[2], engineIn[2], modelIn[2], engineOut[2], modelOut[2];
        const float prefill = scenario.mode == OutputMode::Accumulate ? 0.25f : 0.0f;
        for (int channel = 0; channel < 2; ++channel) {
            in[channel].assign(static_cast<std::size_t>(frames) + 1, 0.0f);
            engineOut[channel].assign(in[channel].size(), prefill);
        }
        makeInput(in, frames);
        for (int channel = 0; channel < 2; ++channel) {
            engineIn[channel] = modelIn[channel] = in[channel];
            modelOut[channel] = engineOut[channel];
        }
        float* engineInputs[2] = {engineIn[0].data(), engineIn[1].data()};
        float* engineOutputs[2] = {engineOut[0].data(), engineOut[1].data()};
        float* modelInputs[2] = {modelIn[0].data(), modelIn[1].data()};
        float* modelOutputs[2] = {modelOut[0].data(), modelOut[1].data()};
        engine.process(engineInputs, engineOutputs, frames, scenario.mode, rate, &transport);
        model.process(modelInputs, modelOutputs, frames, scenario.mode, rate, &transport);

        for (int channel = 0; channel < 2; ++channel) {
            for (int n = 0; n < frames; ++n) {
                const auto index = static_cast<std::size_t>(n);
                for (const auto& [what, actual, expected] :
                     {std::tuple{"output", engineOut[channel][index], modelOut[channel][index]},
                      std::tuple{"input write-back", engineIn[channel][index],
                                 modelIn[channel][index]}}) {
                    if (!close(actual, expected)) {
                        std::ostringstream text;
                        text << what << " differs in block " << block << " (" << frames
                             << " samples) at sample " << n << ", channel " << channel
                             << ": engine " << actual << ", model " << expected;
                        return text.str();
                    }
                }
            }
        }
        if (transport.time.tempo > 0.0) {
            transport.time.ppqPos += frames * transport.time.tempo / (60.0 * rate);
        }
        std::ostringstream after;
        after << "after block " << block;
        if (std::string fault = compareQueries(after.str()); !fault.empty()) {
            return fault;
        }
        return compareLimiter(after.str());
    }

    // Ring positions and limiter envelopes: a difference here shows where output ones come from.
    std::string compareLimiter(const std::string& when) const {
        const EngineState& state = engine.state();
        for (int i = 0; i < PI::kNumLines; ++i) {
            if (state.iWritePos[i] != model.writePosition(i) ||
                !close(state.fEnv[i], model.limiterEnvelope(i)) ||
                !close(state.fGainEnv[i], model.gainEnvelope(i))) {
                std::ostringstream text;
                text << "line " << i << " " << when << ": engine position " << state.iWritePos[i]
                     << ", envelope " << state.fEnv[i] << ", gain " << state.fGainEnv[i]
                     << "; model " << model.writePosition(i) << ", " << model.limiterEnvelope(i)
                     << ", " << model.gainEnvelope(i);
                return text.str();
            }
        }
        return {};
    }

    // The whole ring of every line at the end of a run.
    std::string compareLines() const {
        const EngineState& state = engine.state();
        for (int i = 0; i < PI::kNumLines; ++i) {
            const int length = model.delaySamples(i);
            if (loadRelaxed(state.iDelaySamples[i]) != length) {
                return "delay length of line " + std::to_string(i) + " differs";
            }
            for (int n = 0; n < length; ++n) {
                const float expected = model.delayLine(i)[static_cast<std::size_t>(n)];
                if (!close(state.pDelayBuffer[i][n], expected)) {
                    std::ostringstream text;
                    text << "line " << i << " differs at ring position " << n << ": engine "
                         << state.pDelayBuffer[i][n] << ", model " << expected;
                    return text.str();
                }
            }
        }
        return {};
    }

    void makeInput(std::vector<float> (&in)[2], int frames) {
        const int kind = random.below(4);
        const float amplitude = random.unit() * (random.chance(0.1f) ? 4.0f : 1.0f);
        for (int n = 0; n < frames; ++n) {
            const auto index = static_cast<std::size_t>(n);
            for (auto& channel : in) {
                if (kind == 0 || kind == 1) {
                    channel[index] = amplitude * (2.0f * random.unit() - 1.0f);
                }
            }
        }
        if (kind == 2 && frames > 0) {
            const auto at = static_cast<std::size_t>(random.below(frames));
            in[0][at] = 1.0f;
            in[1][at] = -amplitude;
        }
    }

    std::string compareQueries(const std::string& when) {
        std::vector<int> queries = {PI::kQueryCurrentStep, PI::kQueryStepShift, PI::kQueryTempo,
                                    PI::kQueryLimit, PI::kQuerySongPosition};
        for (int i = 0; i < PI::kNumLines; ++i) {
            queries.push_back(PI::kQueryDelayMs0 + i);
        }
        for (int index = 0; index < PI::kNumParameters; ++index) {
            queries.push_back(index);
        }
        for (const int query : queries) {
            const float actual = engine.getParameter(query);
            const float expected = model.getParameter(query);
            if (!close(actual, expected)) {
                std::ostringstream text;
                text << "query " << query << " " << when << ": engine " << actual << ", model "
                     << expected;
                return text.str();
            }
        }
        return {};
    }

    static bool close(float actual, float expected) {
        const double scale = std::max(1.0, std::fabs(static_cast<double>(expected)));
        return std::fabs(static_cast<double>(actual) - expected) <= kTolerance * scale;
    }

    const Scenario& scenario;
    Random random;
    float rate = scenario.sampleRate; // the host's rate: resume, process and the time record
    FeedbackEngine engine;
    ReferenceEngine model;
    FixedTransport transport;
};

class EngineMatchesModel : public ::testing::TestWithParam<Scenario> {};

TEST_P(EngineMatchesModel, SampleForSample) {
    const Scenario& scenario = GetParam();
    Comparison comparison(scenario);
    EXPECT_EQ(comparison.run(), "");
}

std::vector<Scenario> tableScenarios() {
    // Both routings, each limiter mode, own tempo and host time, both rates.
    static const float modes[] = {0.0f, 0.25f, 0.5f, 0.75f, 1.0f};
    static const char* const names[] = {"hardSat", "lookAhead", "hardLimit", "envelope", "softSat"};
    static std::vector<std::string> labels;
    std::vector<Scenario> scenarios;
    std::uint32_t seed = 1;
    for (const float routing : {0.0f, 1.0f}) {
        for (int mode = 0; mode < 5; ++mode) {
            for (const Clock clock : {Clock::Own, Clock::Host}) {
                const float rate = (seed % 2 == 0) ? 44100.0f : 48000.0f;
                labels.push_back(std::string(routing == 0.0f ? "FiltIn_" : "FiltDelay_") +
                                 names[mode] + (clock == Clock::Own ? "_OwnTempo" : "_HostSync"));
                scenarios.push_back({nullptr, seed++, rate, routing, modes[mode], clock,
                                     OutputMode::Replace, 20000, true, false});
            }
        }
    }
    for (std::size_t i = 0; i < scenarios.size(); ++i) {
        scenarios[i].name = labels[i].c_str();
    }
    scenarios.push_back({"Accumulating", 101, 48000.0f, -1.0f, -1.0f, Clock::Own,
                         OutputMode::Accumulate, 20000, true, false});
    scenarios.push_back({"HostTimeSometimesMissing", 102, 44100.0f, -1.0f, -1.0f,
                         Clock::HostSometimesSilent, OutputMode::Replace, 20000, true, false});
    scenarios.push_back({"ResetSuspendResume", 103, 48000.0f, -1.0f, -1.0f, Clock::Host,
                         OutputMode::Replace, 30000, true, true});
    scenarios.push_back({"NoAutomation", 104, 44100.0f, 1.0f, 0.25f, Clock::Own,
                         OutputMode::Replace, 30000, false, false});
    scenarios.push_back({"OwnTempoAndHostInTurn", 105, 48000.0f, -1.0f, -1.0f, Clock::Either,
                         OutputMode::Replace, 30000, true, false});
    scenarios.push_back({"LinesUpToTwoSeconds", 106, 44100.0f, -1.0f, -1.0f, Clock::Host,
                         OutputMode::Replace, 30000, true, true, 1.0f});
    scenarios.push_back({"FromConstructionWithoutResume", 107, 44100.0f, -1.0f, -1.0f, Clock::Own,
                         OutputMode::Replace, 20000, true, false, 1.0f, false});
    // Below 25 kHz the highest cutoffs fold the filter's sine below 0.
    scenarios.push_back({"LowRateHighCutoffs", 108, 22050.0f, -1.0f, -1.0f, Clock::Own,
                         OutputMode::Replace, 20000, true, false, 0.05f, true, true});
    return scenarios;
}

std::vector<Scenario> randomScenarios() {
    static std::vector<std::string> labels;
    std::vector<Scenario> scenarios;
    for (std::uint32_t seed = 1000; seed < 1024; ++seed) {
        labels.push_back("Random" + std::to_string(seed));
    }
    for (std::uint32_t seed = 1000; seed < 1024; ++seed) {
        const Clock clock = std::array<Clock, 4>{
            Clock::Own, Clock::Host, Clock::HostSometimesSilent, Clock::Either}[seed % 4];
        scenarios.push_back({labels[seed - 1000].c_str(), seed, seed % 2 == 0 ? 44100.0f : 48000.0f,
                             -1.0f, -1.0f, clock,
                             seed % 3 == 0 ? OutputMode::Accumulate : OutputMode::Replace, 16000,
                             true, seed % 5 == 0});
    }
    return scenarios;
}

// The step position is a float: a song position a hair below a step boundary rounds onto it and
// sounds the next step; one that rounds onto the end of the cycle stays in the last step.
TEST(SequencerStep, APositionRoundingOntoAStepBoundarySoundsThatStep) {
    const struct {
        double songPosition; // beats; one beat per step, sixteen steps
        float blend;
        int step;
    } cases[] = {
        {4.0 - 1e-7, 0.0f, 4},   {4.0 - 1e-5, 0.0f, 3},   {2.0, 0.0f, 2},
        {16.0 - 1e-7, 0.0f, 15}, {16.0 - 1e-7, 0.5f, 15}, {32.0 - 1e-7, 1.0f, 15},
    };
    for (const auto& c : cases) {
        FeedbackEngine engine;
        ReferenceEngine model;
        const auto set = [&](int index, float value) {
            engine.storeParameter(index, value);
            engine.updateEngine();
            model.setParameter(index, value);
        };
        for (int index = 0; index < PI::kNumParameters; ++index) {
            set(index, 0.0f);
        }
        set(PI::fDryWetMix, 1.0f);
        set(PI::fFeedbackLimit, 0.5f);
        set(PI::fCompSense, 0.5f);
        for (int i = 0; i < PI::kNumLines; ++i) {
            for (int j = 0; j < PI::kNumLines; ++j) {
                set(PI::line(i, PI::Feedback0 + j), 0.5f);
            }
            set(PI::stepAmount(0, i), 1.0f); // the step value becomes each line's level
        }
        set(PI::fStepDest0, 0.5f);
        set(PI::fNumSteps, 1.0f);
        set(PI::fStepTime, 0.5f);
        set(PI::fBlend, c.blend);
        for (int s = 0; s < PI::kNumSteps; ++s) {
            set(PI::fStep0 + s, static_cast<float>(s + 1) / 16.0f);
        }

        FixedTransport transport;
        transport.time = {c.songPosition, 0.0, 48000.0}; // standing still
        float engineIn[2] = {1.0f, 1.0f}, modelIn[2] = {1.0f, 1.0f};
        float engineOut[2] = {}, modelOut[2] = {};
        float* engineInputs[2] = {&engineIn[0], &engineIn[1]};
        float* engineOutputs[2] = {&engineOut[0], &engineOut[1]};
        float* modelInputs[2] = {&modelIn[0], &modelIn[1]};
        float* modelOutputs[2] = {&modelOut[0], &modelOut[1]};
        engine.process(engineInputs, engineOutputs, 1, OutputMode::Replace, 48000.0f, &transport);
        model.process(modelInputs, modelOutputs, 1, OutputMode::Replace, 48000.0f, &transport);

        EXPECT_EQ(engine.getCurrentStep(), c.step) << "song position " << c.songPosition;
        EXPECT_EQ(model.getParameter(PI::kQueryCurrentStep), static_cast<float>(c.step));
        EXPECT_NEAR(engineOut[0], modelOut[0], kTolerance) << "song position " << c.songPosition;
        EXPECT_NEAR(engineOut[1], modelOut[1], kTolerance) << "song position " << c.songPosition;
    }
}

std::string scenarioName(const ::testing::TestParamInfo<Scenario>& info) {
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Table, EngineMatchesModel, ::testing::ValuesIn(tableScenarios()),
                         scenarioName);
INSTANTIATE_TEST_SUITE_P(Sweep, EngineMatchesModel, ::testing::ValuesIn(randomScenarios()),
                         scenarioName);

} // namespace
