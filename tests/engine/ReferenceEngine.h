// A plain, direct model of the audio engine, written apart from the real one and used as the
// oracle it is compared with sample by sample. Every member keeps the width the engine's
// definition gives it (float, double or int32); nothing is optimised or guarded beyond
// parameters in 0..1, finite input and finite host time. Its saturation uses the engine's own
// arctangent, the one function the engine defines rather than takes from the library: in a
// saturating loop with a gain above one, any last-bit difference grows past every tolerance.
//
// Lifecycle as the real engine: construction and resume() allocate; process() does not.
#pragma once

#include "engine/Transport.h"

#include <array>
#include <cstdint>
#include <vector>

class ReferenceEngine {
public:
    ReferenceEngine();

    // Stores the value (quantised for the tempo and the four delay times) and recomputes.
    void setParameter(int index, float value);
    // Parameter values for 0..110, engine quantities for the display queries, else 0.
    float getParameter(int index) const;

    void updateEngine();
    void resume(float sampleRate);
    void suspend();
    void resetEngine();

    // One block; sampleRate is the host-set base rate (filters, modulation speed).
    void process(float** inputs, float** outputs, std::int32_t sampleFrames,
                 engine::OutputMode mode, float sampleRate, engine::TransportSource* transport);

    int delaySamples(int line) const { return iDelaySamples[line]; }
    int writePosition(int line) const { return iWritePos[line]; }
    float limiterEnvelope(int line) const { return fEnv[line]; }
    float gainEnvelope(int line) const { return fGainEnv[line]; }
    const std::vector<float>& delayLine(int line) const { return pDelayBuffer[line]; }

private:
    static constexpr int kLines = 4;
    static constexpr int kSubBlock = 64;

    // One modulation pair: where a source writes (one target per line) and what it starts from.
    struct Route {
        float* target[kLines] = {nullptr, nullptr, nullptr, nullptr};
        const float* base[kLines] = {nullptr, nullptr, nullptr, nullptr};
    };

    struct BlockState {
        float mix = 0.0f;
        float balance[kLines] = {};
        float cutoff[kLines] = {};
        float reso[kLines] = {};
        float resoBase[kLines] = {};
        float level[kLines] = {};
        float pan[kLines] = {};
        float send[kLines] = {};
        float lfo2Amount[2][kLines] = {};
        int filterType[kLines] = {};
        float resonanceFactor[kLines] = {};
        double phase[3] = {}; // LFO 1, sequencer, LFO 2
        float increment[3] = {};
        float lfoValue[2][kLines] = {};
        Route lfoRoute[2][2];
        Route stepRoute[2];
        int lag[kLines] = {};
        int limiterPos[kLines] = {};
        int owed[kLines] = {}; // positions the limiter has yet to catch up on
    };

    float parameter(int index) const { return fParameter[index]; }
    float lineParameter(int line, int offset) const;
    void clearLines();
    void establishTime(BlockState& block, std::int32_t sampleFrames, float sampleRate,
                       engine::TransportSource* transport, double& tempo);
    void resolveRoute(Route& route, int destination, BlockState& block);
    void updateModulation(BlockState& block);
    void updateLfo(BlockState& block, int lfo);
    void applyLfo(BlockState& block, int lfo, const Route& route, const float* amount);
    void updateSequencer(BlockState& block);
    void setFilterTargets(const BlockState& block, float targetF[], float targetQ[],
                          float sampleRate) const;
    float filterSample(int line, int type, float x);
    float filterIteration(int line, int type, float x);
    void runLimiter(BlockState& block, int frames);
    float limitSample(int line, float s);

    int iBufferSize = 96000;
    std::array<float, 111> fParameter{};
    std::array<std::vector<float>, kLines> pDelayBuffer;
    int iWritePos[kLines] = {};
    int iDelaySamples[kLines] = {64, 64, 64, 64};
    float fMatrixGain[kLines][kLines] = {};
    float fLfoAmount[2][2][kLines] = {};
    float fStepAmount[2][kLines] = {};
    float fSvfF[kLines] = {};
    float fSvfQ[kLines] = {};
    float fSvfBand[kLines] = {};
    float fSvfLow[kLines] = {};
    float fPanR[kLines] = {};
    float fPanL[kLines] = {};
    float fSend[kLines] = {};
    float fLevel[kLines] = {0.5f, 0.5f, 0.5f, 0.5f};
    int iLimiterMode = 0;
    float fAttackCoef = 0.0f;
    float fReleaseCoef = 0.0f;
    float fLimit = 0.0f;
    int iLookAhead = 0;
    int iLimiterPos[kLines] = {-1, -1, -1, -1}; // where the last block's limiter stopped
    int iHold[kLines] = {};
    float fEnv[kLines] = {1.0f, 1.0f, 1.0f, 1.0f};
    float fGainEnv[kLines] = {1.0f, 1.0f, 1.0f, 1.0f};
    float fGainSlope[kLines] = {};
    float fDelayMs[kLines] = {};
    double dTempo = 120.0;
    double dSongPos = 0.0;
    double dSampleRate = 48000.0;
    float fStepShiftSteps = 0.0f;
    int iNumSteps = 2;
    int iCurrentStep = 0;
    float fDenormal = 1e-13f;
    int iFiltAfterDelay = 0;
};
