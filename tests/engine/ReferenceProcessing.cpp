// The reference model's block processing: time and modulation, filters, the limiter pass and
// the per-sample loop.
#include "ReferenceEngine.h"

#include "engine/Arctangent.h"
#include "engine/ParameterIndex.h"
#include "engine/Transport.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

using namespace engine;

namespace PI = ParameterIndex;

namespace {

constexpr float kPi = 3.14159265358979f; // the 32-bit float nearest pi
constexpr float kSemitone = 1.0f / 12.0f;
constexpr float kRamp = 1.0f / 64.0f;

// State n of an enumerated value with 'states' states; the product is exact in double.
int enumeration(float value, int states) {
    return static_cast<int>(std::trunc(static_cast<double>(value) * (states - 1)));
}

// Period of an LFO in beats from its division value.
float lfoPeriod(float value) {
    switch (static_cast<int>(std::trunc(4.0f * value))) {
    case 0:
        return 0.25f;
    case 1:
        return 0.5f;
    case 2:
        return 1.0f;
    case 3:
        return 4.0f;
    case 4:
        return 16.0f;
    default:
        return 1.0f;
    }
}

// Cycle of the sequencer in beats: steps times the step length.
float sequencerCycle(float value, int steps) {
    switch (static_cast<int>(std::trunc(4.0f * value))) {
    case 0:
        return static_cast<float>(steps) * 0.25f;
    case 1:
        return static_cast<float>(steps) * 0.5f;
    case 2:
        return static_cast<float>(steps) * 1.0f;
    case 3:
        return static_cast<float>(steps) * 4.0f;
    case 4:
        return static_cast<float>(steps) * 16.0f;
    default:
        return 16.0f;
    }
}

float clampUnit(float value) {
    if (value > 1.0f) {
        value = 1.0f;
    }
    if (value < 0.0f) {
        value = 0.0f;
    }
    return value;
}

int advance(int position, int length) {
    ++position;
    return position >= length ? 0 : position;
}

} // namespace

void ReferenceEngine::establishTime(BlockState& block, std::int32_t sampleFrames, float sampleRate,
                                    TransportSource* transport, double& tempo) {
    if (dTempo < 1.0) {
        HostTransport time;
        if (transport != nullptr && transport->readTransport(time)) {
            dSongPos = time.ppqPos;
            tempo = time.tempo;
            dSampleRate = time.sampleRate;
        } else {
            tempo = 0.0;
        }
    } else {
        tempo = dTempo;
    }

    const float periodLfo1 = lfoPeriod(fParameter[PI::lfo(0, PI::LfoRate)]);
    const float periodLfo2 = lfoPeriod(fParameter[PI::lfo(1, PI::LfoRate)]);
    const float cycle = sequencerCycle(fParameter[PI::fStepTime], iNumSteps);
    const float periods[3] = {periodLfo1, cycle, periodLfo2};

    for (int source = 0; source < 3; ++source) {
        const double x = dSongPos / periods[source];
        double phase = x - std::trunc(x);
        if (source == 1) {
            phase += fStepShiftSteps / static_cast<float>(iNumSteps);
        }
        while (phase < 0.0) {
            phase += 1.0;
        }
        block.phase[source] = phase;
    }

    int subBlocks = sampleFrames / kSubBlock;
    if (subBlocks == 0) {
        subBlocks = 1;
    }
    const float beats = static_cast<float>(sampleFrames * tempo / (60.0f * sampleRate));
    for (int source = 0; source < 3; ++source) {
        block.increment[source] = beats / (periods[source] * static_cast<float>(subBlocks));
    }
}

