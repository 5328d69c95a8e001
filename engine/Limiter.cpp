#include "engine/Limiter.h"

#include "engine/Arctangent.h"
#include "engine/SafeConversion.h"

#include <cfloat>
#include <cmath>

namespace engine {

using SafeConversion::isFiniteSample;

namespace {

// The next ring position, re-wrapped against the line's current length.
std::int32_t advance(std::int32_t position, std::int32_t length) {
    ++position;
    return position >= length ? 0 : position;
}

// |sample| for the detectors; a non-finite sample counts as silence.
float detectorLevel(float sample) {
    const float level = std::fabs(sample);
    return level <= FLT_MAX ? level : 0.0f;
}

float finiteOrZero(float sample) {
    return isFiniteSample(sample) ? sample : 0.0f;
}

} // namespace

void Limiter::place(const EngineState& state, std::int32_t (&lag)[kLines],
                    std::int32_t (&limiterPos)[kLines]) noexcept {
    const std::int32_t lookAhead = loadRelaxed(state.iLookAhead);
    for (int i = 0; i < kLines; ++i) {
        const std::int32_t length = loadRelaxed(state.iDelaySamples[i]);
        lag[i] = lookAhead > length ? length : (lookAhead < -length ? -length : lookAhead);
        std::int32_t position = (state.iWritePos[i] - lag[i]) % length;
        limiterPos[i] = position < 0 ? position + length : position;
    }
}

void Limiter::run(EngineState& state, std::int32_t length) noexcept {
    const float level = loadRelaxed(state.fLimit);
    switch (loadRelaxed(state.iLimiterMode)) {
    case HardSaturation:
        saturate(state, length, level, level < 1.0f ? level : 1.0f);
        break;
    case LookAhead:
        lookAhead(state, length, level, loadRelaxed(state.fReleaseCoef));
        break;
    case HardLimit:
        limitPeaks(state, length, level, true, 0.0f, loadRelaxed(state.fReleaseCoef));
        break;
    case Envelope:
        limitPeaks(state, length, level, false, loadRelaxed(state.fAttackCoef),
                   loadRelaxed(state.fReleaseCoef));
        break;
    default:
        saturate(state, length, level, level);
        break;
    }
}

void Limiter::saturate(EngineState& state, std::int32_t length, float level,
                       float divisor) noexcept {
    for (std::int32_t n = 0; n < length; ++n) {
        for (int i = 0; i < kLines; ++i) {
            limiterPos[i] = advance(limiterPos[i], loadRelaxed(state.iDelaySamples[i]));
            float& s = state.pDelayBuffer[i][limiterPos[i]];
            s = finiteOrZero(arctangent(Lanes(level * s)).first() / divisor);
        }
    }
}

void Limiter::limitPeaks(EngineState& state, std::int32_t length, float level, bool instantAttack,
                         float attack, float release) noexcept {
    for (std::int32_t n = 0; n < length; ++n) {
        for (int i = 0; i < kLines; ++i) {
            limiterPos[i] = advance(limiterPos[i], loadRelaxed(state.iDelaySamples[i]));
            float& s = state.pDelayBuffer[i][limiterPos[i]];
            const float a = detectorLevel(s);
            float& envelope = state.fEnv[i];
            if (a > envelope) {
                envelope = instantAttack ? a : envelope + (a - envelope) * attack;
            } else {
                envelope += (a - envelope) * release;
            }
            if (envelope < level) {
                envelope = level;
            }
            const float gain = level / envelope;
            state.fGainEnv[i] = gain;
            s = finiteOrZero(s * gain);
        }
    }
}

void Limiter::lookAhead(EngineState& state, std::int32_t length, float level,
                        float release) noexcept {
    // The detector revisits the samples the per-sample loop has just written; the gain works
    // lag samples behind it. iWritePos itself stays where the loop left it.
    std::int32_t detector[kLines];
    for (int i = 0; i < kLines; ++i) {
        const std::int32_t back = state.iWritePos[i] - length;
        detector[i] = back < 0 ? back + loadRelaxed(state.iDelaySamples[i]) : back;
    }
    for (std::int32_t n = 0; n < length; ++n) {
        for (int i = 0; i < kLines; ++i) {
            const std::int32_t ring = loadRelaxed(state.iDelaySamples[i]);
            detector[i] = advance(detector[i], ring);
            limiterPos[i] = advance(limiterPos[i], ring);
            const float a = detectorLevel(state.pDelayBuffer[i][detector[i]]);
            if (a > state.fEnv[i]) {
                // Ramp the gain envelope up to the peak over the lag, arriving with the peak.
                state.iHold[i] = lag[i];
                if (lag[i] > 0) {
                    state.fGainSlope[i] = (a - state.fGainEnv[i]) / lag[i];
                }
                state.fEnv[i] = a;
            } else if (state.iHold[i] > 0) {
                state.fGainEnv[i] += state.fGainSlope[i];
                state.iHold[i] -= 1;
            } else {
                state.fEnv[i] += (level - state.fEnv[i]) * release;
                state.fGainEnv[i] = state.fEnv[i];
            }
            float& s = state.pDelayBuffer[i][limiterPos[i]];
            s = finiteOrZero(s * level / state.fGainEnv[i]);
        }
    }
}

} // namespace engine
