#include "engine/LimiterLanes.h"

#include "engine/Arctangent.h"
#include "engine/Lanes.h"

namespace engine {

namespace {

// |sample| for the detectors; a non-finite sample counts as silence.
Lanes detectorLevel(Lanes sample) {
    return finiteOrZero(sample.magnitude());
}

} // namespace

VELTRANE_LANE_LOOPS void LimiterLanes::saturate(EngineState& state, const RingRuns (&runs)[kLines],
                                                float level, float divisor) noexcept {
    // Dividing by 1 changes nothing; a result is at most pi/2 / 0.25, never infinite.
    if (divisor == 1.0f) {
        saturateRuns(state, runs,
                     [drive = Lanes(level)](Lanes s) { return nanToZero(arctangent(drive * s)); });
    } else {
        saturateRuns(state, runs, [drive = Lanes(level), scale = Lanes(divisor)](Lanes s) {
            return nanToZero(arctangent(drive * s) / scale);
        });
    }
}

template <typename Saturation>
void LimiterLanes::saturateRuns(EngineState& state, const RingRuns (&runs)[kLines],
                                Saturation saturated) noexcept {
    float* starts[2 * kLines];
    std::int32_t counts[2 * kLines];
    for (int i = 0; i < kLines; ++i) {
        float* line = state.pDelayBuffer[i].get();
        starts[2 * i] = line + runs[i].start;
        counts[2 * i] = runs[i].firstCount;
        starts[2 * i + 1] = line;
        counts[2 * i + 1] = runs[i].secondCount;
    }
    for (int run = 0; run < 2 * kLines; ++run) {
        float* s = starts[run];
        const std::int32_t count = counts[run];
        if (count < Lanes::kCount) {
            for (std::int32_t n = 0; n < count; ++n) {
                s[n] = saturated(Lanes(s[n])).first();
            }
            continue;
        }
        // The last four samples are taken before any is rewritten, and put back last: where
        // they overlap the whole groups they get the same values again.
        const bool ragged = count % Lanes::kCount != 0;
        const Lanes last =
            ragged ? saturated(Lanes::loadUnaligned(s + count - Lanes::kCount)) : Lanes();
        for (std::int32_t n = 0; n + Lanes::kCount <= count; n += Lanes::kCount) {
            saturated(Lanes::loadUnaligned(s + n)).storeUnaligned(s + n);
        }
        if (ragged) {
            last.storeUnaligned(s + count - Lanes::kCount);
        }
    }
}

VELTRANE_LANE_LOOPS void LimiterLanes::limitPeaks(EngineState& state, std::int32_t length,
                                                  float level, bool instantAttack, float attack,
                                                  float release) noexcept {
    const Lanes limit(level);
    const Lanes attackCoef(attack);
    const Lanes releaseCoef(release);
    Lanes envelope = Lanes::loadUnaligned(state.fEnv);
    for (std::int32_t n = 0; n < length; ++n) {
        const Lanes s = gains.at(n);
        const Lanes a = detectorLevel(s);
        const Mask rising = a > envelope;
        const Lanes toward = envelope + (a - envelope) * select(rising, attackCoef, releaseCoef);
        envelope = raiseTo(instantAttack ? select(rising, a, toward) : toward, limit);
        gains.set(n, finiteOrZero(s * (limit / envelope)));
    }
    envelope.storeUnaligned(state.fEnv);
    // The level the gain divides by, as the look-ahead mode keeps it.
    envelope.storeUnaligned(state.fGainEnv);
}

VELTRANE_LANE_LOOPS void LimiterLanes::lookAhead(EngineState& state, std::int32_t length,
                                                 const std::int32_t (&reach)[kLines], float level,
                                                 float release) noexcept {
    const Lanes limit(level);
    const Lanes releaseCoef(release);
    const std::int32_t(&lag)[kLines] = placement.lag;
    const IntLanes lagSamples(lag[0], lag[1], lag[2], lag[3]);
    const Lanes lagLength = lagSamples.toFloat();
    const Mask hasLag = lagSamples > IntLanes(0);
    Lanes envelope = Lanes::loadUnaligned(state.fEnv);
    Lanes gain = Lanes::loadUnaligned(state.fGainEnv);
    Lanes slope = Lanes::loadUnaligned(state.fGainSlope);
    IntLanes hold = IntLanes::loadUnaligned(state.iHold);
    const bool reaches = reach[0] > 0 || reach[1] > 0 || reach[2] > 0 || reach[3] > 0;
    for (std::int32_t n = 0; n < length; ++n) {
        const Lanes a = detectorLevel(detectors.at(n));
        // A new peak ramps the gain envelope up to it over the lag, arriving with the peak;
        // otherwise the ramp goes on, or the envelope releases toward the level.
        const Mask peak = a > envelope;
        const Mask holding = Mask::andNot(hold > IntLanes(0), peak);
        const Mask releasing = Mask::andNot(Mask::andNot(Mask::all(), peak), holding);
        slope = select(peak & hasLag, (a - gain) / lagLength, slope);
        hold = select(peak, lagSamples, select(holding, hold - IntLanes(1), hold));
        const Lanes released = envelope + (limit - envelope) * releaseCoef;
        envelope = select(peak, a, select(releasing, released, envelope));
        gain = select(holding, gain + slope, select(releasing, released, gain));
        gains.set(n, finiteOrZero(gains.at(n) * limit / gain));
        for (int i = 0; i < kLines && reaches; ++i) {
            if (reach[i] > 0 && n + reach[i] < length) {
                detectors.sample(n + reach[i], i) = gains.sample(n, i);
            }
        }
    }
    envelope.storeUnaligned(state.fEnv);
    gain.storeUnaligned(state.fGainEnv);
    slope.storeUnaligned(state.fGainSlope);
    hold.storeUnaligned(state.iHold);
}

// Last: a function built twice may not be called before its definition.
void LimiterLanes::run(EngineState& state, std::int32_t length) noexcept {
    Limiter::catchUp(state, placement, length);
    // The lengths hold for the pass; every position of it is a different one.
    std::int32_t ring[kLines];
    RingRuns runs[kLines];
    for (int i = 0; i < kLines; ++i) {
        ring[i] = loadRelaxed(state.iDelaySamples[i]);
        runs[i] = RingRuns::after(state.iLimiterPos[i], length, ring[i]);
        state.iLimiterPos[i] = runs[i].end;
    }
    float* lines[kLines];
    for (int i = 0; i < kLines; ++i) {
        lines[i] = state.pDelayBuffer[i].get();
    }
    const std::int32_t size = loadRelaxed(state.iBufferSize);
    const float level = loadRelaxed(state.fLimit);
    switch (loadRelaxed(state.iLimiterMode)) {
    case Limiter::HardSaturation:
        saturate(state, runs, level, Limiter::saturationDivisor(Limiter::HardSaturation, level));
        return;
    case Limiter::SoftSaturation:
        saturate(state, runs, level, Limiter::saturationDivisor(Limiter::SoftSaturation, level));
        return;
    case Limiter::LookAhead: {
        gains.read(lines, runs, length, size);
        // The detector revisits the samples the per-sample loop has just written.
        RingRuns written[kLines];
        for (int i = 0; i < kLines; ++i) {
            const std::int32_t back = state.iWritePos[i] - length;
            written[i] = RingRuns::after(back < 0 ? back + ring[i] : back, length, ring[i]);
        }
        detectors.read(lines, written, length, size);
        std::int32_t reach[kLines];
        for (int i = 0; i < kLines; ++i) {
            const std::int32_t ahead = (runs[i].start - written[i].start + ring[i]) % ring[i];
            reach[i] = ahead < length ? ahead : 0;
        }
        lookAhead(state, length, reach, level, loadRelaxed(state.fReleaseCoef));
        break;
    }
    case Limiter::HardLimit:
        gains.read(lines, runs, length, size);
        limitPeaks(state, length, level, true, 0.0f, loadRelaxed(state.fReleaseCoef));
        break;
    default:
        gains.read(lines, runs, length, size);
        limitPeaks(state, length, level, false, loadRelaxed(state.fAttackCoef),
                   loadRelaxed(state.fReleaseCoef));
        break;
    }
    gains.write(lines, runs, length);
}

} // namespace engine
