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

std::int32_t wrapped(std::int32_t position, std::int32_t length) {
    const std::int32_t remainder = position % length;
    return remainder < 0 ? remainder + length : remainder;
}

// |sample| for the detectors; a non-finite sample counts as silence.
float detectorLevel(float sample) {
    const float level = std::fabs(sample);
    return level <= FLT_MAX ? level : 0.0f;
}

float finiteOrZero(float sample) {
    return isFiniteSample(sample) ? sample : 0.0f;
}

float saturated(float sample, float level, float divisor) {
    return finiteOrZero(arctangent(Lanes(level * sample)).first() / divisor);
}

// Modes 2 and 3 on one sample of line i. The gain envelope keeps the level the gain divides by,
// as in the look-ahead mode, so either mode can take over from the other.
float limitedPeak(EngineState& state, int i, float sample, float level, bool instantAttack,
                  float attack, float release) {
    const float a = detectorLevel(sample);
    float& envelope = state.fEnv[i];
    if (a > envelope) {
        envelope = instantAttack ? a : envelope + (a - envelope) * attack;
    } else {
        envelope += (a - envelope) * release;
    }
    if (envelope < level) {
        envelope = level;
    }
    state.fGainEnv[i] = envelope;
    return finiteOrZero(sample * (level / envelope));
}

} // namespace

void Limiter::place(EngineState& state, Placement& placement) noexcept {
    const std::int32_t lookAhead = loadRelaxed(state.iLookAhead);
    for (int i = 0; i < kLines; ++i) {
        const std::int32_t length = loadRelaxed(state.iDelaySamples[i]);
        const std::int32_t lag =
            lookAhead > length ? length : (lookAhead < -length ? -length : lookAhead);
        placement.lag[i] = lag;
        placement.owed[i] = 0;
        const std::int32_t write = state.iWritePos[i];
        const std::int32_t position = wrapped(write - lag, length);
        const std::int32_t last = state.iLimiterPos[i];
        if (last >= 0) {
            // Positions past a ring that has shrunk go on at 0, as a step from them would.
            const std::int32_t head = write < length ? write : length - 1;
            const std::int32_t from = last < length ? last : length - 1;
            const std::int32_t owed =
                wrapped(head - from, length) - wrapped(head - position, length);
            if (owed > 0) {
                placement.owed[i] = owed;
                state.iLimiterPos[i] = from;
                continue;
            }
        }
        state.iLimiterPos[i] = position;
    }
}

void Limiter::catchUp(EngineState& state, Placement& placement, std::int32_t length) noexcept {
    if ((placement.owed[0] | placement.owed[1] | placement.owed[2] | placement.owed[3]) == 0) {
        return;
    }
    const float level = loadRelaxed(state.fLimit);
    const std::int32_t mode = loadRelaxed(state.iLimiterMode);
    const float attack = loadRelaxed(state.fAttackCoef);
    const float release = loadRelaxed(state.fReleaseCoef);
    const float divisor = saturationDivisor(static_cast<Mode>(mode), level);
    for (int i = 0; i < kLines; ++i) {
        std::int32_t count = placement.owed[i] < length ? placement.owed[i] : length;
        placement.owed[i] -= count;
        std::int32_t& position = state.iLimiterPos[i];
        for (; count > 0; --count) {
            position = advance(position, loadRelaxed(state.iDelaySamples[i]));
            float& s = state.pDelayBuffer[i][position];
            switch (mode) {
            case LookAhead: {
                // The detector never saw these samples: the gain as it stands, or the one that
                // brings a louder sample to the level.
                const float a = detectorLevel(s);
                s = finiteOrZero(s * level / (a > state.fGainEnv[i] ? a : state.fGainEnv[i]));
                break;
            }
            case HardLimit:
                s = limitedPeak(state, i, s, level, true, 0.0f, release);
                break;
            case Envelope:
                s = limitedPeak(state, i, s, level, false, attack, release);
                break;
            default:
                s = saturated(s, level, divisor);
                break;
            }
        }
    }
}

void Limiter::run(EngineState& state, std::int32_t length) noexcept {
    catchUp(state, placement, length);
    const float level = loadRelaxed(state.fLimit);
    switch (loadRelaxed(state.iLimiterMode)) {
    case HardSaturation:
        saturate(state, length, level, saturationDivisor(HardSaturation, level));
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
        saturate(state, length, level, saturationDivisor(SoftSaturation, level));
        break;
    }
}

void Limiter::saturate(EngineState& state, std::int32_t length, float level,
                       float divisor) noexcept {
    for (std::int32_t n = 0; n < length; ++n) {
        for (int i = 0; i < kLines; ++i) {
            std::int32_t& position = state.iLimiterPos[i];
            position = advance(position, loadRelaxed(state.iDelaySamples[i]));
            float& s = state.pDelayBuffer[i][position];
            s = saturated(s, level, divisor);
        }
    }
}

void Limiter::limitPeaks(EngineState& state, std::int32_t length, float level, bool instantAttack,
                         float attack, float release) noexcept {
    for (std::int32_t n = 0; n < length; ++n) {
        for (int i = 0; i < kLines; ++i) {
            std::int32_t& position = state.iLimiterPos[i];
            position = advance(position, loadRelaxed(state.iDelaySamples[i]));
            float& s = state.pDelayBuffer[i][position];
            s = limitedPeak(state, i, s, level, instantAttack, attack, release);
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
            std::int32_t& position = state.iLimiterPos[i];
            position = advance(position, ring);
            const float a = detectorLevel(state.pDelayBuffer[i][detector[i]]);
            const std::int32_t lag = placement.lag[i];
            if (a > state.fEnv[i]) {
                // Ramp the gain envelope up to the peak over the lag, arriving with the peak.
                state.iHold[i] = lag;
                if (lag > 0) {
                    state.fGainSlope[i] = (a - state.fGainEnv[i]) / lag;
                }
                state.fEnv[i] = a;
            } else if (state.iHold[i] > 0) {
                state.fGainEnv[i] += state.fGainSlope[i];
                state.iHold[i] -= 1;
            } else {
                state.fEnv[i] += (level - state.fEnv[i]) * release;
                state.fGainEnv[i] = state.fEnv[i];
            }
            float& s = state.pDelayBuffer[i][position];
            s = finiteOrZero(s * level / state.fGainEnv[i]);
        }
    }
}

} // namespace engine
