#include "engine/ParameterMapping.h"

#include "engine/ParameterStates.h"
#include "engine/SafeConversion.h"

#include <cmath>

namespace engine {

namespace PI = ParameterIndex;

namespace {

using ParameterMapping::kFeedbackGainOffset;
using ParameterMapping::kFeedbackGainScale;

constexpr double kSyncBpmSteps = 2560.0;

// fDelay_i spans two seconds and is stored in whole milliseconds.
constexpr float kMaxDelayMs = 2000.0f;
constexpr double kDelaySteps = kMaxDelayMs;
constexpr double kSecondsPerMs = 0.001;

constexpr float kMinLimit = 0.25f;
constexpr float kMaxLimit = 3.0f;

constexpr float kMinTempo = 4.0f;
constexpr float kMaxTempo = 260.0f;
constexpr float kTempoStep = 0.1f;

double quantised(float value, double steps) {
    const double step = static_cast<float>(1.0 / steps);
    return std::trunc(static_cast<double>(value) * steps) * step;
}

bool isDelayIndex(int index) {
    return index >= PI::kFirstLine && index < PI::kFirstLine + PI::kNumLines * PI::kLineStride &&
           (index - PI::kFirstLine) % PI::kLineStride == PI::Delay;
}

void mapDelays(EngineState& state, double samplesPerMs) {
    const std::int32_t longest = loadRelaxed(state.iBufferSize) - 1;
    for (int i = 0; i < EngineState::kLines; ++i) {
        // Product in float so that the n-th quantisation step is exactly n milliseconds.
        const float ms = SafeConversion::clampRange(
            std::trunc(state.parameter(PI::line(i, PI::Delay)) * kMaxDelayMs), 0.0f, kMaxDelayMs);
        storeRelaxed(state.fDelayMs[i], ms);
        storeRelaxed(state.iDelaySamples[i],
                     SafeConversion::truncateClamped(samplesPerMs * ms,
                                                     EngineState::kMinDelaySamples, longest));
    }
}

void mapMatrixAndAmounts(EngineState& state) {
    for (int i = 0; i < EngineState::kLines; ++i) {
        for (int j = 0; j < EngineState::kLines; ++j) {
            const float gain =
                state.parameter(PI::line(i, PI::Feedback0 + j)) * kFeedbackGainScale -
                kFeedbackGainOffset;
            storeRelaxed(
                state.fMatrixGain[i][j],
                SafeConversion::clampRange(gain, -kFeedbackGainOffset, kFeedbackGainOffset));
        }
        for (int d = 0; d < 2; ++d) {
            for (int k = 0; k < PI::kNumLfos; ++k) {
                const float amount = 2.0f * state.parameter(PI::lfoAmount(k, d, i)) - 1.0f;
                storeRelaxed(state.fLfoAmount[k][d][i],
                             SafeConversion::clampRange(amount, -1.0f, 1.0f));
            }
            const float amount = 2.0f * state.parameter(PI::stepAmount(d, i)) - 1.0f;
            storeRelaxed(state.fStepAmount[d][i], SafeConversion::clampRange(amount, -1.0f, 1.0f));
        }
    }
}

// Rates per sample. Above 1 an envelope would overshoot, which only a sample rate below 1 kHz
// could ask for. Negative values arise only where the mode does not use them.
float coefficient(double value) {
    return value > 1.0 ? 1.0f : static_cast<float>(value);
}

void mapLimiter(EngineState& state, double e) {
    const float c = state.parameter(PI::fCompSense);
    std::int32_t mode = 4;
    double attack = 0.0;
    double release = 0.0;
    if (c == 0.0f) {
        mode = 0;
        attack = 1.0 / e;
        release = 1.0 / e;
    } else if (c < 0.5f) {
        mode = 1;
    } else if (c == 0.5f) {
        mode = 2;
        attack = 1.0 / ((1.0f + 99.0f * c) * e);
        release = 1.0 / (10.0f * e);
    } else if (c < 1.0f) {
        mode = 3;
        const float t = c - 0.5f;
        attack = 1.0 / ((1.0f + 99.0f * t) * e);
        release = 1.0 / ((51.0f + 898.0f * t) * e);
    }
    if (mode == 1 || mode == 4) {
        attack = 1.0 / ((1.0f + 99.0f * c) * e);
        release = 1.0 / ((51.0f + 898.0f * (0.5f - c)) * e);
    }
    storeRelaxed(state.iLimiterMode, mode);
    storeRelaxed(state.fAttackCoef, coefficient(attack));
    storeRelaxed(state.fReleaseCoef, coefficient(release));

    // Milliseconds (0.5 - c) x 100 in samples; a line never needs more than its buffer.
    const std::int32_t longest = loadRelaxed(state.iBufferSize);
    storeRelaxed(state.iLookAhead,
                 SafeConversion::truncateClamped((0.5f - c) * e * 100.0f, -longest, longest));

    const float f = state.parameter(PI::fFeedbackLimit);
    storeRelaxed(state.fLimit,
                 SafeConversion::clampRange(0.25f + f * (0.25f + 2.5f * f), kMinLimit, kMaxLimit));
}

void mapSequencerAndTempo(EngineState& state) {
    const std::int32_t steps = ParameterStates::stepCount(state.parameter(PI::fNumSteps));
    storeRelaxed(state.iNumSteps, steps);
    const float shift = static_cast<float>(steps) * state.parameter(PI::fStepShift);
    storeRelaxed(state.fStepShiftSteps,
                 SafeConversion::clampRange(shift, 0.0f, static_cast<float>(steps)));

    const float sync = state.parameter(PI::fSyncBPM);
    double tempo = 0.0;
    if (sync != 0.0f) {
        // Float arithmetic so that the n-th quantisation step is exactly 4 + n/10 (as a float).
        const float tenths = std::trunc((4.0f + 256.0f * sync) * 10.0f);
        tempo = SafeConversion::clampRange(tenths * kTempoStep, kMinTempo, kMaxTempo);
    }
    storeRelaxed(state.dTempo, tempo);
}

} // namespace

namespace ParameterMapping {

float storedValue(int index, float value) {
    if (std::isnan(value)) {
        return 0.0f;
    }
    if (index == PI::fSyncBPM) {
        return static_cast<float>(quantised(value, kSyncBpmSteps));
    }
    if (isDelayIndex(index)) {
        return static_cast<float>(quantised(value, kDelaySteps));
    }
    return value;
}

void updateEngine(EngineState& state) {
    const double e = loadRelaxed(state.dSampleRate) * kSecondsPerMs; // samples per ms
    mapDelays(state, e);
    mapMatrixAndAmounts(state);
    mapLimiter(state, e);
    storeRelaxed(state.iFiltAfterDelay,
                 std::int32_t{state.parameter(PI::fRouting) >= 0.5f ? 1 : 0});
    mapSequencerAndTempo(state);
}

float displayQuery(const EngineState& state, int index) {
    switch (index) {
    case PI::kQueryCurrentStep:
        return static_cast<float>(loadRelaxed(state.iCurrentStep));
    case PI::kQueryStepShift:
        return loadRelaxed(state.fStepShiftSteps);
    case PI::kQueryTempo:
        return static_cast<float>(loadRelaxed(state.dTempo));
    case PI::kQueryLimit:
        return loadRelaxed(state.fLimit);
    case PI::kQuerySongPosition:
        return static_cast<float>(loadRelaxed(state.dSongPos));
    default:
        break;
    }
    if (index >= PI::kQueryDelayMs0 && index < PI::kQueryDelayMs0 + EngineState::kLines) {
        return loadRelaxed(state.fDelayMs[index - PI::kQueryDelayMs0]);
    }
    return 0.0f;
}

} // namespace ParameterMapping

} // namespace engine