void ReferenceEngine::resolveRoute(Route& route, int destination, BlockState& block) {
    for (int i = 0; i < kLines; ++i) {
        switch (destination) {
        case 1:
            route.target[i] = &block.cutoff[i];
            route.base[i] = &fParameter[PI::line(i, PI::Freq)];
            break;
        case 2:
            route.target[i] = &block.reso[i];
            route.base[i] = &block.resoBase[i];
            break;
        case 3:
            route.target[i] = &block.level[i];
            route.base[i] = &fParameter[PI::line(i, PI::OutV)];
            break;
        case 4:
            route.target[i] = &block.pan[i];
            route.base[i] = &fParameter[PI::line(i, PI::OutLR)];
            break;
        case 5:
            route.target[i] = &block.send[i];
            route.base[i] = &fParameter[PI::line(i, PI::Damp)];
            break;
        case 6:
            route.target[i] = &block.lfo2Amount[0][i];
            route.base[i] = &fLfoAmount[1][0][i];
            break;
        case 7:
            route.target[i] = &block.lfo2Amount[1][i];
            route.base[i] = &fLfoAmount[1][1][i];
            break;
        default:
            route.target[i] = nullptr;
            route.base[i] = nullptr;
            break;
        }
    }
}

void ReferenceEngine::updateLfo(BlockState& block, int lfo) {
    double& phase = block.phase[lfo == 0 ? 0 : 2];
    phase += block.increment[lfo == 0 ? 0 : 2];
    while (phase >= 1.0) {
        phase -= 1.0;
    }
    const float distance = fParameter[PI::lfo(lfo, PI::LfoDist)];
    float p[kLines];
    p[0] = static_cast<float>(phase + fParameter[PI::lfo(lfo, PI::LfoPhse)]);
    for (int i = 1; i < kLines; ++i) {
        p[i] = p[i - 1] + distance;
    }
    const int wave = static_cast<int>(std::trunc(4.0f * fParameter[PI::lfo(lfo, PI::LfoWave)]));
    float* value = block.lfoValue[lfo];
    for (int i = 0; i < kLines; ++i) {
        const float fraction = p[i] - std::trunc(p[i]);
        switch (wave) {
        case 0:
            value[i] = static_cast<float>(std::sin(static_cast<double>(2.0f * kPi * p[i])) + 1.0f);
            break;
        case 1:
            value[i] = fraction < 0.5f ? 2.0f : 0.0f;
            break;
        case 2:
            value[i] = fraction < 0.5f ? 0.0f : 2.0f;
            break;
        case 3:
            value[i] = 2.0f * fraction;
            break;
        case 4:
            value[i] = 2.0f - 2.0f * fraction;
            break;
        default:
            break;
        }
    }
}

void ReferenceEngine::applyLfo(BlockState& block, int lfo, const Route& route,
                               const float* amount) {
    for (int i = 0; i < kLines; ++i) {
        if (route.target[i] != nullptr) {
            *route.target[i] =
                clampUnit(*route.base[i] + amount[i] * block.lfoValue[lfo][i] * 0.5f);
        }
    }
}

void ReferenceEngine::updateSequencer(BlockState& block) {
    double& phase = block.phase[1];
    phase += block.increment[1];
    while (phase >= 1.0) {
        phase -= 1.0;
    }
    const float position = static_cast<float>(phase * iNumSteps);
    // A phase just below 1 can round onto the cycle's end; it stays in the last step.
    const int s = std::min(static_cast<int>(std::trunc(position)), iNumSteps - 1);
    iCurrentStep = s;
    auto step = [this](int index) {
        return index >= 0 && index < PI::kNumSteps ? fParameter[PI::fStep0 + index] : 0.5f;
    };
    float c = step(s);
    const float blend = fParameter[PI::fBlend];
    if (blend > 0.0f) {
        const int next = s + 1 >= iNumSteps ? 0 : s + 1;
        const float t = (position - static_cast<float>(s)) - (1.0f - blend);
        if (t > 0.0f) {
            c = c + t / blend * (step(next) - c);
        }
    }
    for (int d = 0; d < 2; ++d) {
        const Route& route = block.stepRoute[d];
        for (int i = 0; i < kLines; ++i) {
            if (route.target[i] != nullptr) {
                *route.target[i] = clampUnit(*route.base[i] + c * fStepAmount[d][i]);
            }
        }
    }
}

