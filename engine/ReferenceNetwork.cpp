#include "engine/ReferenceNetwork.h"

#include "engine/SafeConversion.h"

namespace engine {

namespace PI = ParameterIndex;
using SafeConversion::isFiniteSample;
using SafeConversion::unitRange;

namespace {

constexpr float kRampFraction = DelayNetwork::kRampFraction;

} // namespace

void ReferenceNetwork::process(EngineState& state, float** inputs, float** outputs,
                               std::int32_t frames, OutputMode mode, float sampleRate,
                               TransportSource* transport) noexcept {
    if (!DelayNetwork::admitBlock(state, inputs, outputs, frames, mode, sampleRate)) {
        return;
    }

    mix = unitRange(state.parameter(PI::fDryWetMix));
    for (int i = 0; i < kLines; ++i) {
        balance[i] = unitRange(state.parameter(PI::line(i, PI::InLR)));
    }
    modulation.beginBlock(state, frames, DelayNetwork::subBlockDivisor(frames), sampleRate,
                          transport);
    for (int i = 0; i < kLines; ++i) {
        filters[i].begin(state.fSvfBand[i], state.fSvfLow[i],
                         LineFilter::typeFor(state.parameter(PI::line(i, PI::Filt))));
    }
    limiter.beginBlock(state);

    for (std::int32_t done = 0; done < frames;) {
        const std::int32_t length = frames - done < DelayNetwork::kSubBlockLength
                                        ? frames - done
                                        : DelayNetwork::kSubBlockLength;
        modulation.update(state);
        setRamps(state, sampleRate);
        const bool filterAfterDelay = loadRelaxed(state.iFiltAfterDelay) != 0;
        const bool accumulate = mode == OutputMode::Accumulate;
        if (filterAfterDelay) {
            accumulate ? runSamples<true, true>(state, inputs, outputs, done, length)
                       : runSamples<true, false>(state, inputs, outputs, done, length);
        } else {
            accumulate ? runSamples<false, true>(state, inputs, outputs, done, length)
                       : runSamples<false, false>(state, inputs, outputs, done, length);
        }
        limiter.run(state, length);
        done += length;
    }

    // Absurdly large (finite) input can overflow a filter; it starts the next block afresh.
    for (int i = 0; i < kLines; ++i) {
        const bool finite = isFiniteSample(filters[i].band()) && isFiniteSample(filters[i].low());
        state.fSvfBand[i] = finite ? filters[i].band() : 0.0f;
        state.fSvfLow[i] = finite ? filters[i].low() : 0.0f;
    }
    modulation.endBlock(state, frames);
}

void ReferenceNetwork::setRamps(const EngineState& state, float sampleRate) noexcept {
    for (int i = 0; i < kLines; ++i) {
        const LineFilter::Coefficients target = LineFilter::targets(
            modulation.working(Modulation::Cutoff, i), modulation.working(Modulation::Resonance, i),
            filters[i].filterType(), sampleRate);
        const float pan = modulation.working(Modulation::Pan, i);
        frequencyStep[i] = (target.frequency - state.fSvfF[i]) * kRampFraction;
        dampingStep[i] = (target.damping - state.fSvfQ[i]) * kRampFraction;
        panRightStep[i] = (pan - state.fPanR[i]) * kRampFraction;
        panLeftStep[i] = ((1.0f - pan) - state.fPanL[i]) * kRampFraction;
        sendStep[i] = (modulation.working(Modulation::Send, i) - state.fSend[i]) * kRampFraction;
        levelStep[i] = (modulation.working(Modulation::Level, i) - state.fLevel[i]) * kRampFraction;
    }
}

template <bool FilterAfterDelay, bool Accumulate>
void ReferenceNetwork::runSamples(EngineState& state, float* const* inputs, float* const* outputs,
                                  std::int32_t offset, std::int32_t count) noexcept {
    float frequency[kLines], damping[kLines], panRight[kLines], panLeft[kLines], send[kLines],
        level[kLines];
    float* line[kLines];
    std::int32_t position[kLines];
    for (int i = 0; i < kLines; ++i) {
        frequency[i] = state.fSvfF[i];
        damping[i] = state.fSvfQ[i];
        panRight[i] = state.fPanR[i];
        panLeft[i] = state.fPanL[i];
        send[i] = state.fSend[i];
        level[i] = state.fLevel[i];
        line[i] = state.pDelayBuffer[i].get();
        position[i] = state.iWritePos[i];
    }
    float denormal = state.fDenormal;
    float* inLeft = inputs[0] + offset;
    float* inRight = inputs[1] + offset;
    float* outLeft = outputs[0] + offset;
    float* outRight = outputs[1] + offset;

    for (std::int32_t n = 0; n < count; ++n) {
        // A non-finite input sample is taken as silence, so it cannot poison the lines.
        const float xLeft = (isFiniteSample(inLeft[n]) ? inLeft[n] : 0.0f) + denormal;
        const float xRight = (isFiniteSample(inRight[n]) ? inRight[n] : 0.0f) + denormal;
        inLeft[n] = xLeft;
        inRight[n] = xRight;
        denormal = -denormal;

        float filtered[kLines], delayed[kLines], y[kLines], u[kLines];
        for (int i = 0; i < kLines; ++i) {
            frequency[i] += frequencyStep[i];
            damping[i] += dampingStep[i];
            panRight[i] += panRightStep[i];
            panLeft[i] += panLeftStep[i];
            send[i] += sendStep[i];
            level[i] += levelStep[i];
            // The length may have shrunk on another thread since the last sample.
            ++position[i];
            if (position[i] >= loadRelaxed(state.iDelaySamples[i])) {
                position[i] = 0;
            }
            u[i] = xLeft + (xRight - xLeft) * balance[i];
            if (FilterAfterDelay) {
                delayed[i] = line[i][position[i]];
                filtered[i] = filters[i].sample(delayed[i], frequency[i], damping[i]);
                y[i] = level[i] * filtered[i];
            } else {
                filtered[i] = filters[i].sample(u[i], frequency[i], damping[i]);
                delayed[i] = line[i][position[i]];
                y[i] = level[i] * ((1.0f - send[i]) * filtered[i] + delayed[i]);
            }
        }
        // Every line reads the same sample's values before any line is written.
        const float* fed = FilterAfterDelay ? filtered : delayed;
        for (int i = 0; i < kLines; ++i) {
            const float input = FilterAfterDelay ? u[i] : filtered[i];
            line[i][position[i]] = loadRelaxed(state.fMatrixGain[i][0]) * fed[0] + send[i] * input +
                                   loadRelaxed(state.fMatrixGain[i][1]) * fed[1] +
                                   loadRelaxed(state.fMatrixGain[i][2]) * fed[2] +
                                   loadRelaxed(state.fMatrixGain[i][3]) * fed[3];
        }

        const float wetLeft =
            panLeft[0] * y[0] + panLeft[1] * y[1] + panLeft[2] * y[2] + panLeft[3] * y[3];
        const float wetRight =
            panRight[0] * y[0] + panRight[1] * y[1] + panRight[2] * y[2] + panRight[3] * y[3];
        const float left = xLeft + (wetLeft - xLeft) * mix;
        const float right = xRight + (wetRight - xRight) * mix;
        if (Accumulate) {
            outLeft[n] += left;
            outRight[n] += right;
        } else {
            outLeft[n] = left;
            outRight[n] = right;
        }
    }

    for (int i = 0; i < kLines; ++i) {
        state.fSvfF[i] = frequency[i];
        state.fSvfQ[i] = damping[i];
        state.fPanR[i] = panRight[i];
        state.fPanL[i] = panLeft[i];
        state.fSend[i] = send[i];
        state.fLevel[i] = level[i];
        state.iWritePos[i] = position[i];
    }
    state.fDenormal = denormal;
}

} // namespace engine
