#include "engine/ParameterMapping.h"

#include "engine/SafeConversion.h"

#include <cmath>

namespace engine {

namespace PI = ParameterIndex;

namespace {

constexpr double kSyncBpmSteps = 2560.0;
constexpr double kDelaySteps = 2000.0;

constexpr float kMaxDelayMs = 2000.0f;
constexpr std::int32_t kMinDelaySamples = 64;
constexpr double kSamplesPerMs = 0.001;

constexpr float kMatrixScale = 1.8f;
constexpr float kMatrixOffset = 0.9f;

constexpr float kMinLimit = 0.25f;
constexpr float kMaxLimit = 3.0f;

constexpr std::int32_t kMinSteps = 2;
constexpr std::int32_t kMaxSteps = PI::kNumSteps;

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
            std::trunc(state.parameter(PI::line(i, PI::Delay)) * 2000.0f), 0.0f, kMaxDelayMs);
        storeRelaxed(state.fDelayMs[i], ms);
        storeRelaxed(state.iDelaySamples[i],
                     SafeConversion::truncateClamped(samplesPerMs * ms, kMinDelaySamples, longest));
    }
}

void mapMatrixAndAmounts(EngineState& state) {
    for (int i = 0; i < EngineState::kLines; ++i) {
        for (int j = 0; j < EngineState::kLines; ++j) {
            const float gain =
                state.parameter(PI::line(i, PI::Feedback0 + j)) * kMatrixScale - kMatrixOffset;
            storeRelaxed(state.fMatrixGain[i][j],
                         SafeConversion::clampRange(gain, -kMatrixOffset, kMatrixOffset));
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
    const std::int32_t steps = SafeConversion::truncateClamped(
        kMinSteps + std::trunc(14.0f * state.parameter(PI::fNumSteps)), kMinSteps, kMaxSteps);
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

float neutralValue(int index) {
    switch (index) {
    case PI::fDryWetMix:
    case PI::fFeedbackLimit:
        return 0.5f;
    case PI::fSyncBPM:
        return 0.453125f; // 120 beats per minute
    case PI::fNumSteps:
        return 1.0f;
    case PI::fStepTime:
        return 0.5f;
    default:
        break;
    }
    if (index >= PI::kFirstLine && index < PI::kFirstLfo) {
        const int line = (index - PI::kFirstLine) / PI::kLineStride;
        const int offset = (index - PI::kFirstLine) % PI::kLineStride;
        if (offset == PI::InLR || offset == PI::OutLR) {
            return line % 2 == 1 ? 1.0f : 0.0f; // odd lines to the right
        }
        return offset == PI::Filt || offset == PI::Freq || offset == PI::Res ? 0.0f : 0.5f;
    }
    if (index >= PI::kFirstLfo && index < PI::fStep0) {
        const int offset = (index - PI::kFirstLfo) % PI::kLfoStride;
        return offset == PI::LfoRate || (offset >= PI::LfoAmt00 && offset < PI::LfoDest1) ||
                       offset >= PI::LfoAmt10
                   ? 0.5f
                   : 0.0f;
    }
    if ((index >= PI::fStepAmt00 && index < PI::fStepDest1) || index >= PI::fStepAmt10) {
        return index < PI::kNumParameters ? 0.5f : 0.0f;
    }
    return 0.0f;
}

void updateEngine(EngineState& state) {
    const double e = loadRelaxed(state.dSampleRate) * kSamplesPerMs;
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