void ReferenceEngine::updateModulation(BlockState& block) {
    updateLfo(block, 0);
    applyLfo(block, 0, block.lfoRoute[0][0], fLfoAmount[0][0]);
    applyLfo(block, 0, block.lfoRoute[0][1], fLfoAmount[0][1]);
    updateSequencer(block);
    updateLfo(block, 1);
    applyLfo(block, 1, block.lfoRoute[1][0], block.lfo2Amount[0]);
    applyLfo(block, 1, block.lfoRoute[1][1], block.lfo2Amount[1]);
}

void ReferenceEngine::setFilterTargets(const BlockState& block, float targetF[], float targetQ[],
                                       float sampleRate) const {
    for (int i = 0; i < kLines; ++i) {
        const float c = block.cutoff[i];
        const float r = block.reso[i];
        const float k = block.resonanceFactor[i];
        const float fc = static_cast<float>(
            1760.0f * std::pow(2.0, static_cast<double>((127.0f * c - 69.0f) * kSemitone)));
        float F = static_cast<float>(2.0f *
                                     std::sin(static_cast<double>(kPi * fc / (2.0f * sampleRate))));
        // At rates from 12.5 to 25 kHz the highest cutoffs fold the sine below 0; the cap is
        // what such a cutoff means.
        if (F > 0.25f || !(F > 0.0f)) {
            F = 0.25f;
        }
        float qlimit = 2.0f / F - F / 2.0f;
        if (qlimit > 2.0f) {
            qlimit = 2.0f;
        }
        float q = static_cast<float>(2.0f * (1.0f - std::pow(static_cast<double>(r * k), 0.25)));
        if (q >= qlimit) {
            q = qlimit;
        }
        targetF[i] = F;
        targetQ[i] = q;
    }
}

float ReferenceEngine::filterIteration(int line, int type, float x) {
    const float F = fSvfF[line];
    const float q = fSvfQ[line];
    float& b = fSvfBand[line];
    float& l = fSvfLow[line];
    const float notch = x - q * b;
    l = l + F * b;
    const float high = notch - l;
    b = b + F * high;
    switch (type) {
    case 1:
        return l;
    case 2:
        return high;
    case 3:
        return b;
    case 4:
        return notch;
    default:
        return x;
    }
}

float ReferenceEngine::filterSample(int line, int type, float x) {
    const float o1 = filterIteration(line, type, x);
    const float x2 = 0.5f * o1;
    const float o2 = filterIteration(line, type, x2);
    return x2 + 0.5f * o2;
}

// Modes 0, 2, 3 and 4 on one sample of a line; mode 1 only on samples its detector never saw.
float ReferenceEngine::limitSample(int i, float s) {
    const float L = fLimit;
    switch (iLimiterMode) {
    case 0:
        return arctangent(Lanes(L * s)).first() / std::min(L, 1.0f);
    case 4:
        return arctangent(Lanes(L * s)).first() / L;
    case 2:
    case 3: {
        const float a = std::fabs(s);
        if (iLimiterMode == 2 && a > fEnv[i]) {
            fEnv[i] = a;
        } else if (a > fEnv[i]) {
            fEnv[i] += (a - fEnv[i]) * fAttackCoef;
        } else {
            fEnv[i] += (a - fEnv[i]) * fReleaseCoef;
        }
        if (fEnv[i] < L) {
            fEnv[i] = L;
        }
        fGainEnv[i] = fEnv[i];
        return s * (L / fEnv[i]);
    }
    default:
        return s * L / std::max(fGainEnv[i], std::fabs(s));
    }
}

