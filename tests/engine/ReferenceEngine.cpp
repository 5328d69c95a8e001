// The reference model's parameters, derived values and lifecycle.
#include "ReferenceEngine.h"

#include "engine/ParameterIndex.h"

#include <algorithm>
#include <cmath>

using namespace engine;

namespace PI = ParameterIndex;

namespace {

constexpr int kMinimumDelay = 64;

float quantised(float value, double steps) {
    const double step = static_cast<float>(1.0 / steps);
    return static_cast<float>(std::trunc(static_cast<double>(value) * steps) * step);
}

} // namespace

ReferenceEngine::ReferenceEngine() {
    for (auto& line : pDelayBuffer) {
        line.assign(static_cast<std::size_t>(iBufferSize), 0.0f);
    }
    updateEngine();
}

float ReferenceEngine::lineParameter(int line, int offset) const {
    return fParameter[PI::line(line, offset)];
}

void ReferenceEngine::setParameter(int index, float value) {
    if (index == PI::kCommandResetEngine) {
        resetEngine();
    } else if (index >= 0 && index < PI::kNumParameters) {
        const bool isDelay = index >= PI::kFirstLine &&
                             (index - PI::kFirstLine) % 12 == PI::Delay &&
                             index < PI::kFirstLine + 4 * PI::kLineStride;
        if (index == PI::fSyncBPM) {
            value = quantised(value, 2560.0);
        } else if (isDelay) {
            value = quantised(value, 2000.0);
        }
        fParameter[index] = value;
    }
    updateEngine();
}

float ReferenceEngine::getParameter(int index) const {
    if (index >= 0 && index < PI::kNumParameters) {
        return fParameter[index];
    }
    switch (index) {
    case PI::kQueryCurrentStep:
        return static_cast<float>(iCurrentStep);
    case PI::kQueryStepShift:
        return fStepShiftSteps;
    case PI::kQueryDelayMs0:
    case PI::kQueryDelayMs0 + 1:
    case PI::kQueryDelayMs0 + 2:
    case PI::kQueryDelayMs0 + 3:
        return fDelayMs[index - PI::kQueryDelayMs0];
    case PI::kQueryTempo:
        return static_cast<float>(dTempo);
    case PI::kQueryLimit:
        return fLimit;
    case PI::kQuerySongPosition:
        return static_cast<float>(dSongPos);
    default:
        return 0.0f;
    }
}

void ReferenceEngine::updateEngine() {
    const double e = dSampleRate * 0.001;
    for (int i = 0; i < kLines; ++i) {
        fDelayMs[i] = std::trunc(lineParameter(i, PI::Delay) * 2000.0f);
        int samples = static_cast<int>(std::trunc(e * fDelayMs[i]));
        if (samples >= iBufferSize) {
            samples = iBufferSize - 1;
        }
        if (samples < kMinimumDelay) {
            samples = kMinimumDelay;
        }
        iDelaySamples[i] = samples;
        for (int j = 0; j < kLines; ++j) {
            fMatrixGain[i][j] = lineParameter(i, PI::Feedback0 + j) * 1.8f - 0.9f;
        }
        for (int d = 0; d < 2; ++d) {
            for (int k = 0; k < 2; ++k) {
                fLfoAmount[k][d][i] = 2.0f * fParameter[PI::lfoAmount(k, d, i)] - 1.0f;
            }
            fStepAmount[d][i] = 2.0f * fParameter[PI::stepAmount(d, i)] - 1.0f;
        }
    }

    const float c = fParameter[PI::fCompSense];
    const float attackLimiter = static_cast<float>(1.0f / ((1.0f + 99.0f * c) * e));
    const float releaseLimiter = static_cast<float>(1.0f / ((51.0f + 898.0f * (0.5f - c)) * e));
    if (c == 0.0f) {
        iLimiterMode = 0;
        fAttackCoef = fReleaseCoef = static_cast<float>(1.0f / e);
    } else if (c < 0.5f) {
        iLimiterMode = 1;
        fAttackCoef = attackLimiter;
        fReleaseCoef = releaseLimiter;
    } else if (c == 0.5f) {
        iLimiterMode = 2;
        fAttackCoef = attackLimiter;
        fReleaseCoef = static_cast<float>(1.0f / (10.0f * e));
    } else if (c < 1.0f) {
        iLimiterMode = 3;
        const float t = c - 0.5f;
        fAttackCoef = static_cast<float>(1.0f / ((1.0f + 99.0f * t) * e));
        fReleaseCoef = static_cast<float>(1.0f / ((51.0f + 898.0f * t) * e));
    } else {
        iLimiterMode = 4;
        fAttackCoef = attackLimiter;
        fReleaseCoef = releaseLimiter;
    }
    iLookAhead = static_cast<int>(std::trunc((0.5f - c) * e * 100.0f));

    const float f = fParameter[PI::fFeedbackLimit];
    fLimit = 0.25f + f * (0.25f + 2.5f * f);
    iFiltAfterDelay = fParameter[PI::fRouting] >= 0.5f ? 1 : 0;
    iNumSteps = 2 + static_cast<int>(std::trunc(14.0f * fParameter[PI::fNumSteps]));
    fStepShiftSteps = static_cast<float>(iNumSteps) * fParameter[PI::fStepShift];

    const float sync = fParameter[PI::fSyncBPM];
    dTempo = sync == 0.0f ? 0.0 : std::trunc((4.0f + 256.0f * sync) * 10.0f) * 0.1f;
}

void ReferenceEngine::clearLines() {
    for (int i = 0; i < kLines; ++i) {
        std::fill(pDelayBuffer[i].begin(), pDelayBuffer[i].end(), 0.0f);
        iWritePos[i] = 0;
        iLimiterPos[i] = -1;
        fSvfBand[i] = 0.0f;
        fSvfLow[i] = 0.0f;
    }
}

void ReferenceEngine::resume(float sampleRate) {
    dSampleRate = sampleRate;
    if (dSampleRate < 10000.0) {
        dSampleRate = 48000.0;
    }
    const int needed = static_cast<int>(std::trunc(2.0 * dSampleRate));
    if (iBufferSize < needed) {
        iBufferSize = needed;
        for (auto& line : pDelayBuffer) {
            line.assign(static_cast<std::size_t>(iBufferSize), 0.0f);
        }
    }
    updateEngine();
    clearLines();
    dSongPos = 0.0;
    for (float& envelope : fEnv) {
        envelope = fLimit;
    }
}

void ReferenceEngine::suspend() {
    clearLines();
}

void ReferenceEngine::resetEngine() {
    clearLines();
    for (int i = 0; i < kLines; ++i) {
        fGainEnv[i] = 1.0f;
        fEnv[i] = fLimit;
    }
}
