#include "engine/Modulation.h"

#include "engine/Lanes.h"
#include "engine/ParameterStates.h"
#include "engine/SafeConversion.h"

#include <cmath>

namespace engine {

namespace PI = ParameterIndex;
using SafeConversion::unitRange;

namespace {

using ParameterStates::divisionState;
using ParameterStates::kDivisions;

constexpr float kDivisionBeats[kDivisions] = {0.25f, 0.5f, 1.0f, 4.0f, 16.0f};
constexpr float kOtherLfoPeriod = 1.0f;       // beats, for a division outside the table
constexpr float kOtherSequencerCycle = 16.0f; // beats
constexpr float kTwoPi = 2.0f * 3.14159265358979f;
Modulation::Row rowFor(float destination, int states) {
    const int n = SafeConversion::enumerationState(destination, states);
    return n == 0 ? Modulation::Unused : static_cast<Modulation::Row>(n - 1);
}

// Wraps into 0 <= phase < 1. For phases from 0 up this equals subtracting 1 until below 1.
void wrap(double& phase) {
    if (phase >= 1.0 || phase < 0.0) {
        phase -= std::floor(phase);
        if (phase >= 1.0) {
            phase = 0.0;
        }
    }
}

// The block-start phase of a source whose period is the given number of beats, in -1..1.
double phaseAt(double songPosition, float periodBeats) {
    const double x = songPosition / periodBeats;
    const double phase = x - std::trunc(x);
    return std::isfinite(phase) ? phase : 0.0;
}

float finiteIncrement(float increment) {
    return std::isfinite(increment) ? increment : 0.0f;
}

float stepValue(const EngineState& state, int step) {
    return step >= 0 && step < PI::kNumSteps ? unitRange(state.parameter(PI::fStep0 + step)) : 0.5f;
}

} // namespace

void Modulation::beginBlock(EngineState& state, std::int32_t frames, std::int32_t subBlockDivisor,
                            float sampleRate, TransportSource* transport) noexcept {
    for (int i = 0; i < kLines; ++i) {
        values[Cutoff][i] = unitRange(state.parameter(PI::line(i, PI::Freq)));
        values[Resonance][i] = unitRange(state.parameter(PI::line(i, PI::Res)));
        values[Level][i] = unitRange(state.parameter(PI::line(i, PI::OutV)));
        values[Pan][i] = unitRange(state.parameter(PI::line(i, PI::OutLR)));
        values[Send][i] = unitRange(state.parameter(PI::line(i, PI::Damp)));
        values[Lfo2Amount0][i] = loadRelaxed(state.fLfoAmount[1][0][i]);
        values[Lfo2Amount1][i] = loadRelaxed(state.fLfoAmount[1][1][i]);
        values[Unused][i] = 0.0f;
        resonanceCopy[i] = values[Resonance][i];
    }

    double songPosition = loadRelaxed(state.dSongPos);
    const double ownTempo = loadRelaxed(state.dTempo);
    ownClock = !(ownTempo < 1.0);
    tempo = ownClock ? ownTempo : 0.0;
    HostTransport host;
    if (!ownClock && transport != nullptr && transport->readTransport(host)) {
        // A value the host cannot mean is not taken; the previous one stays.
        if (std::isfinite(host.ppqPos)) {
            songPosition = host.ppqPos;
            storeRelaxed(state.dSongPos, songPosition);
        }
        if (std::isfinite(host.tempo)) {
            tempo = host.tempo;
        }
        if (std::isfinite(host.sampleRate) && host.sampleRate > 0.0) {
            storeRelaxed(state.dSampleRate, host.sampleRate);
        }
    }

    const std::int32_t steps = loadRelaxed(state.iNumSteps);
    const float beats = static_cast<float>(frames * tempo / (60.0f * sampleRate));
    for (int k = 0; k < PI::kNumLfos; ++k) {
        const int division = divisionState(state.parameter(PI::lfo(k, PI::LfoRate)));
        const float period = division < 0 ? kOtherLfoPeriod : kDivisionBeats[division];
        lfoPhase[k] = phaseAt(songPosition, period);
        while (lfoPhase[k] < 0.0) {
            lfoPhase[k] += 1.0;
        }
        lfoIncrement[k] = finiteIncrement(beats / (period * subBlockDivisor));
        for (int i = 0; i < kLines; ++i) {
            lfoValue[k][i] = 0.0f;
        }
    }
    const int division = divisionState(state.parameter(PI::fStepTime));
    const float cycle = division < 0 ? kOtherSequencerCycle : steps * kDivisionBeats[division];
    stepPhase = phaseAt(songPosition, cycle) + loadRelaxed(state.fStepShiftSteps) / steps;
    while (stepPhase < 0.0) {
        stepPhase += 1.0;
    }
    stepIncrement = finiteIncrement(beats / (cycle * subBlockDivisor));

    for (int d = 0; d < 2; ++d) {
        lfoTarget[0][d] =
            rowFor(state.parameter(PI::lfoDestination(0, d)), ParameterStates::kModDestinations);
        lfoTarget[1][d] =
            rowFor(state.parameter(PI::lfoDestination(1, d)), ParameterStates::kLfo2Destinations);
        stepTarget[d] =
            rowFor(state.parameter(PI::stepDestination(d)), ParameterStates::kModDestinations);
    }
    for (int k = 0; k < PI::kNumLfos; ++k) {
        lfoActive[k] = lfoTarget[k][0] != Unused || lfoTarget[k][1] != Unused;
    }
    stepActive = stepTarget[0] != Unused || stepTarget[1] != Unused;
    movedRows = 0;
    for (int d = 0; d < 2; ++d) {
        movedRows |= (lfoActive[0] ? 1u << lfoTarget[0][d] : 0u) |
                     (lfoActive[1] ? 1u << lfoTarget[1][d] : 0u) | (1u << stepTarget[d]);
    }
}

void Modulation::update(EngineState& state) noexcept {
    // A source without a destination computes nothing; the sequencer still moves the step the
    // editor shows.
    if (!lfoActive[0] && !lfoActive[1] && !stepActive) {
        float position;
        advanceSequencer(state, position);
        return;
    }
    // Base values are the live parameters, except the resonance copied at block start; only
    // the rows some source moves are read.
    float base[kNumRows][kLines];
    const auto lineParameter = [&](int i, int offset) {
        return unitRange(state.parameter(PI::line(i, offset)));
    };
    for (int i = 0; i < kLines; ++i) {
        if (movedRows & (1u << Cutoff)) {
            base[Cutoff][i] = lineParameter(i, PI::Freq);
        }
        base[Resonance][i] = resonanceCopy[i];
        if (movedRows & (1u << Level)) {
            base[Level][i] = lineParameter(i, PI::OutV);
        }
        if (movedRows & (1u << Pan)) {
            base[Pan][i] = lineParameter(i, PI::OutLR);
        }
        if (movedRows & (1u << Send)) {
            base[Send][i] = lineParameter(i, PI::Damp);
        }
        base[Lfo2Amount0][i] = loadRelaxed(state.fLfoAmount[1][0][i]);
        base[Lfo2Amount1][i] = loadRelaxed(state.fLfoAmount[1][1][i]);
        base[Unused][i] = 0.0f;
        for (int d = 0; d < 2; ++d) {
            lfoAmount[d][i] = loadRelaxed(state.fLfoAmount[0][d][i]);
            stepAmount[d][i] = loadRelaxed(state.fStepAmount[d][i]);
        }
    }
    if (lfoActive[0]) {
        updateLfo(state, 0, base);
    }
    updateSequencer(state, base);
    if (lfoActive[1]) {
        updateLfo(state, 1, base);
    }
}

void Modulation::updateLfo(const EngineState& state, int k,
                           const float (&base)[kNumRows][kLines]) noexcept {
    lfoPhase[k] += lfoIncrement[k];
    wrap(lfoPhase[k]);

    const float offset = unitRange(state.parameter(PI::lfo(k, PI::LfoPhse)));
    const float spread = unitRange(state.parameter(PI::lfo(k, PI::LfoDist)));
    float p[kLines];
    p[0] = static_cast<float>(lfoPhase[k] + offset);
    for (int i = 1; i < kLines; ++i) {
        p[i] = p[i - 1] + spread;
    }

    // Phases lie in 0..5, where truncation through integers is exact.
    const Lanes phase = Lanes::loadUnaligned(p);
    const Lanes fraction = phase - truncated(phase);
    Lanes v = Lanes::loadUnaligned(lfoValue[k]);
    // A wave is read as a division is: trunc(4 x value), nothing outside 0..4.
    switch (divisionState(state.parameter(PI::lfo(k, PI::LfoWave)))) {
    case 0:
        for (int i = 0; i < kLines; ++i) {
            lfoValue[k][i] = static_cast<float>(std::sin(static_cast<double>(kTwoPi * p[i])) + 1.0);
        }
        v = Lanes::loadUnaligned(lfoValue[k]);
        break;
    case 1:
        v = select(fraction < Lanes(0.5f), Lanes(2.0f), Lanes(0.0f));
        break;
    case 2:
        v = select(fraction < Lanes(0.5f), Lanes(0.0f), Lanes(2.0f));
        break;
    case 3:
        v = Lanes(2.0f) * fraction;
        break;
    case 4:
        v = Lanes(2.0f) - Lanes(2.0f) * fraction;
        break;
    default:
        break;
    }
    v.storeUnaligned(lfoValue[k]);

    for (int d = 0; d < 2; ++d) {
        const Row row = lfoTarget[k][d];
        if (row == Unused) {
            continue;
        }
        const Lanes amount = Lanes::loadUnaligned(k == 0 ? lfoAmount[d] : values[Lfo2Amount0 + d]);
        engine::unitRange(Lanes::loadUnaligned(base[row]) + amount * v * Lanes(0.5f))
            .storeUnaligned(values[row]);
    }
}

std::int32_t Modulation::advanceSequencer(EngineState& state, float& position) noexcept {
    stepPhase += stepIncrement;
    wrap(stepPhase);

    const std::int32_t steps = loadRelaxed(state.iNumSteps);
    // A float, as every intermediate but the phases: a phase a hair below a step boundary rounds
    // onto it and sounds the next step. One that rounds onto the end of the cycle stays in the
    // last step (gliding fully to step 0), never in a step past the active ones.
    position = static_cast<float>(stepPhase * steps);
    const std::int32_t step = SafeConversion::truncateClamped(position, 0, steps - 1);
    storeRelaxed(state.iCurrentStep, step);
    return step;
}

void Modulation::updateSequencer(EngineState& state,
                                 const float (&base)[kNumRows][kLines]) noexcept {
    float position;
    const std::int32_t step = advanceSequencer(state, position);
    if (!stepActive) {
        return;
    }

    float value = stepValue(state, step);
    const float blend = unitRange(state.parameter(PI::fBlend));
    if (blend > 0.0f) {
        const std::int32_t steps = loadRelaxed(state.iNumSteps);
        const int next = step + 1 >= steps ? 0 : step + 1;
        // The last blend share of each step glides to the next step's value.
        const float t = (position - static_cast<float>(step)) - (1.0f - blend);
        if (t > 0.0f) {
            value = value + t / blend * (stepValue(state, next) - value);
        }
    }

    for (int d = 0; d < 2; ++d) {
        const Row row = stepTarget[d];
        for (int i = 0; i < kLines; ++i) {
            values[row][i] = unitRange(base[row][i] + value * stepAmount[d][i]);
        }
    }
}

void Modulation::endBlock(EngineState& state, std::int32_t frames) const noexcept {
    if (ownClock) {
        const double beats = frames * tempo / (60.0f * loadRelaxed(state.dSampleRate));
        storeRelaxed(state.dSongPos, loadRelaxed(state.dSongPos) + beats);
    }
}

} // namespace engine