void ReferenceEngine::runLimiter(BlockState& block, int frames) {
    // First the positions a limiter moved closer to the write position has not reached yet.
    for (int i = 0; i < kLines; ++i) {
        const int count = std::min(block.owed[i], frames);
        block.owed[i] -= count;
        for (int n = 0; n < count; ++n) {
            int& lp = block.limiterPos[i];
            lp = advance(lp, iDelaySamples[i]);
            float& s = pDelayBuffer[i][static_cast<std::size_t>(lp)];
            s = limitSample(i, s);
        }
    }
    const float L = fLimit;
    if (iLimiterMode == 1) {
        for (int i = 0; i < kLines; ++i) {
            iWritePos[i] -= frames;
            if (iWritePos[i] < 0) {
                iWritePos[i] += iDelaySamples[i];
            }
        }
    }
    for (int n = 0; n < frames; ++n) {
        for (int i = 0; i < kLines; ++i) {
            std::vector<float>& line = pDelayBuffer[i];
            int& lp = block.limiterPos[i];
            lp = advance(lp, iDelaySamples[i]);
            float& s = line[static_cast<std::size_t>(lp)];
            if (iLimiterMode != 1) {
                s = limitSample(i, s);
                continue;
            }
            iWritePos[i] = advance(iWritePos[i], iDelaySamples[i]);
            const float a = std::fabs(line[static_cast<std::size_t>(iWritePos[i])]);
            const int lag = block.lag[i];
            if (a > fEnv[i]) {
                iHold[i] = lag;
                if (lag != 0) {
                    fGainSlope[i] = (a - fGainEnv[i]) / static_cast<float>(lag);
                }
                fEnv[i] = a;
            } else if (iHold[i] > 0) {
                fGainEnv[i] += fGainSlope[i];
                iHold[i] -= 1;
            } else {
                fEnv[i] += (L - fEnv[i]) * fReleaseCoef;
                fGainEnv[i] = fEnv[i];
            }
            s = s * L / fGainEnv[i];
        }
    }
    for (int i = 0; i < kLines; ++i) {
        iLimiterPos[i] = block.limiterPos[i];
    }
}

