#include "engine/DelayNetwork.h"

#include "engine/SafeConversion.h"

#include <cmath>

namespace engine {

namespace PI = ParameterIndex;
using SafeConversion::isFiniteSample;
using SafeConversion::unitRange;

std::int32_t DelayNetwork::subBlockDivisor(std::int32_t frames) noexcept {
    const std::int32_t whole = frames / kSubBlockLength;
    return whole > 0 ? whole : 1;
}

bool DelayNetwork::buffersUsable(float* const* inputs, float* const* outputs,
                                 std::int32_t frames) noexcept {
    return frames <= 0 || (inputs != nullptr && outputs != nullptr && inputs[0] != nullptr &&
                           inputs[1] != nullptr && outputs[0] != nullptr && outputs[1] != nullptr);
}

void DelayNetwork::passThrough(float* const* inputs, float* const* outputs, std::int32_t frames,
                               OutputMode mode) noexcept {
    for (int channel = 0; channel < 2; ++channel) {
        for (std::int32_t n = 0; n < frames; ++n) {
            const float x = isFiniteSample(inputs[channel][n]) ? inputs[channel][n] : 0.0f;
            outputs[channel][n] = mode == OutputMode::Accumulate ? outputs[channel][n] + x : x;
        }
    }
}

bool DelayNetwork::admitBlock(const EngineState& state, float* const* inputs, float* const* outputs,
                              std::int32_t& frames, OutputMode mode, float& sampleRate) noexcept {
    if (frames < 0) {
        frames = 0;
    }
    if (!buffersUsable(inputs, outputs, frames)) {
        return false;
    }
    if (!state.hasLines()) {
        passThrough(inputs, outputs, frames, mode);
        return false;
    }
    if (!(std::isfinite(sampleRate) && sampleRate > 0.0f)) {
        sampleRate = static_cast<float>(EngineState::kDefaultSampleRate);
    }
    return true;
}

// Before its caller: a function built twice may not be called before its definition.
VELTRANE_LANE_LOOPS void DelayNetwork::runSubBlock(EngineState& state, float* const* inputs,
                                                   float* const* outputs, std::int32_t offset,
                                                   std::int32_t length, OutputMode mode) noexcept {
    // The lengths and gains hold for the sub-block.
    float* lines[kLines];
    RingRuns runs[kLines];
    for (int i = 0; i < kLines; ++i) {
        lines[i] = state.pDelayBuffer[i].get();
        runs[i] = RingRuns::after(state.iWritePos[i], length, loadRelaxed(state.iDelaySamples[i]));
    }
    window.read(lines, runs, length, loadRelaxed(state.iBufferSize));
    takeInputs(state, inputs, offset, length);
    const bool filterAfterDelay = loadRelaxed(state.iFiltAfterDelay) != 0;
    if (mode == OutputMode::Accumulate) {
        filterAfterDelay ? runSamples<true, true>(state, outputs, offset, length)
                         : runSamples<false, true>(state, outputs, offset, length);
    } else {
        filterAfterDelay ? runSamples<true, false>(state, outputs, offset, length)
                         : runSamples<false, false>(state, outputs, offset, length);
    }
    window.write(lines, runs, length);
    for (int i = 0; i < kLines; ++i) {
        state.iWritePos[i] = runs[i].end;
    }
}

void DelayNetwork::process(EngineState& state, float** inputs, float** outputs, std::int32_t frames,
                           OutputMode mode, float sampleRate, TransportSource* transport) noexcept {
    if (!admitBlock(state, inputs, outputs, frames, mode, sampleRate)) {
        return;
    }

    mix = unitRange(state.parameter(PI::fDryWetMix));
    for (int i = 0; i < kLines; ++i) {
        balance[i] = unitRange(state.parameter(PI::line(i, PI::InLR)));
        types[i] = LineFilter::typeFor(state.parameter(PI::line(i, PI::Filt)));
    }
    modulation.beginBlock(state, frames, subBlockDivisor(frames), sampleRate, transport);
    filters.begin(state.fSvfBand, state.fSvfLow, types);
    limiter.beginBlock(state);

    for (std::int32_t done = 0; done < frames;) {
        const std::int32_t length =
            frames - done < kSubBlockLength ? frames - done : kSubBlockLength;
        modulation.update(state);
        setRamps(state, sampleRate);
        runSubBlock(state, inputs, outputs, done, length, mode);
        limiter.run(state, length);
        done += length;
    }

    // Absurdly large (finite) input can overflow a filter; it starts the next block afresh.
    alignas(16) float band[kLines], low[kLines];
    filters.band.store(band);
    filters.low.store(low);
    for (int i = 0; i < kLines; ++i) {
        const bool finite = isFiniteSample(band[i]) && isFiniteSample(low[i]);
        state.fSvfBand[i] = finite ? band[i] : 0.0f;
        state.fSvfLow[i] = finite ? low[i] : 0.0f;
    }
    modulation.endBlock(state, frames);
}

void DelayNetwork::setRamps(const EngineState& state, float sampleRate) noexcept {
    alignas(16) float damping[kLines];
    for (int i = 0; i < kLines; ++i) {
        // The power and sine functions run only for a line whose inputs changed.
        const float cutoff = modulation.working(Modulation::Cutoff, i);
        if (!(cutoff == targetCutoff[i] && sampleRate == targetRate[i])) {
            targetCutoff[i] = cutoff;
            targetRate[i] = sampleRate;
            targetFrequency[i] = LineFilter::frequencyTarget(cutoff, sampleRate);
        }
        const float resonance = modulation.working(Modulation::Resonance, i);
        if (!(resonance == targetResonance[i] && types[i] == targetType[i])) {
            targetResonance[i] = resonance;
            targetType[i] = types[i];
            targetDamping[i] = LineFilter::resonanceDamping(resonance, types[i]);
        }
        damping[i] = LineFilter::limitedDamping(targetFrequency[i], targetDamping[i]);
    }
    const Lanes fraction(kRampFraction);
    const auto step = [&](const float(&target)[kLines], const float(&current)[kLines],
                          float(&increment)[kLines]) {
        ((Lanes::loadUnaligned(target) - Lanes::loadUnaligned(current)) * fraction)
            .store(increment);
    };
    step(targetFrequency, state.fSvfF, frequencyStep);
    step(damping, state.fSvfQ, dampingStep);
    step(modulation.workingRow(Modulation::Pan), state.fPanR, panRightStep);
    alignas(16) float leftShare[kLines];
    (Lanes(1.0f) - Lanes::loadUnaligned(modulation.workingRow(Modulation::Pan))).store(leftShare);
    step(leftShare, state.fPanL, panLeftStep);
    step(modulation.workingRow(Modulation::Send), state.fSend, sendStep);
    step(modulation.workingRow(Modulation::Level), state.fLevel, levelStep);
}

void DelayNetwork::takeInputs(EngineState& state, float* const* inputs, std::int32_t offset,
                              std::int32_t count) noexcept {
    // The offset alternates from sample to sample, the same on both channels; a non-finite
    // input sample is taken as silence, so it cannot poison the lines.
    const float denormal = state.fDenormal;
    float* inLeft = inputs[0] + offset;
    float* inRight = inputs[1] + offset;
    std::int32_t n = 0;
    const Lanes alternating(denormal, -denormal, denormal, -denormal);
    for (; n + Lanes::kCount <= count; n += Lanes::kCount) {
        // Both channels are read before either is written: they may be one buffer.
        const Lanes xLeft = finiteOrZero(Lanes::loadUnaligned(inLeft + n)) + alternating;
        const Lanes xRight = finiteOrZero(Lanes::loadUnaligned(inRight + n)) + alternating;
        xLeft.storeUnaligned(inLeft + n);
        xRight.storeUnaligned(inRight + n);
        xLeft.store(left + n);
        xRight.store(right + n);
    }
    float offsetNow = denormal;
    for (; n < count; ++n) {
        const float xLeft = (isFiniteSample(inLeft[n]) ? inLeft[n] : 0.0f) + offsetNow;
        const float xRight = (isFiniteSample(inRight[n]) ? inRight[n] : 0.0f) + offsetNow;
        inLeft[n] = left[n] = xLeft;
        inRight[n] = right[n] = xRight;
        offsetNow = -offsetNow;
    }
    state.fDenormal = count % 2 == 0 ? denormal : -denormal;
}

template <bool FilterAfterDelay, std::size_t... Kind>
void DelayNetwork::runFiltersOfKind(EngineState& state, std::int32_t count,
                                    std::index_sequence<Kind...>) noexcept {
    const std::size_t kind = static_cast<std::size_t>(filters.kind());
    (void)((kind == Kind && (runFilters<FilterAfterDelay, FilterLanes::kKinds[Kind].first,
                                        FilterLanes::kKinds[Kind].second>(state, count),
                             true)) ||
           ...);
}

template <bool FilterAfterDelay, bool Accumulate>
void DelayNetwork::runSamples(EngineState& state, float* const* outputs, std::int32_t offset,
                              std::int32_t count) noexcept {
    runFiltersOfKind<FilterAfterDelay>(state, count,
                                       std::make_index_sequence<FilterLanes::kNumKinds>());
    mixLines<FilterAfterDelay, Accumulate>(state, outputs, offset, count);
}

template <bool FilterAfterDelay, int First, int Second>
void DelayNetwork::runFilters(EngineState& state, std::int32_t count) noexcept {
    // The one recursion: the filters, sample by sample.
    Lanes frequency = Lanes::loadUnaligned(state.fSvfF);
    Lanes damping = Lanes::loadUnaligned(state.fSvfQ);
    const Lanes frequencyIncrement = Lanes::load(frequencyStep);
    const Lanes dampingIncrement = Lanes::load(dampingStep);
    const Lanes inputBalance = Lanes::load(balance);
    FilterLanes filter = filters;
    for (std::int32_t n = 0; n < count; ++n) {
        frequency += frequencyIncrement;
        damping += dampingIncrement;
        Lanes x;
        if (FilterAfterDelay) {
            x = window.at(n);
        } else {
            const Lanes xLeft(left[n]);
            x = xLeft + (Lanes(right[n]) - xLeft) * inputBalance;
        }
        filter.sample<First, Second>(x, frequency, damping).store(filtered[n]);
    }
    filters = filter;
    frequency.storeUnaligned(state.fSvfF);
    damping.storeUnaligned(state.fSvfQ);
}

template <bool FilterAfterDelay, bool Accumulate>
void DelayNetwork::mixLines(EngineState& state, float* const* outputs, std::int32_t offset,
                            std::int32_t count) noexcept {
    Lanes panRight = Lanes::loadUnaligned(state.fPanR);
    Lanes panLeft = Lanes::loadUnaligned(state.fPanL);
    Lanes send = Lanes::loadUnaligned(state.fSend);
    Lanes level = Lanes::loadUnaligned(state.fLevel);
    const Lanes panRightIncrement = Lanes::load(panRightStep);
    const Lanes panLeftIncrement = Lanes::load(panLeftStep);
    const Lanes sendIncrement = Lanes::load(sendStep);
    const Lanes levelIncrement = Lanes::load(levelStep);
    const Lanes inputBalance = Lanes::load(balance);
    // Column j: the gains into every line from line j.
    Lanes gain[kLines];
    for (int j = 0; j < kLines; ++j) {
        gain[j] = Lanes(loadRelaxed(state.fMatrixGain[0][j]), loadRelaxed(state.fMatrixGain[1][j]),
                        loadRelaxed(state.fMatrixGain[2][j]), loadRelaxed(state.fMatrixGain[3][j]));
    }
    // One sample: what goes back into the lines, and each line's share of either output.
    const auto mixSample = [&](std::int32_t n, Lanes& toLeft, Lanes& toRight) {
        panRight += panRightIncrement;
        panLeft += panLeftIncrement;
        send += sendIncrement;
        level += levelIncrement;
        const Lanes f = Lanes::load(filtered[n]);
        Lanes y, fed, into;
        if (FilterAfterDelay) {
            y = level * f;
            fed = f;
            const Lanes xLeft(left[n]);
            into = xLeft + (Lanes(right[n]) - xLeft) * inputBalance;
        } else {
            fed = window.at(n);
            y = level * ((Lanes(1.0f) - send) * f + fed);
            into = f;
        }
        window.set(n, gain[0] * fed.spread<0>() + send * into + gain[1] * fed.spread<1>() +
                          gain[2] * fed.spread<2>() + gain[3] * fed.spread<3>());
        toLeft = panLeft * y;
        toRight = panRight * y;
    };
    // Four samples at a time: their shares turned into time order, summed in line order, mixed
    // with the dry input.
    const Lanes dryWet(mix);
    float* outLeft = outputs[0] + offset;
    float* outRight = outputs[1] + offset;
    for (std::int32_t n = 0; n < count; n += Lanes::kCount) {
        Lanes l0, l1, l2, l3, r0, r1, r2, r3;
        const std::int32_t samples = count - n < Lanes::kCount ? count - n : Lanes::kCount;
        if (samples == Lanes::kCount) {
            mixSample(n, l0, r0);
            mixSample(n + 1, l1, r1);
            mixSample(n + 2, l2, r2);
            mixSample(n + 3, l3, r3);
        } else {
            Lanes l[Lanes::kCount], r[Lanes::kCount];
            for (std::int32_t k = 0; k < samples; ++k) {
                mixSample(n + k, l[k], r[k]);
            }
            l0 = l[0], l1 = l[1], l2 = l[2], l3 = l[3];
            r0 = r[0], r1 = r[1], r2 = r[2], r3 = r[3];
        }
        transpose(l0, l1, l2, l3);
        transpose(r0, r1, r2, r3);
        const Lanes xLeft = Lanes::load(left + n);
        const Lanes xRight = Lanes::load(right + n);
        Lanes valueLeft = xLeft + ((((l0 + l1) + l2) + l3) - xLeft) * dryWet;
        Lanes valueRight = xRight + ((((r0 + r1) + r2) + r3) - xRight) * dryWet;
        if (samples == Lanes::kCount) {
            if (Accumulate) {
                valueLeft = Lanes::loadUnaligned(outLeft + n) + valueLeft;
                valueRight = Lanes::loadUnaligned(outRight + n) + valueRight;
            }
            valueLeft.storeUnaligned(outLeft + n);
            valueRight.storeUnaligned(outRight + n);
        } else {
            alignas(16) float last[2][Lanes::kCount];
            valueLeft.store(last[0]);
            valueRight.store(last[1]);
            for (std::int32_t k = 0; k < samples; ++k) {
                outLeft[n + k] = Accumulate ? outLeft[n + k] + last[0][k] : last[0][k];
                outRight[n + k] = Accumulate ? outRight[n + k] + last[1][k] : last[1][k];
            }
        }
    }
    panRight.storeUnaligned(state.fPanR);
    panLeft.storeUnaligned(state.fPanL);
    send.storeUnaligned(state.fSend);
    level.storeUnaligned(state.fLevel);
}

} // namespace engine