void ReferenceEngine::process(float** inputs, float** outputs, std::int32_t sampleFrames,
                              OutputMode mode, float sampleRate, TransportSource* transport) {
    BlockState block;
    block.mix = fParameter[PI::fDryWetMix];
    for (int i = 0; i < kLines; ++i) {
        block.balance[i] = lineParameter(i, PI::InLR);
        block.cutoff[i] = lineParameter(i, PI::Freq);
        block.reso[i] = lineParameter(i, PI::Res);
        block.resoBase[i] = block.reso[i];
        block.level[i] = lineParameter(i, PI::OutV);
        block.pan[i] = lineParameter(i, PI::OutLR);
        block.send[i] = lineParameter(i, PI::Damp);
        block.lfo2Amount[0][i] = fLfoAmount[1][0][i];
        block.lfo2Amount[1][i] = fLfoAmount[1][1][i];
    }

    double tempo = 0.0;
    establishTime(block, sampleFrames, sampleRate, transport, tempo);

    for (int i = 0; i < kLines; ++i) {
        int type = enumeration(lineParameter(i, PI::Filt), 5);
        if (type < 1 || type > 4) {
            type = 0;
        }
        block.filterType[i] = type;
        block.resonanceFactor[i] = type == 1 || type == 4 ? 1.0f : 0.499f;
    }

    for (int d = 0; d < 2; ++d) {
        resolveRoute(block.lfoRoute[0][d], enumeration(fParameter[PI::lfoDestination(0, d)], 8),
                     block);
        int lfo2 = enumeration(fParameter[PI::lfoDestination(1, d)], 6);
        resolveRoute(block.lfoRoute[1][d], lfo2 > 5 ? 0 : lfo2, block);
        resolveRoute(block.stepRoute[d], enumeration(fParameter[PI::stepDestination(d)], 8), block);
    }

    for (int i = 0; i < kLines; ++i) {
        const int length = iDelaySamples[i];
        block.lag[i] = std::max(-length, std::min(iLookAhead, length));
        const int head = std::min(iWritePos[i], length - 1);
        const auto behind = [&](int position) {
            return ((head - position) % length + length) % length;
        };
        const int placed = ((iWritePos[i] - block.lag[i]) % length + length) % length;
        block.limiterPos[i] = placed;
        // A limiter moved closer to the write position goes on from where it stopped.
        if (iLimiterPos[i] >= 0) {
            const int from = std::min(iLimiterPos[i], length - 1);
            if (behind(from) > behind(placed)) {
                block.owed[i] = behind(from) - behind(placed);
                block.limiterPos[i] = from;
            }
        }
        iLimiterPos[i] = block.limiterPos[i];
    }

    int done = 0;
    int remaining = sampleFrames;
    while (remaining > 0) {
        const int frames = remaining < kSubBlock ? remaining : kSubBlock;
        remaining -= frames;

        updateModulation(block);
        float targetF[kLines];
        float targetQ[kLines];
        setFilterTargets(block, targetF, targetQ, sampleRate);
        float incF[kLines], incQ[kLines], incPanR[kLines], incPanL[kLines], incSend[kLines],
            incLevel[kLines];
        for (int i = 0; i < kLines; ++i) {
            incF[i] = (targetF[i] - fSvfF[i]) * kRamp;
            incQ[i] = (targetQ[i] - fSvfQ[i]) * kRamp;
            incPanR[i] = (block.pan[i] - fPanR[i]) * kRamp;
            incPanL[i] = ((1.0f - block.pan[i]) - fPanL[i]) * kRamp;
            incSend[i] = (block.send[i] - fSend[i]) * kRamp;
            incLevel[i] = (block.level[i] - fLevel[i]) * kRamp;
        }

        for (int n = done; n < done + frames; ++n) {
            const float xL = inputs[0][n] + fDenormal;
            const float xR = inputs[1][n] + fDenormal;
            inputs[0][n] = xL;
            inputs[1][n] = xR;
            fDenormal = -fDenormal;

            float u[kLines], f[kLines], d[kLines], y[kLines];
            for (int i = 0; i < kLines; ++i) {
                fSvfF[i] += incF[i];
                fSvfQ[i] += incQ[i];
                fPanR[i] += incPanR[i];
                fPanL[i] += incPanL[i];
                fSend[i] += incSend[i];
                fLevel[i] += incLevel[i];
            }
            for (int i = 0; i < kLines; ++i) {
                iWritePos[i] = advance(iWritePos[i], iDelaySamples[i]);
            }
            for (int i = 0; i < kLines; ++i) {
                u[i] = xL + (xR - xL) * block.balance[i];
            }
            const auto at = [this](int i) -> float& {
                return pDelayBuffer[i][static_cast<std::size_t>(iWritePos[i])];
            };
            const auto& g = fMatrixGain;
            if (iFiltAfterDelay == 0) {
                for (int i = 0; i < kLines; ++i) {
                    f[i] = filterSample(i, block.filterType[i], u[i]);
                    d[i] = at(i);
                    y[i] = fLevel[i] * ((1.0f - fSend[i]) * f[i] + d[i]);
                }
                for (int i = 0; i < kLines; ++i) {
                    at(i) = g[i][0] * d[0] + fSend[i] * f[i] + g[i][1] * d[1] + g[i][2] * d[2] +
                            g[i][3] * d[3];
                }
            } else {
                for (int i = 0; i < kLines; ++i) {
                    d[i] = at(i);
                    f[i] = filterSample(i, block.filterType[i], d[i]);
                    y[i] = fLevel[i] * f[i];
                }
                for (int i = 0; i < kLines; ++i) {
                    at(i) = g[i][0] * f[0] + fSend[i] * u[i] + g[i][1] * f[1] + g[i][2] * f[2] +
                            g[i][3] * f[3];
                }
            }
            const float wetL =
                fPanL[0] * y[0] + fPanL[1] * y[1] + fPanL[2] * y[2] + fPanL[3] * y[3];
            const float wetR =
                fPanR[0] * y[0] + fPanR[1] * y[1] + fPanR[2] * y[2] + fPanR[3] * y[3];
            const float outL = xL + (wetL - xL) * block.mix;
            const float outR = xR + (wetR - xR) * block.mix;
            if (mode == OutputMode::Replace) {
                outputs[0][n] = outL;
                outputs[1][n] = outR;
            } else {
                outputs[0][n] += outL;
                outputs[1][n] += outR;
            }
        }
        runLimiter(block, frames);
        done += frames;
    }

    if (dTempo > 0.0) {
        dSongPos += sampleFrames * dTempo / (60.0f * dSampleRate);
    }
}
